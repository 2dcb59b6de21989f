// The grep over files: line ends, blocks, long lines, NUL bytes, double-byte boundaries, the
// anchors, cancel and missing files; and the byte table checked against the start-by-start
// matchers on many random patterns and texts.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp932.h"
#include "search/grep.h"
#include "search/reg_exp_parser_error.h"
#include "test_support/temp_dir.h"

namespace search {
namespace {

std::string S(const char* utf8) {
  return cp932::FromUtf8(utf8);
}

struct Hit {
  int line;
  std::string text;
  bool operator==(const Hit&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Hit& h) {
  return out << h.line << ":" << h.text;
}

class GrepTest : public ::testing::Test {
 protected:
  std::vector<Hit> Run(const std::string& pattern, const std::string& content,
                       bool start_by_start = false) {
    std::filesystem::path file = dir_.path() / "f.txt";
    test_support::WriteBytes(file, content);
    TGrep grep;
    grep.SetRegExp(pattern);
    grep.SetStartByStart(start_by_start);
    std::vector<Hit> hits;
    grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
      hits.push_back({info.LineNo, info.Line});
    };
    grep.Grep(file);
    return hits;
  }
  // Both ways of matching must agree; returns the hits.
  std::vector<Hit> Both(const std::string& pattern, const std::string& content) {
    std::vector<Hit> fast = Run(pattern, content);
    EXPECT_EQ(fast, Run(pattern, content, true)) << pattern;
    return fast;
  }
  test_support::TempDir dir_;
};

using Hits = std::vector<Hit>;

TEST_F(GrepTest, GrepMixedLineEndsAndLastLineWithoutTerminator) {
  std::string text = "a1\r\nb\nc a2\rd\r\r\ne a3";
  EXPECT_EQ(Both("a", text), (Hits{{1, "a1"}, {3, "c a2"}, {6, "e a3"}}));
  EXPECT_EQ(Both("^$", text), (Hits{{5, ""}}));
  EXPECT_EQ(Both("3$", text), (Hits{{6, "e a3"}}));
  EXPECT_EQ(Both("^d$", text), (Hits{{4, "d"}}));
  EXPECT_EQ(Both("$", "x\r\ny"), (Hits{{1, "x"}, {2, "y"}}));
  EXPECT_EQ(Both("x", ""), Hits{});
  EXPECT_EQ(Both("$", ""), Hits{});
  EXPECT_EQ(Both("^", "\n"), (Hits{{1, ""}}));
}

TEST_F(GrepTest, GrepLineHeadMatchesTheFirstLineAndEveryOther) {
  std::string text = "abc x\nxabc\nabc\r\n";
  EXPECT_EQ(Both("^abc", text), (Hits{{1, "abc x"}, {3, "abc"}}));
  EXPECT_EQ(Both("abc", text).size(), 3u);
  EXPECT_EQ(Both("x^a", "x^a\nxa"), (Hits{{1, "x^a"}}));
  EXPECT_EQ(Both("a$b", "a$b\nab"), (Hits{{1, "a$b"}}));
}

TEST_F(GrepTest, GrepLineWithSeveralMatchesIsReportedOnce) {
  EXPECT_EQ(Both("o", "foo boo\nno"), (Hits{{1, "foo boo"}, {2, "no"}}));
  EXPECT_EQ(Both("[a-z]+", "aa bb\n\n12\nc"), (Hits{{1, "aa bb"}, {4, "c"}}));
}

TEST_F(GrepTest, GrepEmptyMatchesNeedOneCharacter) {
  EXPECT_EQ(Both("a*", "bbb\nxa\n"), (Hits{{2, "xa"}}));
  EXPECT_EQ(Both("", "abc\n"), Hits{});
}

TEST_F(GrepTest, GrepNulReadsAsBlank) {
  std::string text("a\0b\nab\n", 7);
  EXPECT_EQ(Both("a b", text), (Hits{{1, "a b"}}));
  EXPECT_EQ(Both("a.b", text), (Hits{
                                   {1, "a b"},
                               }));
}

TEST_F(GrepTest, GrepDoubleByteCharactersAreNeverSplit) {
  // か (82 A9) followed by あ (82 A0): the bytes A9 82 never pair up as a character; in
  // 81 82 A0 the bytes 82 A0 straddle two characters; the second byte of ア (83 41) is no A.
  std::string text = S("かあ") + "\n" + S("ア") + "\n" +
                     "\x81\x82\xA0"
                     "\n";
  EXPECT_EQ(Both(S("あ"), text), (Hits{{1, S("かあ")}}));
  EXPECT_EQ(Both("A", text), Hits{});
  EXPECT_EQ(Both(S("[ぁ-ん]"), text), (Hits{{1, S("かあ")}}));
  EXPECT_EQ(Both(std::string("\\x82"), text), Hits{});
  // The trail byte 0x5C of ソ is no backslash and the 0x7C of 掘 (8C 7C) no bar.
  EXPECT_EQ(Both("\\\\", S("ソ") + "\n\\\n"), (Hits{{2, "\\"}}));
  EXPECT_EQ(Both("[|]", S("掘") + "\n"), Hits{});
}

TEST_F(GrepTest, GrepDotNeverMatchesLineEnds) {
  EXPECT_EQ(Both("a.b", "a\nb\na\rb\na\r\nb\naxb"), (Hits{{7, "axb"}}));
  EXPECT_EQ(Both("a[^x]b", "a\nb\nayb"), (Hits{{3, "ayb"}}));
}

TEST_F(GrepTest, GrepLongLineAcrossBlocksMatchedNearItsEnd) {
  std::string long_line(250000, 'x');
  long_line += S("会議") + "yz";
  std::string text = "first\r\n" + long_line + "\r\nlast\r\n";
  Hits hits = Both(S("会議y"), text);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].line, 2);
  EXPECT_EQ(hits[0].text, long_line);
  EXPECT_EQ(Both("z$", text).size(), 1u);
  EXPECT_EQ(Both("st$", text), (Hits{{1, "first"}, {3, "last"}}));
  // A CR LF split between two blocks counts once.
  std::string split(TTxtFile::kBlockSize - 1 - 2, 'q');  // the buffer starts with a line feed
  std::string t2 = "q" + split + "\r\nab\r\n";
  EXPECT_EQ(Both("ab", t2), (Hits{{2, "ab"}}));
  EXPECT_EQ(Both("^$", t2), Hits{});
  // A fixed string (and a pattern) straddling the end of the first block is still found.
  for (size_t back : {1, 2, 3, 5}) {
    std::string t3 =
        "x\n" + std::string(TTxtFile::kBlockSize - 2 - back, 'y') + S("会議室") + "\nz\n";
    EXPECT_EQ(Both(S("会議室"), t3).size(), 1u) << back;
    EXPECT_EQ(Both(S("会議室|締切"), t3).size(), 1u) << back;
    EXPECT_EQ(Both(S("締切|会議室"), t3).size(), 1u) << back;
    EXPECT_EQ(Both(S("会議室|[締]切"), t3).size(), 1u) << back;
  }
}

