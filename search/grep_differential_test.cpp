// The grep against a reference matcher of its own: random patterns and random Shift-JIS files
// (half-width katakana, second bytes that look like ASCII, the doubled characters in every
// form, lone CR and LF, 0x1A, a lone lead byte, no final line end). The reference decodes each
// line to Unicode and backtracks over the pattern's tree, which is generated together with the
// pattern text and limited to syntax that means the same on both sides: no "\n" (a match never
// crosses a line end), anchors only at the pattern's ends, ranges only where code page 932
// order is Unicode order. The reference takes over the grep's own reading rules: lone CR and
// CR LF end a line as LF does, a lead byte and the next byte are one character even when that
// byte is a line end (which then ends no line; at the file's end the closing line feed), and a
// match needs at least one character (so "a*" finds only lines with an a). MIRUNE_GREP_DIFF_PAIRS
// sets the number of pairs (a few hundred by default). For the record of what each rule explains,
// MIRUNE_GREP_DIFF_PLAIN names one rule the reference then leaves out
// ("empty": an empty match counts, "cr": a lone CR is a character, "range": the kanji range
// 亜-腕 compared in Unicode order) and the run counts the differences instead of failing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "search/grep.h"
#include "search/grep_nfa.h"
#include "search/reg_exp_parser_error.h"
#include "test_support/temp_dir.h"

namespace search {
namespace {

constexpr char32_t kLineFeed = 10;
// Where the file ends without a line end: neither a character nor a line end.
constexpr char32_t kEndMark = 0x7FFFFFFF;

std::string PlainRule() {
  const char* rule = std::getenv("MIRUNE_GREP_DIFF_PLAIN");
  return rule ? rule : "";
}

// One character in both forms: its code page 932 bytes and what the reference compares.
struct Char {
  std::string bytes;
  char32_t unicode;
};

char32_t UnicodeOf(const std::string& bytes) {
  std::u16string d = cp932::Decode(bytes);
  if (d.size() == 1 && (d[0] < 0xDC00 || d[0] > 0xDCFF)) return d[0];
  // Not one character: a code of its own that no pattern character has.
  char32_t code = 0x110000;
  for (unsigned char b : bytes) code = code * 256 + b;
  return code;
}

Char C(const std::string& bytes) {
  return {bytes, UnicodeOf(bytes)};
}

struct Node {
  enum Kind { kChar, kAny, kClass, kConcat, kAlt, kStar, kPlus, kOpt, kHead, kTail } kind;
  char32_t c = 0;
  std::vector<std::pair<char32_t, char32_t>> ranges;  // a class's items
  bool negated = false;
  std::unique_ptr<Node> a, b;
};

// The ends of every match of `n` that starts at `pos` in `line` (the line feeds before and
// after the line's characters are elements 0 and size - 1).
void Ends(const Node& n, const std::vector<char32_t>& line, size_t pos, std::set<size_t>& out) {
  auto one = [&](bool ok) {
    if (ok) out.insert(pos + 1);
  };
  const bool in_line = pos < line.size() && line[pos] != kLineFeed && line[pos] != kEndMark;
  switch (n.kind) {
    case Node::kChar:
      one(in_line && line[pos] == n.c);
      return;
    case Node::kAny:
      one(in_line);
      return;
    case Node::kClass: {
      if (!in_line) return;
      bool in = false;
      for (auto [low, high] : n.ranges) in = in || (line[pos] >= low && line[pos] <= high);
      one(in != n.negated);
      return;
    }
    case Node::kHead:
    case Node::kTail:
      one(pos < line.size() && line[pos] == kLineFeed);
      return;
    case Node::kConcat: {
      std::set<size_t> mid;
      Ends(*n.a, line, pos, mid);
      for (size_t m : mid) Ends(*n.b, line, m, out);
      return;
    }
    case Node::kAlt:
      Ends(*n.a, line, pos, out);
      Ends(*n.b, line, pos, out);
      return;
    case Node::kOpt:
      out.insert(pos);
      Ends(*n.a, line, pos, out);
      return;
    case Node::kStar:
    case Node::kPlus: {
      std::set<size_t> reached;
      if (n.kind == Node::kStar) reached.insert(pos);
      std::vector<size_t> work{pos};
      while (!work.empty()) {
        size_t p = work.back();
        work.pop_back();
        std::set<size_t> next;
        Ends(*n.a, line, p, next);
        for (size_t e : next) {
          if (reached.insert(e).second) work.push_back(e);
        }
      }
      out.insert(reached.begin(), reached.end());
      return;
    }
  }
}

// Does the pattern match the line with at least one character, from any start (the line feed
// before the line included: "^" is that line feed)?
bool Matches(const Node& n, const std::vector<char32_t>& line) {
  static const bool empty_counts = PlainRule() == "empty";
  for (size_t start = 0; start + 1 < line.size(); ++start) {
    std::set<size_t> ends;
    Ends(n, line, start, ends);
    for (size_t e : ends) {
      if (e > start || empty_counts) return true;
    }
  }
  return false;
}

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}
  unsigned Pick(unsigned n) { return static_cast<unsigned>(rng_() % n); }

