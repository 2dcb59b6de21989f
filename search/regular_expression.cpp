#include "search/regular_expression.h"

#include "search/reg_exp_parser_error.h"
#include "search/required_text.h"
#include "search/tre_nfa.h"
#include "search/tre_parser.h"
#include "search/tre_scanner.h"

namespace search {

TRegularExpression::TRegularExpression() {
  cache_.emplace_back(std::string(), nullptr);
  current_ = 0;
  Compile();
}

namespace {

// Patterns of this length or more that are nothing but fixed words joined by "|" are built
// straight as a trie; shorter ones go the general way, which gives the same matches.
constexpr size_t kWordListFrom = 256;

// The words of a pattern that is nothing but plain characters and "|", none of them empty;
// false for any other pattern (which the general way then compiles, or refuses with its
// message).
bool PlainWords(const std::string& text, std::vector<std::vector<RECode>>& words) {
  words.assign(1, {});
  try {
    TREScanner scanner(text);
    for (;;) {
      REToken token = scanner.GetToken();
      if (token.kind == RETokenKind::kEnd) break;
      if (token.kind == RETokenKind::kAlt) {
        if (words.back().empty()) return false;
        words.emplace_back();
      } else if (token.kind == RETokenKind::kChar) {
        words.back().push_back(token.code);
      } else {
        return false;
      }
    }
  } catch (const ERegExpParser&) {
    return false;
  }
  return !words.back().empty();
}

}  // namespace

void TRegularExpression::Compile() {
  const std::string& text = cache_[current_].first;
  if (text.empty()) {
    cache_[current_].second = std::make_unique<TRE_DFA>();
    return;
  }
  try {
    std::vector<std::vector<RECode>> words;
    if (text.size() >= kWordListFrom && PlainWords(text, words)) {
      auto dfa = TRE_DFA::FromWords(words);
      // The words are the texts to search for when every character is one text can hold.
      std::vector<std::string> required;
      bool sufficient = true;
      for (const std::vector<RECode>& word : words) {
        std::string bytes;
        for (RECode code : word) {
          sufficient = sufficient && IsTextCode(code);
          AppendCode(bytes, code);
        }
        required.push_back(std::move(bytes));
      }
      if (!sufficient) required.clear();
      dfa->SetRequiredTexts(std::move(required), sufficient);
      cache_[current_].second = std::move(dfa);
      return;
    }
    TREScanner scanner(text);
    TREParseTree tree;
    TREParser parser(scanner, tree);
    TRENode* root = parser.Run();
    std::vector<RECode> anchors;
    if (parser.UsesHead()) anchors.insert(anchors.end(), {LineHeadCode(), RECode{'^'}});
    if (parser.UsesTail()) anchors.insert(anchors.end(), {LineTailCode(), RECode{'$'}});
    bool sufficient = false;
    std::vector<std::string> required = RequiredTexts(root, &sufficient);
    tree.Partition(anchors);
    auto dfa = std::make_unique<TRE_DFA>(
        std::make_shared<const TRE_NFA>(root, LineHeadCode(), LineTailCode()));
    dfa->SetRequiredTexts(std::move(required), sufficient);
    cache_[current_].second = std::move(dfa);
  } catch (const ERegExpParser& e) {
    // The size bounds are found after scanning; they point at the end of the pattern.
    if (e.Position() == 0) throw ERegExpParser(e.what(), static_cast<int>(text.size()) + 1);
    throw;
  }
}

void TRegularExpression::SetRegExp(const std::string& pattern) {
  std::string expanded;
  try {
    expanded = pre_processor_.Process(pattern);
  } catch (...) {
    reg_exp_.clear();
    current_ = 0;
    throw;
  }
  for (size_t i = 0; i < cache_.size(); ++i) {
    if (cache_[i].first == expanded) {
      current_ = static_cast<int>(i);
      reg_exp_ = pattern;
      return;
    }
  }
  if (static_cast<int>(cache_.size()) >= kCacheCapacity) cache_.pop_back();
  cache_.emplace(cache_.begin() + 1, expanded, nullptr);
  current_ = 1;
  try {
    Compile();
  } catch (...) {
    cache_.erase(cache_.begin() + 1);
    current_ = 0;
    reg_exp_.clear();
    throw;
  }
  reg_exp_ = pattern;
}

void TRegularExpression::ForgetCompiled() {
  cache_.erase(cache_.begin() + 1, cache_.end());
  current_ = 0;
  reg_exp_.clear();
}

void TRegularExpression::SetUseFuzzyCharDic(bool on) {
  pre_processor_.UseFuzzyCharDic = on;
  SetRegExp(std::string(reg_exp_));
}

void TRegularExpression::SetUseSynonymDic(bool on) {
  pre_processor_.UseSynonymDic = on;
  SetRegExp(std::string(reg_exp_));
}

}  // namespace search