TEST_F(GrepTest, GrepMatchesAcrossLineEndsUseTheStartByStartMatcher) {
  EXPECT_EQ(Both("a\\nb", "xa\nby\nb"), (Hits{{1, "xa"}}));
  EXPECT_EQ(Both("[\\x01-\\x20]+z", "a \n  z\nz"), (Hits{{1, "a "}, {2, "  z"}, {3, "z"}}));
  EXPECT_EQ(Both("(a|\\n)*b", "a\na\nxb\nab\n"), (Hits{{3, "xb"}, {4, "ab"}}));
  EXPECT_EQ(Both("a(\\n|x)*b", "a\nx\nxb\na\n"), (Hits{{1, "a"}}));
}

// Without line numbers every matcher reports the same lines, each with number 0: the string
// matcher, the byte table, the one-pass matcher of matches across line ends, the automaton
// simulation and the start-by-start matchers.
TEST_F(GrepTest, GrepWithoutLineNumbersEveryMatcherReportsZero) {
  struct Case {
    const char* pattern;
    bool by_nfa;
    bool start_by_start;
  };
  const std::string text = "xa\nby\nab\na\nb\n";
  for (const Case& c : std::vector<Case>{{"ab", false, false},
                                         {"a.?b", false, false},
                                         {"a\\nb", false, false},
                                         {"a\\nb", true, false},
                                         {"a.?b", false, true},
                                         {"a\\nb", false, true}}) {
    std::filesystem::path file = dir_.path() / "f.txt";
    test_support::WriteBytes(file, text);
    TGrep grep;
    grep.SetRegExp(c.pattern);
    grep.SetByNfa(c.by_nfa);
    grep.SetStartByStart(c.start_by_start);
    Hits numbered, plain;
    grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
      numbered.push_back({info.LineNo, info.Line});
    };
    grep.Grep(file);
    grep.SetLineNumbers(false);
    grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
      plain.push_back({info.LineNo, info.Line});
    };
    grep.Grep(file);
    ASSERT_FALSE(numbered.empty()) << c.pattern;
    ASSERT_EQ(plain.size(), numbered.size()) << c.pattern;
    for (size_t i = 0; i < plain.size(); ++i) {
      EXPECT_EQ(plain[i], (Hit{0, numbered[i].text})) << c.pattern;
    }
  }
}