  // Characters of the texts and patterns: ASCII (with the backslash and the anchors' own
  // characters), half-width katakana, kana, 表 ソ 能 (second byte 0x5C), the doubled
  // characters in each of their forms, 0x1A.
  const std::vector<std::string>& Alphabet() {
    static const std::vector<std::string> chars = {
        "a",        "b",        " ",        "\\",       "$",        "^",
        "0",        "7",        "\xB1",     "\xDD",     "\xB6",     "\xDE",
        S("あ"),    S("ア"),    S("表"),    S("ソ"),    S("能"),    S("高"),
        "\xFB\xFC", "\xEE\xE0", "\x81\xE6", "\x87\x9A", "\xFA\x5B", "\xEE\xEF",
        "\xFA\x40", "\xFA\x49", "\x81\xCA", "\xFA\x54", "\x1A"};
    return chars;
  }

  std::string Text() {
    static const std::vector<std::string> ends = {"\r\n", "\n", "\r"};
    std::string text;
    int pieces = static_cast<int>(Pick(60));
    for (int i = 0; i < pieces; ++i) {
      unsigned k = Pick(12);
      if (k == 0) {
        text += ends[Pick(3)];
      } else if (k == 1 && Pick(4) == 0) {
        text += "\x82";  // a lead byte: with the next byte one character, alone at a line end
      } else {
        text += Alphabet()[Pick(static_cast<unsigned>(Alphabet().size()))];
      }
    }
    if (Pick(3) != 0) text += ends[Pick(3)];
    return text;
  }

  // A pattern: its text for the grep and its tree for the reference.
  std::unique_ptr<Node> Pattern(std::string& text) {
    auto root = Sequence(text, 2);
    if (Pick(6) == 0) {
      text = "^" + text;
      root = Join(Node::kConcat, Leaf(Node::kHead), std::move(root));
    }
    if (Pick(6) == 0) {
      text += "$";
      root = Join(Node::kConcat, std::move(root), Leaf(Node::kTail));
    }
    return root;
  }

 private:
  static std::string S(const char* utf8) { return cp932::FromUtf8(utf8); }
  static std::unique_ptr<Node> Leaf(Node::Kind kind) {
    auto n = std::make_unique<Node>();
    n->kind = kind;
    return n;
  }
  static std::unique_ptr<Node> Join(Node::Kind kind, std::unique_ptr<Node> a,
                                    std::unique_ptr<Node> b = nullptr) {
    auto n = Leaf(kind);
    n->a = std::move(a);
    n->b = std::move(b);
    return n;
  }
  // A character as pattern text: metacharacters escaped (0x1A stands for itself).
  static std::string Escaped(const std::string& bytes) {
    if (bytes.size() == 1 && std::string("\\^$.[]()|*+?").find(bytes[0]) != std::string::npos) {
      return "\\" + bytes;
    }
    return bytes;
  }

  std::unique_ptr<Node> Sequence(std::string& text, int depth) {
    std::unique_ptr<Node> node;
    int count = 1 + static_cast<int>(Pick(4));
    for (int i = 0; i < count; ++i) {
      auto f = Factor(text, depth);
      node = node ? Join(Node::kConcat, std::move(node), std::move(f)) : std::move(f);
    }
    return node;
  }

  std::unique_ptr<Node> Factor(std::string& text, int depth) {
    auto p = Primary(text, depth);
    switch (Pick(8)) {
      case 0:
        text += "*";
        return Join(Node::kStar, std::move(p));
      case 1:
        text += "+";
        return Join(Node::kPlus, std::move(p));
      case 2:
        text += "?";
        return Join(Node::kOpt, std::move(p));
      default:
        return p;
    }
  }

