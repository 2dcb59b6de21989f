// The wide forms of the byte scanners against the plain one, on random bytes rich in what they
// must tell apart: LF, CR, CR LF, lead bytes before line ends, needles at every offset and at
// the ends of the buffer.
#include "search/byte_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace search::byte_scan {
namespace {

std::vector<Width> WidthsHere() {
  std::vector<Width> widths = {Width::kPlain};
  if (Widest() != Width::kPlain) widths.push_back(Width::kSse2);
  if (Widest() == Width::kAvx2) widths.push_back(Width::kAvx2);
  return widths;
}

TEST(ByteScanTest, WideFormsAgreeWithThePlainOne) {
  const std::string alphabet = std::string(
                                   "\n\r\x81\x82\xE0\xFC\x9F\x40\xA0"
                                   "ab") +
                               '\0';
  const std::vector<std::string> needles = {"ab",   "\x82\xA0", "a\nb",
                                            "\r\n", "aba",      std::string(40, 'a') + "b"};
  std::mt19937 rng(7);
  for (int round = 0; round < 400; ++round) {
    std::string text(rng() % 300, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    if (round % 50 == 0) text.append(5000, 'a');  // long runs pass whole vectors
    const auto* buf = reinterpret_cast<const unsigned char*>(text.c_str());
    const size_t from = text.empty() ? 0 : rng() % text.size();
    for (Width width : WidthsHere()) {
      // The byte at `to` must be readable: the string's terminating NUL is.
      EXPECT_EQ(CountLineEnds(buf, from, text.size(), width),
                CountLineEnds(buf, from, text.size(), Width::kPlain))
          << static_cast<int>(width) << " round " << round;
      for (const std::string& needle : needles) {
        EXPECT_EQ(FindBytes(buf + from, text.size() - from, needle, width),
                  FindBytes(buf + from, text.size() - from, needle, Width::kPlain))
            << static_cast<int>(width) << " round " << round << " needle " << needle.size();
      }
    }
  }
}

TEST(ByteScanTest, PlainFormsOnKnownBytes) {
  struct Case {
    std::string text;
    std::uint64_t line_ends;
  };
  const Case cases[] = {
      {"a\nb\r\nc\rd", 3}, {"\x81\n\n", 1},  // the first LF is the second byte of a character
      {"\x81\x81\n", 1},                     // two lead bytes are one character: the LF ends a line
      {"\r\r\n\n", 3},     {"", 0},
  };
  for (const Case& c : cases) {
    const auto* buf = reinterpret_cast<const unsigned char*>(c.text.c_str());
    EXPECT_EQ(CountLineEnds(buf, 0, c.text.size(), Width::kPlain), c.line_ends) << c.text;
  }
  const std::string hay = "xx\x82\xA0yy";
  const auto* h = reinterpret_cast<const unsigned char*>(hay.data());
  EXPECT_EQ(FindBytes(h, hay.size(), "\xA0y", Width::kPlain), h + 3);
  EXPECT_EQ(FindBytes(h, hay.size(), "yyy", Width::kPlain), nullptr);
}

}  // namespace
}  // namespace search::byte_scan