// A lead byte takes the next byte even when it is a line end, which then ends no line.
TEST_F(GrepTest, GrepLeadByteBeforeLineEnd) {
  struct Case {
    std::string pattern, text;
    Hits hits;
  };
  const std::vector<Case> cases = {
      {"abc", "\x81\nabc\n", {{1, "\x81\nabc"}}},
      {"abc", "\x81\x81\nabc\n", {{2, "abc"}}},  // a pair of lead-range bytes is a character
      {"cd", "ab\x82\r\ncd\n", {{2, "cd"}}},     // 82 0D is a character; the LF ends line 1
      {"b$", "ab\x82\r\ncd\n", {}},
      {"\\x82$", "ab\x82\r\ncd\n", {}},
      {"\\x820D$", "ab\x82\r\ncd\n", {{1, "ab\x82"}}},
      {"b.d", "ab\x82\ncd\n", {}},
      {"b.c", "b\x82\nc\nb\n", {{1, "b\x82\nc"}}},
      {"x", "a\x82\nb\rx\n", {{2, "x"}}},
      {"b[^a]", "ab\x82", {{1, "ab\x82"}}},  // with the closing line feed, at the file's end
      {"z", "\x82\n\x82\rz", {{1, "\x82\n\x82\rz"}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Both(c.pattern, c.text), c.hits) << ::testing::PrintToString(c.text);
  }
  // Long enough for the vector line count: 40 second-byte line feeds, then 40 real ones.
  std::string trails, reals;
  for (int i = 0; i < 40; ++i) trails += "x\x81\n";
  for (int i = 0; i < 40; ++i) reals += "x\x81\x81\n";
  EXPECT_EQ(Both("abc", trails + "abc\n" + reals + "abc\n"),
            (Hits{{1, trails + "abc"}, {42, "abc"}}));
}

// Text in memory is read as a file of the same bytes: NUL bytes, the missing last line end, a
// lead byte at the very end, no bytes at all, and lines across blocks, by every matcher.
TEST_F(GrepTest, GrepTextReadsLikeAFileOfItsBytes) {
  struct Case {
    std::string pattern, text;
  };
  const std::string across =
      "x\n" + std::string(TTxtFile::kBlockSize - 3, 'y') + S("会議室") + "\r\nz\rq";
  const std::vector<Case> cases = {
      {"a", ""},
      {"b.", std::string("a\0b\0\nb", 6)},
      {"c$", "ab\rc\r\nc"},
      {"b[^a]", "ab\x82"},
      {S("会議"), across},
      {"^[yz]+$", across},
      {"q\\nx|y\\nz", "q\nx\ny\nz"},
  };
  std::filesystem::path file = dir_.path() / "f.txt";
  for (const Case& c : cases) {
    test_support::WriteBytes(file, c.text);
    for (int way = 0; way < 3; ++way) {
      TGrep grep;
      grep.SetRegExp(c.pattern);
      grep.SetStartByStart(way == 1);
      grep.SetByNfa(way == 2);
      Hits from_file, from_memory;
      grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
        from_file.push_back({info.LineNo, info.Line});
      };
      grep.Grep(file);
      grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
        from_memory.push_back({info.LineNo, info.Line});
      };
      grep.GrepText(c.text);
      EXPECT_EQ(from_memory, from_file) << c.pattern << " way " << way;
      EXPECT_EQ(from_memory.empty(), c.text.empty()) << c.pattern << " way " << way;
    }
  }
}