  // Class ranges whose code page 932 order is Unicode order, in every form of their ends.
  struct Range {
    std::string low, high;
  };
  const std::vector<Range>& Ranges() {
    static const std::vector<Range>& usual = UsualRanges();
    static const std::vector<Range> plain = {{S("亜"), S("腕")}};
    static const std::vector<Range>& ranges = PlainRule() == "range" ? plain : usual;
    return ranges;
  }
  const std::vector<Range>& UsualRanges() {
    static const std::vector<Range> ranges = {
        {"a", "z"},
        {"0", "9"},
        {S("ぁ"), S("ん")},
        {S("ァ"), S("ヶ")},
        {"\xB1", "\xDD"},
        {"\xA1", "\xDF"},
        {S("０"), S("９")},
        {"\xEE\xEF", "\xEE\xF8"},
        {"\xFA\x40", "\xFA\x49"},
        {S("一"), S("一")},
    };
    return ranges;
  }

  std::unique_ptr<Node> OneChar(std::string& text) {
    Char c = C(Alphabet()[Pick(static_cast<unsigned>(Alphabet().size()))]);
    text += Escaped(c.bytes);
    auto n = Leaf(Node::kChar);
    n->c = c.unicode;
    return n;
  }

  std::unique_ptr<Node> Primary(std::string& text, int depth) {
    unsigned k = Pick(depth > 0 ? 10 : 8);
    if (k < 4 && Pick(4) == 0) {
      // A group of a few characters: a word that the walk around words steps over.
      text += "(";
      std::unique_ptr<Node> word;
      for (int i = 0, count = 2 + static_cast<int>(Pick(3)); i < count; ++i) {
        auto c = OneChar(text);
        word = word ? Join(Node::kConcat, std::move(word), std::move(c)) : std::move(c);
      }
      text += ")";
      return word;
    }
    if (k < 4) return OneChar(text);
    if (k == 4) {
      text += ".";
      return Leaf(Node::kAny);
    }
    if (k < 8) {
      auto n = Leaf(Node::kClass);
      n->negated = Pick(3) == 0;
      text += n->negated ? "[^" : "[";
      int items = 1 + static_cast<int>(Pick(3));
      for (int i = 0; i < items; ++i) {
        if (Pick(2) == 0) {
          const Range& r = Ranges()[Pick(static_cast<unsigned>(Ranges().size()))];
          text += r.low + "-" + r.high;
          n->ranges.emplace_back(UnicodeOf(r.low), UnicodeOf(r.high));
        } else {
          Char c = C(Alphabet()[Pick(static_cast<unsigned>(Alphabet().size()))]);
          // Inside a class only "]", "\" and "^" (first) and "-" need care; escape them all.
          text += (c.bytes == "]" || c.bytes == "\\" || c.bytes == "^" || c.bytes == "-")
                      ? "\\" + c.bytes
                      : c.bytes;
          n->ranges.emplace_back(c.unicode, c.unicode);
        }
      }
      text += "]";
      return n;
    }
    text += "(";
    auto a = Sequence(text, depth - 1);
    text += "|";
    auto b = Sequence(text, depth - 1);
    text += ")";
    return Join(Node::kAlt, std::move(a), std::move(b));
  }

  std::mt19937 rng_;
};

struct Line {
  std::string bytes;            // as the grep reports it
  std::vector<char32_t> chars;  // line feed, the characters, line feed
};

