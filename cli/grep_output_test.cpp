// The output of mirune-cli grep: the table conversion against the codec for every byte class,
// and lines of half-width katakana, whose UTF-8 is three times their length, written whole.
#include "cli/grep_output.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "platform/cp932.h"
#include "test_support/run_cli.h"
#include "test_support/temp_dir.h"

namespace cli {
namespace {

TEST(GrepOutput, TableConversionEqualsTheCodecForEveryByteClass) {
  // ASCII, half-width katakana, lead bytes with good and bad trail bytes (a line end, ASCII,
  // 0x7F, 0xFD-0xFF), undecodable singles, user-defined and IBM rows, a lead byte at the end.
  const std::vector<std::string> texts = {
      "abc",
      std::string(17, '\xB1') + std::string(10, 'b') + "\xB1",
      "\x88\x9F\x95\x5C\x83\x5C\x94\x5C",  // 亜 表 ソ 能: second bytes like ASCII
      "\x81\x0A\x81\x20\x81\x7F\x9F\xFD\xE0\xFF",
      "\x80\xA0\xFD\xFE\xFF",
      "\xF0\x40\xF9\xFC\xFA\x40\xFB\xFC\xEE\xE0\xED\x40\x87\x40\x85\x40",
      "tail lead \x81",
      std::string(1, '\0') + "\x1A\r",
  };
  TCp932ToUtf8 converter;
  for (const std::string& text : texts) {
    std::string out = "prefix";
    converter.Append(text, out);
    EXPECT_EQ(out, "prefix" + cp932::ToUtf8(text)) << cp932::ToUtf8(text);
  }
  // Long random lines of every byte.
  std::mt19937 random(17);
  for (int round = 0; round < 20; ++round) {
    std::string text(static_cast<size_t>(random() % 5000), '\0');
    for (char& c : text) c = static_cast<char>(random() % 256);
    std::string out;
    converter.Append(text, out);
    ASSERT_EQ(out, cp932::ToUtf8(text));
  }
}

TEST(GrepOutput, BatchesOfAnyLengthAreWrittenWhole) {
  std::ostringstream stream;
  std::string expected;
  {
    TGrepOutput out(stream);
    for (int i = 0; i < 3000; ++i) {
      std::string text(static_cast<size_t>(i % 97), '\xB1');
      text += std::string(static_cast<size_t>(i % 13), 'b');
      out.Line("f", i, text);
      expected += "f:" + std::to_string(i) + ":" + cp932::ToUtf8(text) + "\n";
    }
  }
  EXPECT_EQ(stream.str(), expected);
}

// The two reports of the fault, run as a user would: a line of 17 ｱ, ten "b" and one ｱ once
// printed NUL bytes for its tail, and a file of ｱ runs and "a" lines overwrote the heap.
TEST(GrepOutput, CliLinesOfHalfWidthKatakana) {
  test_support::TempDir dir;
  std::string line = std::string(17, '\xB1') + std::string(10, 'b') + "\xB1";
  test_support::WriteBytes(dir.path() / "one.txt", line + "\r\n");
  test_support::CliResult r = test_support::RunCli(dir.path(), "grep --files b one.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "one.txt:1:" + cp932::ToUtf8(line) + "\n");

  // 20 KB of ｱ runs ending in "a", then 40 KB of "a" lines: the runs' UTF-8 fills a buffer
  // sized for half as much again as the bytes, and the ASCII after them ran past its end.
  std::string file, expected;
  for (int n = 1; file.size() < 62000; ++n) {
    std::string line = std::string(file.size() < 20000 ? 299 : 0, '\xB1') + "a";
    file += line + (n % 2 ? "\r\n" : "\n");
    expected += "big.txt:" + std::to_string(n) + ":" + cp932::ToUtf8(line) + "\n";
  }
  test_support::WriteBytes(dir.path() / "big.txt", file);
  r = test_support::RunCli(dir.path(), "grep --files a big.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, expected);
}

}  // namespace
}  // namespace cli
