// The pattern compiler: scanner errors and their positions, classes, anchors, literal detection,
// the cache and the equivalence dictionary.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "search/equivalent_codes.h"
#include "search/reg_exp_parser_error.h"
#include "search/regular_expression.h"
#include "search/tre_parser.h"
#include "search/tre_pre_processor.h"
#include "search/tre_scanner.h"

namespace search {
namespace {

std::string S(const char* utf8) {
  return cp932::FromUtf8(utf8);
}

// Runs the automaton from its initial state over whole characters of `text` and tells whether
// it ends in an accepting state (the whole text matched).
bool FullMatch(const TRE_DFA& dfa, const std::string& text) {
  int state = dfa.Initial();
  for (size_t i = 0; i < text.size() && state >= 0; ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    RECode code = c;
    if (cp932::IsLeadByte(c) && i + 1 < text.size()) {
      code = static_cast<RECode>(c << 8 | static_cast<unsigned char>(text[++i]));
    }
    state = dfa.Next(state, code);
  }
  return state >= 0 && dfa.Accepting(state);
}

bool Full(const std::string& pattern, const std::string& text) {
  TRegularExpression re;
  re.SetRegExp(pattern);
  return FullMatch(re.Automaton(), text);
}

struct ErrorCase {
  std::string pattern;
  const char* message;
  int position;
};

TEST(RegexErrors, EveryMessageWithItsPosition) {
  const std::string lead_at_end = std::string("ab") + '\x82';
  std::vector<ErrorCase> cases = {
      {lead_at_end, "不正な２バイト文字コードです。", 4},
      {"ab\\", "\"\\\"の次には文字が必要です。", 4},
      {"a\\xg", "不正な１６進数コード表記です。", 4},
      {"\\x", "不正な１６進数コード表記です。", 3},
      {"\\200000", "不正な８進数コード表記です。", 8},
      {"[", "右ブラケット\"]\"が必要です", 2},
      {"[abc", "右ブラケット\"]\"が必要です", 5},
      {"[z-a]", "不正なキャラクタ範囲です", 5},
      {"[]", "不正なキャラクタクラス指定です。", 3},
      {"[^]", "不正なキャラクタクラス指定です。", 4},
      {"(ab", "右(閉じ)括弧が必要です", 4},
      {"a**", "普通の文字、または左括弧\"(\"が必要です", 4},
      {"*a", "普通の文字、または左括弧\"(\"が必要です", 2},
      {"a|+", "普通の文字、または左括弧\"(\"が必要です", 4},
      {"]", "普通の文字、または左括弧\"(\"が必要です", 2},
      {"a)", "正規表現に余分な文字があります", 3},
      {"(a))b", "正規表現に余分な文字があります", 5},
  };
  for (const ErrorCase& c : cases) {
    TRegularExpression re;
    re.SetRegExp("abc");
    try {
      re.SetRegExp(c.pattern);
      ADD_FAILURE() << "no error for " << c.pattern;
    } catch (const ERegExpParser& e) {
      EXPECT_STREQ(e.what(), c.message) << c.pattern;
      EXPECT_EQ(e.Position(), c.position) << c.pattern;
    }
    // After the error the empty pattern is current and RegExp is empty.
    EXPECT_EQ(re.RegExp(), "");
    EXPECT_EQ(re.CurrentIndex(), 0);
    EXPECT_EQ(re.CacheCount(), 2) << "the failed entry is removed again";
  }
}

TEST(RegexErrors, OctalAtTheLimitIsAccepted) {
  {
    TRegularExpression re;
    re.SetRegExp("\\177777");  // 0xFFFF: an ordinary code, not the empty transition
    int s = re.Automaton().Next(0, 0xFFFF);
    ASSERT_GE(s, 0);
    EXPECT_TRUE(re.Automaton().Accepting(s));
    EXPECT_FALSE(re.Automaton().Accepting(0));
  }
  EXPECT_TRUE(Full("\\101", "A"));
  EXPECT_TRUE(Full("\\x41", "A"));
  EXPECT_TRUE(Full("\\d", "d"));
  EXPECT_TRUE(Full("\\b", "\b"));
  EXPECT_TRUE(Full("a{2}", "a{2}"));
}

TEST(RegexErrors, ExplodingAutomatonIsKeptIncompleteNotRefused) {
  // (a|b)*a followed by 18 more (a|b) needs 2^18 deterministic states; the construction stops
  // at its bounds, quickly, and the pattern is kept for the nondeterministic matcher.
  std::string pattern = "(a|b)*a";
  for (int i = 0; i < 18; ++i) pattern += "(a|b)";
  TRegularExpression re;
  re.SetRegExp(pattern);
  EXPECT_FALSE(re.Automaton().Complete());
  EXPECT_NE(re.Automaton().Nfa(), nullptr);
  EXPECT_FALSE(re.IsLiteral());
  re.SetRegExp("(a|b)*a(a|b)");
  EXPECT_TRUE(re.Automaton().Complete());
  // A long but plain pattern is fine, however long.
  re.SetRegExp(std::string(3000, 'x'));
  EXPECT_TRUE(re.IsLiteral());
  re.SetRegExp(std::string(100000, 'x'));
  EXPECT_TRUE(re.IsLiteral());
  EXPECT_EQ(re.LiteralText().size(), 100000u);
}

// Nesting costs the parser heap memory, never stack: deep nesting works up to the bound, in
// every form, and deeper nesting is refused with its message at the parenthesis past it.
TEST(RegexErrors, DeepNestingWorksUpToTheBound) {
  struct Case {
    int depth;          // levels of parentheses around the core
    std::string open;   // what opens a level
    std::string close;  // what closes it
    std::string core;
    std::string text;  // matched whole
    bool refused;
  };
  const int bound = TREParser::kMaxDepth;  // levels, the whole pattern being the first
  const std::vector<Case> cases = {
      {400, "(", ")", "a", "a", false},
      {1000, "(", ")", "a", "a", false},
      {1000, "(", ")*", "a", "aaa", false},
      {1000, "(b|", ")", "a", "a", false},
      {1000, "(x", ")", "a", std::string(1000, 'x') + "a", false},
      {1000, "(", ")", S("山田"), S("山田"), false},
      {bound - 1, "(", ")", "a", "a", false},
      {bound, "(", ")", "a", "", true},
      {bound + 5000, "(", ")", "a", "", true},
  };
  for (const Case& c : cases) {
    std::string pattern;
    for (int i = 0; i < c.depth; ++i) pattern += c.open;
    pattern += c.core;
    for (int i = 0; i < c.depth; ++i) pattern += c.close;
    TRegularExpression re;
    if (!c.refused) {
      ASSERT_NO_THROW(re.SetRegExp(pattern)) << c.depth << c.open;
      EXPECT_TRUE(FullMatch(re.Automaton(), c.text)) << c.depth << c.open;
      EXPECT_FALSE(FullMatch(re.Automaton(), c.text + "x")) << c.depth << c.open;
      continue;
    }
    try {
      re.SetRegExp(pattern);
      ADD_FAILURE() << "no error at depth " << c.depth;
    } catch (const ERegExpParser& e) {
      EXPECT_STREQ(e.what(), "括弧の入れ子が深すぎます。");
      // The scanner stands after the token that follows the parenthesis past the bound.
      EXPECT_EQ(e.Position(), bound + 2) << c.depth;
    }
  }
}

// Long alternations of fixed words are built as a trie; they must accept exactly what the
// general construction accepts (the same words in parentheses, which take the general way).
TEST(RegexWordList, TrieAcceptsWhatTheGeneralAutomatonAccepts) {
  std::vector<std::string> words;
  for (int i = 0; i < 120; ++i) words.push_back("w" + std::to_string(i * 7919 % 1000));
  words.push_back(S("会議"));
  words.push_back(S("会"));
  words.push_back("\\x41\\|");  // escapes are plain characters: A and |
  std::string list;
  for (const std::string& w : words) list += (list.empty() ? "" : "|") + w;
  ASSERT_GE(list.size(), 256u);
  TRegularExpression trie, general;
  trie.SetRegExp(list);
  general.SetRegExp("(" + list + ")");
  EXPECT_FALSE(trie.IsLiteral());
  EXPECT_TRUE(trie.Automaton().RequiredTextsSuffice());
  EXPECT_EQ(trie.Automaton().RequiredTexts().size(), words.size());
  const std::vector<std::string> texts = {"w0",    "w7919",     "w919", "w91", "w", S("会議"),
                                          S("会"), S("会議室"), "A|",   "A",   "x", ""};
  for (const std::string& t : texts) {
    EXPECT_EQ(FullMatch(trie.Automaton(), t), FullMatch(general.Automaton(), t)) << t;
  }
  // Words with an empty one, or any other syntax, take the general way.
  TRegularExpression re;
  re.SetRegExp(list + "|");
  EXPECT_FALSE(re.Automaton().RequiredTextsSuffice());
}

TEST(RegexEscapes, HexTakesAtMostFourDigits) {
  // 0x4142 then the digit 4: the code 0x4142 has no character form, so it is not a literal.
  TRegularExpression re;
  re.SetRegExp("\\x41424");
  EXPECT_FALSE(re.IsLiteral());
  EXPECT_TRUE(FullMatch(re.Automaton(), std::string("\x41\x42") + "4") == false);
  const TRE_DFA& dfa = re.Automaton();
  int s = dfa.Next(dfa.Initial(), 0x4142);
  ASSERT_GE(s, 0);
  s = dfa.Next(s, '4');
  ASSERT_GE(s, 0);
  EXPECT_TRUE(dfa.Accepting(s));
  EXPECT_TRUE(Full("\\x4a", "J"));
}

TEST(RegexAnchors, InsideThePatternTheyAreCharacters) {
  EXPECT_TRUE(Full("x^y", "x^y"));
  EXPECT_TRUE(Full("a$b", "a$b"));
  TRegularExpression re;
  re.SetRegExp("x^y");
  EXPECT_TRUE(re.IsLiteral());
  EXPECT_EQ(re.LiteralText(), "x^y");
  // At the edges they take the line-head and line-tail codes.
  re.SetRegExp("^a$");
  const TRE_DFA& dfa = re.Automaton();
  int s = dfa.Next(dfa.Next(dfa.Next(dfa.Initial(), 0xFFFD), 'a'), 0xFFFE);
  ASSERT_GE(s, 0);
  EXPECT_TRUE(dfa.Accepting(s));
  EXPECT_FALSE(re.IsLiteral()) << "0xFFFD is no character of any text";
}

TEST(RegexClasses, HyphenAtTheEdgesOrEscapedIsItself) {
  for (const char* p : {"[-a]", "[a-]", "[a\\-z]"}) {
    EXPECT_TRUE(Full(p, "-")) << p;
    EXPECT_TRUE(Full(p, "a")) << p;
    EXPECT_FALSE(Full(p, "b")) << p;
  }
  EXPECT_TRUE(Full("[a\\-z]", "z"));
  EXPECT_TRUE(Full("[a-c]", "b"));
}

TEST(RegexClasses, DoubleByteRangesAndCharacters) {
  EXPECT_TRUE(Full(S("[ぁ-ん]"), S("ぁ")));
  EXPECT_TRUE(Full(S("[ぁ-ん]"), S("の")));
  EXPECT_TRUE(Full(S("[ぁ-ん]"), S("ん")));
  EXPECT_FALSE(Full(S("[ぁ-ん]"), S("ア")));
  EXPECT_FALSE(Full(S("[ぁ-ん]"), "\x82"));  // half a character is no character
  // The class holds double-byte codes only; its lead byte alone and ASCII are outside.
  EXPECT_FALSE(Full(S("[ぁ-ん]"), "a"));
  TRegularExpression re;
  re.SetRegExp(S("[ぁ-ん]"));
  EXPECT_EQ(re.Automaton().Next(0, 0x82), -1);
  EXPECT_EQ(re.Automaton().Next(0, 0x9F), -1);
  // 'あ' is one character: its bytes are not two characters.
  re.SetRegExp(S("あ"));
  EXPECT_TRUE(re.IsLiteral());
  EXPECT_EQ(re.LiteralText(), S("あ"));
  EXPECT_EQ(re.Automaton().Next(0, 0x82), -1);
  EXPECT_GE(re.Automaton().Next(0, 0x82A0), 0);
}

TEST(RegexClasses, DotAndNegatedClassesNeverMatchLineEnds) {
  for (const char* p : {".", "[^a]", "[^\\x01-\\x09]"}) {
    EXPECT_FALSE(Full(p, "\n")) << p;
    EXPECT_FALSE(Full(p, "\r")) << p;
    EXPECT_FALSE(Full(p, std::string(1, '\0'))) << p;
    EXPECT_TRUE(Full(p, "z")) << p;
    EXPECT_TRUE(Full(p, S("漢"))) << p;
  }
  EXPECT_FALSE(Full("[^a]", "a"));
  EXPECT_FALSE(Full("[^\\x01-\\x09]", "\t"));
  EXPECT_TRUE(Full("[^\\x01-\\x09]", "\x0B"));
}

TEST(RegexClasses, NegatedClassCoveringEverythingMatchesNothing) {
  TRegularExpression re;
  re.SetRegExp("[^\\x01-\\xFCFC]");
  EXPECT_FALSE(re.IsLiteral());
  EXPECT_FALSE(Full("a[^\\x01-\\xFCFC]", "ab"));
  EXPECT_FALSE(re.IsLiteral());
  re.SetRegExp("a[^\\x01-\\xFCFC]");
  EXPECT_FALSE(re.IsLiteral()) << "a chain into a dead end is no literal";
  EXPECT_TRUE(Full("a[^\\x01-\\xFCFC]|b", "b"));
  EXPECT_TRUE(Full("x[^\\x01-\\xFCFC]*y", "xy"));
}

TEST(RegexAutomaton, TransitionsAreSortedAndDisjoint) {
  TRegularExpression re;
  re.SetRegExp("[a-m]x|[h-z]y|k|.q");
  const TRE_DFA& dfa = re.Automaton();
  for (int s = 0; s < dfa.StateCount(); ++s) {
    const auto& ts = dfa.State(s).transitions;
    for (size_t i = 1; i < ts.size(); ++i) EXPECT_GT(ts[i].low, ts[i - 1].high);
  }
  EXPECT_TRUE(FullMatch(dfa, "kx"));
  EXPECT_TRUE(FullMatch(dfa, "ky"));
  EXPECT_TRUE(FullMatch(dfa, "k"));
  EXPECT_TRUE(FullMatch(dfa, "kq"));
  EXPECT_FALSE(FullMatch(dfa, "ax y"));
  EXPECT_TRUE(Full("(ab)+c", "ababc"));
  EXPECT_FALSE(Full("(ab)+c", "c"));
  EXPECT_TRUE(Full("ab?c", "ac"));
  EXPECT_TRUE(Full("a|", ""));
  EXPECT_TRUE(Full("(|a)b", "b"));
}

TEST(RegexLiteral, DetectsFixedStringsOnly) {
  TRegularExpression re;
  for (const char* p : {"abc", "(abc)", "a(b)c"}) {
    re.SetRegExp(p);
    EXPECT_TRUE(re.IsLiteral()) << p;
    EXPECT_EQ(re.LiteralText(), "abc") << p;
  }
  for (const char* p : {"ab?", "a.c", "a*", "ab|cd", "[ab]"}) {
    re.SetRegExp(p);
    EXPECT_FALSE(re.IsLiteral()) << p;
    EXPECT_EQ(re.LiteralText(), "") << p;
  }
  re.SetRegExp("a|a");
  EXPECT_TRUE(re.IsLiteral());
  re.SetRegExp("");
  EXPECT_TRUE(re.IsLiteral());
  EXPECT_EQ(re.LiteralText(), "");
}

TEST(RegexLiteral, RequiredTextsForSkipping) {
  TRegularExpression re;
  re.SetRegExp("ab|cd|ab");
  EXPECT_EQ(re.Automaton().RequiredTexts(), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_TRUE(re.Automaton().RequiredTextsSuffice());
  re.SetRegExp("x[0-9]+yz|q");
  EXPECT_EQ(re.Automaton().RequiredTexts(), (std::vector<std::string>{"yz", "q"}));
  EXPECT_FALSE(re.Automaton().RequiredTextsSuffice());
  re.SetRegExp("(ab|cd)?e");  // the optional part guarantees nothing
  EXPECT_EQ(re.Automaton().RequiredTexts(), (std::vector<std::string>{"e"}));
  re.SetRegExp("a|b*");
  EXPECT_TRUE(re.Automaton().RequiredTexts().empty());
  EXPECT_FALSE(re.Automaton().RequiredTextsSuffice());
  // A long fixed part is kept by its start, cut on a character boundary (255 bytes here, as
  // the 128th character would end past 256).
  std::string word = "x";
  for (int i = 0; i < 200; ++i) word += S("会");
  re.SetRegExp("^" + word + "[ab]");
  EXPECT_EQ(re.Automaton().RequiredTexts(), (std::vector<std::string>{word.substr(0, 255)}));
  EXPECT_FALSE(re.Automaton().RequiredTextsSuffice());
}

class LineFeedAnchors : public TRegularExpression {
 public:
  LineFeedAnchors() = default;
  RECode LineHeadCode() const override { return 10; }
  RECode LineTailCode() const override { return 10; }
};

TEST(RegexLiteral, LineHeadBecomesALineFeed) {
  LineFeedAnchors re;
  re.SetRegExp("^abc");
  EXPECT_TRUE(re.IsLiteral());
  EXPECT_EQ(re.LiteralText(), "\nabc");
  re.SetRegExp("abc$");
  EXPECT_EQ(re.LiteralText(), "abc\n");
  re.SetRegExp("[\\x01-\\x20]x");  // a class holding the line feed is split around it
  EXPECT_TRUE(FullMatch(re.Automaton(), "\nx"));
  EXPECT_TRUE(FullMatch(re.Automaton(), " x"));
}

TEST(RegexCache, EvictsTheOldestAndKeepsOrderOnHits) {
  TRegularExpression re;
  for (int i = 1; i <= 29; ++i) re.SetRegExp("p" + std::to_string(i));
  EXPECT_EQ(re.CacheCount(), 30);
  EXPECT_EQ(re.CacheKey(0), "");
  EXPECT_EQ(re.CacheKey(1), "p29");
  EXPECT_EQ(re.CacheKey(29), "p1");
  // A hit makes the entry current without moving it.
  re.SetRegExp("p1");
  EXPECT_EQ(re.CurrentIndex(), 29);
  EXPECT_EQ(re.CacheKey(29), "p1");
  EXPECT_EQ(re.CacheKey(1), "p29");
  // A new pattern pushes out the one inserted longest ago (p1), the empty entry stays.
  re.SetRegExp("new");
  EXPECT_EQ(re.CacheCount(), 30);
  EXPECT_EQ(re.CacheKey(0), "");
  EXPECT_EQ(re.CacheKey(1), "new");
  EXPECT_EQ(re.CacheKey(29), "p2");
  EXPECT_EQ(re.CurrentIndex(), 1);
  EXPECT_TRUE(re.IsLiteral());
  EXPECT_EQ(re.LiteralText(), "new");
  re.SetRegExp("");
  EXPECT_EQ(re.CurrentIndex(), 0);
}

TEST(RegexCache, ForgetCompiledKeepsOnlyTheEmptyPattern) {
  TRegularExpression re;
  re.SetRegExp("a+");
  re.SetRegExp("b");
  re.ForgetCompiled();
  EXPECT_EQ(re.CacheCount(), 1);
  EXPECT_EQ(re.CurrentIndex(), 0);
  EXPECT_EQ(re.RegExp(), "");
  EXPECT_TRUE(re.Automaton().Accepting(re.Automaton().Initial())) << "the empty pattern";
  re.SetRegExp("a+");  // compiled anew, and right
  EXPECT_EQ(re.CacheCount(), 2);
  EXPECT_TRUE(FullMatch(re.Automaton(), "aaa"));
  EXPECT_FALSE(FullMatch(re.Automaton(), "b"));
}

TEST(RegexFuzzyDictionary, HasTheGroupsInOrderAndExpands) {
  const std::vector<std::string>& texts = TREPreProcessor::BuiltInFuzzyCharTexts();
  ASSERT_EQ(texts.size(), 145u);
  const REDictionary& dic = TREPreProcessor::BuiltInFuzzyCharDic();
  ASSERT_EQ(dic.size(), 145u);
  EXPECT_EQ(dic[0], (REDictionaryGroup{S("Ａ"), S("ａ"), "A", "a"}));
  EXPECT_EQ(dic[36 + 22], (REDictionaryGroup{" ", S("　")}));
  EXPECT_EQ(dic[36 + 32], (REDictionaryGroup{",", S("､"), S("、"), S("，")}));
  EXPECT_EQ(dic[72], (REDictionaryGroup{S("ん"), S("ン"), S("ﾝ")}));
  EXPECT_EQ(dic[144], (REDictionaryGroup{S("ﾟ"), S("゜")}));
  for (const REDictionaryGroup& group : dic) {
    EXPECT_GE(group.size(), 1u);
    for (const std::string& v : group) EXPECT_FALSE(v.empty());
  }
  TREPreProcessor pre;
  pre.UseFuzzyCharDic = true;
  pre.FuzzyCharDics.push_back(dic);
  // か゛ (two characters) is taken before か; metacharacters stay; classes are copied.
  EXPECT_EQ(pre.Process(S("か゛")), S("(が|ガ|ｶﾞ|か゛|カ゛)"));
  EXPECT_EQ(pre.Process("a*[b]"), S("(Ａ|ａ|A|a)*[b]"));
  EXPECT_EQ(pre.Process("\\("), S("(\\(|（)"));
  EXPECT_EQ(pre.Process(S("ソ")), S("(そ|ソ|ｿ)"));  // the trail byte 0x5C gets no backslash
}

// The expansion without the dictionary's index: every variant of every group is tried at every
// plain character. The indexed expansion must give the very same text.
std::string ExpandTryingEveryGroup(const std::string& pattern,
                                   const std::vector<REDictionary>& dics) {
  struct Token {
    RECode code;
    size_t begin, end;
    bool plain;
  };
  std::vector<Token> tokens;
  TREScanner scanner(pattern);
  for (;;) {
    bool in_class = scanner.InClass();
    auto begin = static_cast<size_t>(scanner.Position() - 1);
    REToken t = scanner.GetToken();
    if (t.kind == RETokenKind::kEnd) break;
    tokens.push_back({t.code, begin, static_cast<size_t>(scanner.Position() - 1),
                      !in_class && t.kind == RETokenKind::kChar});
  }
  std::string out;
  for (size_t i = 0; i < tokens.size();) {
    const REDictionaryGroup* found = nullptr;
    size_t length = 0;
    for (const REDictionary& dic : dics) {
      for (const REDictionaryGroup& group : dic) {
        for (const std::string& v : group) {
          bool here = !found;
          size_t n = 0;  // characters of v
          for (size_t k = 0; here && k < v.size(); ++k, ++n) {
            RECode code = static_cast<unsigned char>(v[k]);
            if (cp932::IsLeadByte(static_cast<unsigned char>(v[k])) && k + 1 < v.size()) {
              code = static_cast<RECode>(code << 8 | static_cast<unsigned char>(v[++k]));
            }
            here = i + n < tokens.size() && tokens[i + n].plain && tokens[i + n].code == code;
          }
          if (here && n > 0) found = &group, length = n;
        }
      }
    }
    if (!found) {
      out += pattern.substr(tokens[i].begin, tokens[i].end - tokens[i].begin);
      ++i;
      continue;
    }
    out += '(';
    for (size_t v = 0; v < found->size(); ++v) {
      const std::string& variant = (*found)[v];
      out += v > 0 ? "|" : "";
      for (size_t k = 0; k < variant.size(); ++k) {
        auto c = static_cast<unsigned char>(variant[k]);
        if (cp932::IsLeadByte(c) && k + 1 < variant.size()) {
          out += variant.substr(k++, 2);
          continue;
        }
        if (std::string_view("^(|)+*?.[]$\\").find(variant[k]) != std::string_view::npos) {
          out += '\\';
        }
        out += variant[k];
      }
    }
    out += ')';
    i += length;
  }
  return out;
}

// Random patterns made of dictionary variants (whole, or cut after their first byte), pattern
// syntax and other characters, expanded with the built-in dictionary alone and behind a small
// one whose groups overlap it: longer and shorter variants, an empty group and variant, a lone
// lead byte, a metacharacter.
TEST(RegexFuzzyDictionary, IndexedExpansionTriesTheGroupsInOrder) {
  const REDictionary& built_in = TREPreProcessor::BuiltInFuzzyCharDic();
  const REDictionary small({{"ab", S("か")}, {}, {"b", "", S("かが"), S("ｶﾞ")}, {"\\("}, {"\x82"}});
  const std::vector<std::vector<REDictionary>> dictionary_lists = {
      {built_in}, {small, built_in}, {small}, {}};
  const std::vector<std::string> syntax = {"(", ")", "[", "]", "[^", "-", "\\",    "|",     "*",
                                           "+", "?", ".", "^", "$",  "x", S("漢"), S("゛"), "\x82"};
  std::mt19937 random(20240611);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  int rewritten = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string pattern;
    for (size_t piece = pick(9); piece > 0; --piece) {
      if (pick(3) == 0) {
        pattern += syntax[pick(syntax.size())];
        continue;
      }
      const REDictionaryGroup& group = built_in[pick(built_in.size())];
      const std::string& variant = group[pick(group.size())];
      pattern += pick(8) == 0 ? variant.substr(0, 1) : variant;
    }
    for (const std::vector<REDictionary>& dics : dictionary_lists) {
      std::string expected, got;
      try {
        expected = ExpandTryingEveryGroup(pattern, dics);
      } catch (const ERegExpParser&) {
        expected = "(scanner error)";
      }
      try {
        got = TREPreProcessor::Expand(pattern, dics);
      } catch (const ERegExpParser&) {
        got = "(scanner error)";
      }
      ASSERT_EQ(got, expected) << pattern;
      rewritten += expected != pattern ? 1 : 0;
    }
  }
  EXPECT_GT(rewritten, 3000) << "many patterns should have been rewritten";
}

TEST(RegexFuzzyDictionary, ComponentSwitchRecompiles) {
  TRegularExpression re;
  re.PreProcessor().FuzzyCharDics.push_back(TREPreProcessor::BuiltInFuzzyCharDic());
  re.SetRegExp("a");
  EXPECT_TRUE(re.IsLiteral());
  re.SetUseFuzzyCharDic(true);
  EXPECT_FALSE(re.IsLiteral());
  EXPECT_TRUE(FullMatch(re.Automaton(), S("Ａ")));
  re.SetUseFuzzyCharDic(false);
  EXPECT_TRUE(re.IsLiteral());
  EXPECT_EQ(re.RegExp(), "a");
}

}  // namespace
}  // namespace search