// The file's lines as the grep reads them.
std::vector<Line> Lines(std::string text) {
  if (!text.empty() && text.back() != '\n') text += '\n';  // as the reader closes the file
  std::vector<Line> lines;
  Line line;
  line.chars.push_back(kLineFeed);
  auto finish = [&](bool closed) {
    while (!line.bytes.empty() && (line.bytes.back() == '\n' || line.bytes.back() == '\r')) {
      line.bytes.pop_back();
    }
    line.chars.push_back(closed ? kLineFeed : kEndMark);
    lines.push_back(std::move(line));
    line = Line();
    line.chars.push_back(kLineFeed);
  };
  static const bool cr_is_a_character = PlainRule() == "cr";
  for (size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    bool lone_cr = b == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n');
    if (cr_is_a_character && lone_cr) {
      line.bytes += '\r';
      line.chars.push_back(13);
      ++i;
      continue;
    }
    if (b == '\r' || b == '\n') {
      i += (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      finish(true);
      continue;
    }
    size_t size = 1;
    if (cp932::IsLeadByte(b) && i + 1 < text.size()) {
      size = 2;
    }
    std::string c = text.substr(i, size);
    line.bytes += c;
    line.chars.push_back(UnicodeOf(c));
    i += size;
  }
  // The closing line feed taken by a lead byte: the last line has no line end to match "$".
  if (!line.bytes.empty()) finish(false);
  return lines;
}

// The lines one of the automaton's walks finds in a text held as the reader holds it (a line
// feed before it, one after it when it has none).
using NfaWalk = std::vector<std::pair<int, size_t>> (TGrepNfa::*)(const unsigned char*,
                                                                  size_t) const;
std::vector<int> LineNumbers(const TGrepNfa& nfa, const std::string& text, NfaWalk walk) {
  std::string held = "\n" + text;
  if (held.back() != '\n') held += '\n';
  std::vector<int> lines;
  for (auto [line, start] :
       (nfa.*walk)(reinterpret_cast<const unsigned char*>(held.data()), held.size())) {
    lines.push_back(line);
  }
  return lines;
}

TEST(GrepDifferential, WordsSteppedOverAtCharacterAndLineBoundaries) {
  // Each case is matched by the plain walk and around its words, with at least `words` of them
  // stepped over (the middle of a pattern, then several together).
  struct Case {
    std::string pattern, text;
    std::vector<int> lines;
    size_t words;
  };
  const std::string lead = "\x82";
  const std::string hyo = cp932::FromUtf8("表");  // its second byte is "\\"
  const std::vector<Case> cases = {
      // A lead byte before the text takes its first byte: no character starts there.
      {".bc", "x" + lead + "bc\n", {}, 1},
      {".bcd", "x" + lead + "bcd\nxbcd\n", {2}, 1},
      {"[xy]" + hyo + "a", "y" + hyo + "a\n\x95" + hyo + "a\n", {1}, 1},
      {"." + hyo + "\\\\", "z" + hyo + "\\\n", {1}, 1},
      // The text cut by a line end in every form, and a lone lead byte at the very end.
      {".abc", "zab\nc\nzab\r\nc\nzab\rc\nzabc", {7}, 1},
      {".abc", "zabc\x82", {1}, 1},
      // "^" before the head, "$" after the tail, and a tail that reads a line end.
      {"^.ab", "zab\r\nyzab\rqab\n", {1, 3}, 1},
      {"(^|x)ab", "abc\nyab\nxab\n", {1, 3}, 1},
      {".ab$", "zab\nzabc\nab\r\nxab\r", {1, 4}, 1},
      {".ab(\\n|c)d", "zab\ndq\nzabd\n", {1}, 1},
      // Overlapping places: only a later one has the head before it.
      {".abab", "ababab\nabab\n", {1}, 1},
      {"[xy]abab", "xababab\nzababab\n", {1}, 1},
      {"b*abaa", "abaabaa\nbab\n", {1}, 1},
      // Heads that read line ends, and words that a match may go round or pass by.
      {"(\\n|x)+ab", "xab\nab\n", {1, 2}, 1},
      {"(\\n|x)*ab", "xab\nab\n", {1, 2}, 1},
      {"x(ab)*y", "xababy\nxy\nxaby\nxaay\n", {1, 2, 3}, 1},
      {"(x|abc)d", "abd\nabcd\nxd\n", {2, 3}, 1},
      // Several words at once.
      {".ab.cd", "zabzcd\nzab\ncd\nzabcd\nabzcdz\n", {1}, 2},
      // The second word after a lead byte that takes its first byte, and after the character.
      {".ab.cd",
       "zab\x82"
       "cd\nzab\x82zcd\n",
       {2},
       2},
      {"[xy]" + hyo + hyo + "[xy]ab", "x" + hyo + hyo + "yab\nx\x95" + hyo + hyo + "yab\n", {1}, 2},
      // Two words that meet at a line end in every form, and the second cut by one.
      {"xab\\ncdy", "xab\ncdy\nxab\r\ncdy\nxab\rcdy\nxab\nxcdy\n", {1, 3, 5}, 2},
      {".ab.cd", "zabzc\nd\nzabzc\r\nd\nzabzc\rd\nzabzcd\n", {7}, 2},
      // Overlapping places of one word, and the same word twice.
      {".abab.abab", "zabababababx\nzabababab\nzababzabab\nababzababa\nqababaabab\n", {3, 5}, 2},
      {"ab.ab", "abzab\nabab\nababab\n", {1}, 2},
      // Anchors around the words, words in a loop and in alternatives.
      {"^ab.cd$", "abzcd\nxabzcd\nabzcd\r\nabzcdx\nabzcd", {1, 3, 5}, 2},
      {"x(ab)*cd", "xcd\nxababcd\nxabacd\n", {1, 2}, 2},
      {"(abc|xyz)(abc|x)", "abcabc\nxyzx\nabxyzabc\nxyab\n", {1, 2, 3}, 2},
  };
  TGrep grep;
  for (const Case& c : cases) {
    grep.SetRegExp(c.pattern);
    ASSERT_NE(grep.Automaton().Nfa(), nullptr) << c.pattern;
    TGrepNfa nfa(*grep.Automaton().Nfa(), 2);
    EXPECT_GE(nfa.WordCount(), c.words) << c.pattern;
    EXPECT_EQ(LineNumbers(nfa, c.text, &TGrepNfa::MatchingLines), c.lines) << c.pattern;
    EXPECT_EQ(LineNumbers(nfa, c.text, &TGrepNfa::MatchingLinesAroundWords), c.lines) << c.pattern;
  }
  // Without the lower bound, only the long words and the longest short one are stepped over.
  const std::string a40(40, 'a');
  const std::vector<std::pair<std::string, size_t>> counts = {
      {"." + a40 + "." + a40, 2}, {"." + a40 + ".ab.cd", 1}, {".ab.cde.fg", 1}, {".abc.abc", 2}};
  for (const auto& [pattern, words] : counts) {
    grep.SetRegExp(pattern);
    EXPECT_EQ(TGrepNfa(*grep.Automaton().Nfa()).WordCount(), words) << pattern;
  }
}

TEST(GrepDifferential, RandomPatternsAgainstTheReference) {
  const char* env = std::getenv("MIRUNE_GREP_DIFF_PAIRS");
  const int pairs = env ? std::atoi(env) : 300;
  test_support::TempDir dir;
  const std::filesystem::path file = dir.path() / "f.txt";
  Generator gen(env ? static_cast<unsigned>(std::random_device()()) : 20261208u);
  TGrep grep;
  int compared = 0, differences = 0, refused = 0, several_words = 0;
  for (int round = 0; round < pairs; ++round) {
    std::string pattern;
    std::unique_ptr<Node> tree = gen.Pattern(pattern);
    std::string text = gen.Text();
    // Now and then a file of several blocks, so that lines cross the block ends.
    if (round % 150 == 149) {
      std::string big;
      while (big.size() < 2 * TTxtFile::kBlockSize + 5000) big += gen.Text() + "\r\n";
      text = big + text;
    }
    test_support::WriteBytes(file, text);
    try {
      grep.SetRegExp(pattern);
    } catch (const ERegExpParser& e) {
      // Only the bound on the automaton's size may refuse a generated pattern.
      EXPECT_EQ(std::string(e.what()), regexp_message::kTooComplex);
      if (refused++ == 0) std::printf("refused: %s\n", cp932::ToUtf8(pattern).c_str());
      continue;
    }
    grep.SetStartByStart(round % 10 == 0);
    grep.SetByNfa(round % 10 == 5);
    std::vector<std::pair<int, std::string>> found, expected;
    grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
      found.emplace_back(info.LineNo, info.Line);
    };
    grep.Grep(file);
    std::vector<Line> lines = Lines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (Matches(*tree, lines[i].chars)) {
        expected.emplace_back(static_cast<int>(i + 1), lines[i].bytes);
      }
    }
    // Patterns with a fixed start are also matched after it, and patterns with words further
    // in around every one of them, on the text as the reader holds it; the lines must be the
    // same.
    if (grep.Automaton().Nfa()) {
      TGrepNfa nfa(*grep.Automaton().Nfa(), 2);
      if (nfa.WordCount() >= 2) ++several_words;
      std::vector<int> lines_expected;
      for (const auto& [line, bytes] : expected) lines_expected.push_back(line);
      EXPECT_EQ(LineNumbers(nfa, text, &TGrepNfa::MatchingLinesAfterPrefix), lines_expected)
          << ::testing::PrintToString(pattern) << " after " << ::testing::PrintToString(text);
      EXPECT_EQ(LineNumbers(nfa, text, &TGrepNfa::MatchingLinesAroundWords), lines_expected)
          << ::testing::PrintToString(pattern) << " around " << ::testing::PrintToString(text);
    }
    ++compared;
    if (found != expected) {
      ++differences;
      if (!PlainRule().empty()) continue;
      ADD_FAILURE() << "pattern " << ::testing::PrintToString(pattern) << " ("
                    << cp932::ToUtf8(pattern) << ")\ntext " << ::testing::PrintToString(text)
                    << "\nfound " << ::testing::PrintToString(found) << "\nexpected "
                    << ::testing::PrintToString(expected);
      if (differences >= 5) break;
    }
  }
  std::printf(
      "grep differential: %d pairs compared (%d with several words), %d differences, %d refused "
      "as too complex\n",
      compared, several_words, differences, refused);
}

}  // namespace
}  // namespace search