TEST_F(GrepTest, GrepMissingFileCancelAndNoHandler) {
  TGrep grep;
  grep.SetRegExp("a");
  grep.Grep(dir_.path() / "missing.txt");  // no OnMatch: returns before opening
  grep.OnMatch = [](TGrep&, const RE_LineInfo_t&) {};
  EXPECT_THROW(grep.Grep(dir_.path() / "missing.txt"), EFileNotFound);
  EXPECT_THROW(grep.Grep(dir_.path()), EFileNotFound);

  std::filesystem::path file = dir_.path() / "f.txt";
  test_support::WriteBytes(file, std::string(300000, 'a') + "\na\na\n");
  int events = 0, hits = 0;
  grep.ProcessMessages = [&] { ++events; };
  grep.OnMatch = [&](TGrep& g, const RE_LineInfo_t&) {
    if (++hits == 2) g.Cancel = true;
  };
  EXPECT_THROW(grep.Grep(file), EGrepCancel);
  EXPECT_EQ(hits, 2);
  EXPECT_GE(events, 4);  // after each of three blocks and before each line
  // The next search clears the request.
  hits = 0;
  grep.OnMatch = [&](TGrep&, const RE_LineInfo_t&) { ++hits; };
  grep.Grep(file);
  EXPECT_EQ(hits, 3);
}

TEST_F(GrepTest, GrepMatcherChoiceAndFaultyPattern) {
  TGrep grep;
  grep.SetRegExp("abc");
  EXPECT_EQ(grep.CurrentMatcher(), TGrep::Matcher::kString);
  grep.SetRegExp("a.c");
  EXPECT_EQ(grep.CurrentMatcher(), TGrep::Matcher::kAutomaton);
  EXPECT_THROW(grep.SetRegExp("a("), ERegExpParser);
  EXPECT_EQ(grep.CurrentMatcher(), TGrep::Matcher::kAutomaton);
  EXPECT_EQ(Run("^abc", "abc\n"), (Hits{{1, "abc"}}));
}

TEST_F(GrepTest, GrepFindsEveryFormOfADoubledCharacter) {
  // 髙 as Windows writes it and as other tools write it, ∵ in its three forms.
  const std::string text = "\xFB\xFC" + S("橋さん\r\n") + "\xEE\xE0" + S("橋さん\n高橋\r\n") +
                           "\x81\xE6\r\n\x87\x9A\r\n\xFA\x5B";
  EXPECT_EQ(Both("\xEE\xE0" + S("橋"), text),
            (Hits{{1, "\xFB\xFC" + S("橋さん")}, {2, "\xEE\xE0" + S("橋さん")}}));
  EXPECT_EQ(Both("\xFA\x5B", text).size(), 3u);
  EXPECT_EQ(Both("[\xFA\x5B]$", text).size(), 3u);
  EXPECT_EQ(Both("^[^\x81\xE6]$", text).size(), 0u);
}

// A fixed start too long for the deterministic automaton or its byte table: its places are
// found by their bytes and only the rest of the pattern is simulated, with the plain
// simulation's results. The
// places overlap in runs of a, must begin a character, and the rest may be any short pattern.
TEST_F(GrepTest, GrepLongFixedStartThenAShortRest) {
  const std::string a(5000, 'a');
  std::string kana;
  for (int i = 0; i < 5000; ++i) kana += S("あ");
  struct Case {
    std::string pattern, text;
    Hits hits;
  };
  const std::vector<Case> cases = {
      {a + ".",
       "b\n" + a + "\n" + a + "a\r\nx" + a + S("あ") + "\n" + a,
       {{3, a + "a"}, {4, "x" + a + S("あ")}}},
      {a + "[ab]", a + "c\n" + a + "aa\r" + a + "b", {{2, a + "aa"}, {3, a + "b"}}},
      {a + "b*c", a + "bbd\n" + a + "bbc\n" + "a" + a + "c", {{2, a + "bbc"}, {3, "a" + a + "c"}}},
      {a + "(x|y)", a + "z\n" + "x" + a + "y\n", {{2, "x" + a + "y"}}},
      {"^" + a + ".", "x" + a + "b\n" + a + "b\n", {{2, a + "b"}}},
      {a + "$", "x" + a + "\r" + a + "b\r\n", {{1, "x" + a}}},
      {a + "\\n.", a + "\r\nb\n" + a + "\n", {{1, a}}},
      // 82 61 is one character: its a does not begin the fixed start. 81 40 hides the @.
      {a + "[yz]", "x\x82" + a + "y\nx\x82" + a + "ay\n", {{2, "x\x82" + a + "ay"}}},
      {"@" + kana + ".", "\x81@" + kana + "x\n@" + kana + "x\n", {{2, "@" + kana + "x"}}},
      {a + ".", std::string(4999, 'a') + "b\n" + a + "\n", {}},
      // Within the deterministic automaton's bounds, but too large for the byte table.
      {a.substr(2000) + "[bc]", a + "c\n" + a + "\n", {{1, a + "c"}}},
  };
  TGrep grep;
  Hits hits;
  grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
    hits.push_back({info.LineNo, info.Line});
  };
  for (const Case& c : cases) {
    const std::string end = c.pattern.substr(c.pattern.size() - 8);
    grep.SetRegExp(c.pattern);
    EXPECT_EQ(grep.Automaton().Complete(), c.pattern.size() < a.size()) << end;
    test_support::WriteBytes(dir_.path() / "f.txt", c.text);
    for (bool reference : {false, true}) {
      hits.clear();
      grep.SetByNfa(reference);
      grep.Grep(dir_.path() / "f.txt");
      EXPECT_EQ(hits, c.hits) << end << (reference ? " (plain simulation)" : "");
    }
  }
}