namespace search {
namespace {

// Characters held twice or three times match every form, alone, in classes and in ranges, and
// a negated class leaves every form out. The forms come from the codec.
TEST(RegexEquivalentCodes, EveryFormOfACharacterMatches) {
  const std::string taka_windows = "\xFB\xFC", taka_nec = "\xEE\xE0";  // 髙
  const std::string because_jis = "\x81\xE6", because_nec = "\x87\x9A", because_ibm = "\xFA\x5B";
  const std::string roman1_nec = "\xEE\xEF", roman1_ibm = "\xFA\x40";    // ⅰ
  const std::string roman10_nec = "\xEE\xF8", roman10_ibm = "\xFA\x49";  // ⅹ
  EXPECT_EQ(EquivalentCodes(0xFBFC), std::vector<RECode>{0xEEE0});
  EXPECT_EQ(EquivalentCodes(0x879A).size(), 2u);
  EXPECT_TRUE(EquivalentCodes('a').empty());
  EXPECT_TRUE(EquivalentCodes(0x88A0).empty());
  struct Case {
    std::string pattern, text;
    bool full;
  } cases[] = {
      {taka_windows, taka_nec, true},
      {taka_nec, taka_windows, true},
      {because_ibm, because_jis, true},
      {because_jis, because_nec, true},
      {"[" + taka_nec + "]", taka_windows, true},
      {"[" + roman1_ibm + "-" + roman10_ibm + "]", roman1_nec, true},
      {"[" + roman1_ibm + "-" + roman10_ibm + "]", roman10_nec, true},
      {"[" + roman1_nec + "-" + roman10_nec + "]", "\xFA\x45", true},
      {"[^" + taka_windows + "]", taka_nec, false},
      {"[^" + because_nec + "]", because_jis, false},
      {"[^" + because_nec + "]", taka_nec, true},
      {taka_windows + S("橋"), taka_nec + S("橋"), true},
      {taka_windows + S("橋"), taka_nec + S("島"), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Full(c.pattern, c.text), c.full) << cp932::ToUtf8(c.pattern);
  }
  // Every code with other forms: each form matches the others, and only those.
  for (RECode code : CodesWithEquivalents()) {
    std::string text;
    AppendCode(text, code);
    for (RECode other : EquivalentCodes(code)) {
      std::string form;
      AppendCode(form, other);
      ASSERT_EQ(cp932::Decode(form), cp932::Decode(text));
      ASSERT_TRUE(Full(form, text)) << std::hex << code << " " << other;
    }
  }
  EXPECT_GT(CodesWithEquivalents().size(), 700u);
}

TEST(RegexEquivalentCodes, FixedStringsStayFixed) {
  // Without a doubled character a fixed string is literal as before; with one, its forms are
  // an alternation of fixed strings that is the whole pattern, searched as strings.
  TRegularExpression re;
  re.SetRegExp(S("高橋"));
  EXPECT_TRUE(re.IsLiteral());
  re.SetRegExp("\xFB\xFC" + S("橋"));
  EXPECT_FALSE(re.IsLiteral());
  EXPECT_TRUE(re.Automaton().RequiredTextsSuffice());
  EXPECT_EQ(re.Automaton().RequiredTexts(),
            (std::vector<std::string>{"\xFB\xFC" + S("橋"), "\xEE\xE0" + S("橋")}));
  re.SetRegExp(S("[ぁ-ん]") + "\xFB\xFC");  // a class is no fixed string
  EXPECT_FALSE(re.Automaton().RequiredTextsSuffice());
}

}  // namespace
}  // namespace search
