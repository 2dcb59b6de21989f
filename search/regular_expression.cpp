#include "search/regular_expression.h"

#include "search/reg_exp_parser_error.h"
#include "search/required_text.h"
#include "search/tre_nfa.h"
#include "search/tre_parser.h"

namespace search {

TRegularExpression::TRegularExpression() {
  cache_.emplace_back(std::string(), nullptr);
  current_ = 0;
  Compile();
}

void TRegularExpression::Compile() {
  const std::string& text = cache_[current_].first;
  if (text.empty()) {
    cache_[current_].second = std::make_unique<TRE_DFA>();
    return;
  }
  try {
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
    TRE_NFA nfa(root, LineHeadCode(), LineTailCode());
    auto dfa = std::make_unique<TRE_DFA>(nfa);
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

void TRegularExpression::SetUseFuzzyCharDic(bool on) {
  pre_processor_.UseFuzzyCharDic = on;
  SetRegExp(std::string(reg_exp_));
}

void TRegularExpression::SetUseSynonymDic(bool on) {
  pre_processor_.UseSynonymDic = on;
  SetRegExp(std::string(reg_exp_));
}

}  // namespace search