// Random patterns over a small alphabet with anchors, classes and double-byte characters,
// against random texts with every kind of line end.
TEST_F(GrepTest, GrepByteTableAgreesWithStartByStart) {
  std::mt19937 rng(12345);
  const std::vector<std::string> atoms = {"a",    "b",     S("あ"),      S("ア"), ".",
                                          "[ab]", "[^a]",  S("[ぁ-ん]"), "^",     "$",
                                          "\\n",  "(a|b)", "x?",         "\\x82", "[\\x01-\\x20]"};
  const std::vector<std::string> pieces = {
      "a", "b", " ", "\n", "\r", "\r\n", S("あ"), S("ア"), "\x82", "\xA0", std::string(1, '\0'),
      "x"};
  for (int round = 0; round < 800; ++round) {
    std::string pattern;
    int len = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < len; ++i) {
      pattern += atoms[rng() % atoms.size()];
      if (rng() % 4 == 0) pattern += (rng() % 2) ? "*" : "+";
    }
    try {
      TRegularExpression check;
      check.SetRegExp(pattern);
    } catch (const ERegExpParser&) {
      continue;
    }
    std::string text;
    int pieces_count = static_cast<int>(rng() % 40);
    for (int i = 0; i < pieces_count; ++i) text += pieces[rng() % pieces.size()];
    // Now and then a text of several blocks, so that lines and characters cross block ends.
    if (round % 200 == 0) {
      while (text.size() < 3 * TTxtFile::kBlockSize) text += pieces[rng() % pieces.size()];
    }
    Both(pattern, text);
    if (HasFailure()) {
      ADD_FAILURE() << "pattern " << pattern << " text " << ::testing::PrintToString(text);
      break;
    }
  }
}

// A large file is mapped and handed out in windows instead of being read block by block; the
// same bytes through a pipe (which cannot be mapped) must give the same lines, numbers and
// texts, NUL bytes, CRs and lead bytes at the window ends included.
TEST_F(GrepTest, GrepMappedFileFindsWhatTheReadOneFinds) {
  const std::vector<std::string> pieces = {S("会議"),
                                           "a",
                                           "b",
                                           "c",
                                           "x",
                                           "yy",
                                           "\n",
                                           "\r",
                                           "\r\n",
                                           std::string(1, '\0'),
                                           std::string(1, '\x81'),
                                           std::string(1, '\x82'),
                                           S("予定"),
                                           " ",
                                           std::string(700, 'q')};
  std::mt19937 rng(5);
  for (bool closed : {true, false}) {
    std::string text;
    while (text.size() < TTxtFile::kMapSize + 3 * TTxtFile::kBlockSize) {
      text += pieces[rng() % pieces.size()];
    }
    if (closed) text += "\n";
    const std::filesystem::path file = dir_.path() / "big.txt";
    const std::filesystem::path fifo = dir_.path() / "pipe";
    test_support::WriteBytes(file, text);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& pattern : {S("会議"), std::string("x|yy"), std::string("a.*b"),
                                       std::string("^$"), std::string("[^a]c$")}) {
      auto grep_of = [&](const std::filesystem::path& path) {
        std::thread writer;
        if (path == fifo) {
          writer = std::thread([&] { std::ofstream(fifo, std::ios::binary) << text; });
        }
        TGrep grep;
        grep.SetRegExp(pattern);
        grep.SetMapLargeFiles(true);
        Hits hits;
        grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
          hits.push_back({info.LineNo, info.Line});
        };
        grep.Grep(path);
        if (writer.joinable()) writer.join();
        return hits;
      };
      Hits mapped = grep_of(file);
      EXPECT_FALSE(mapped.empty()) << pattern;
      EXPECT_EQ(mapped, grep_of(fifo)) << pattern << (closed ? " closed" : " open");
    }
    std::filesystem::remove(fifo);
  }
}

}  // namespace
}  // namespace search
