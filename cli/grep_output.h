// The output of mirune-cli grep: result lines are code page 932 text, the terminal speaks
// UTF-8, and a search can report millions of lines, so lines are gathered, converted by table
// look-up and written in large pieces.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Code page 932 to UTF-8 exactly as cp932::ToUtf8 converts (an undecodable byte prints as
// U+FFFD and the conversion goes on with the next byte), by tables of each lead byte's
// characters, filled from the codec as they are first needed.
class TCp932ToUtf8 {
 public:
  // Appends the UTF-8 of `text` to `out`.
  void Append(std::string_view text, std::string& out);
  // Writes the UTF-8 of `text` at `dst`, which has room for kMaxGrowth bytes a byte of it;
  // returns the end of what was written.
  char* Write(std::string_view text, char* dst);
  // A code page 932 byte is at most three bytes of UTF-8 (a half-width katakana); a pair of
  // bytes at most three too.
  static constexpr size_t kMaxGrowth = 3;

 private:
  struct Utf8Of {
    std::uint8_t size = 0;  // 0: the pair is no character; the lead byte goes alone
    char bytes[3];
  };
  using Row = std::array<Utf8Of, 256>;
  const Row& RowOf(unsigned lead);

  std::array<std::unique_ptr<Row>, 256> rows_;  // 0: the single bytes
  std::array<const Row*, 256> filled_{};        // rows_ once filled, for the hot loop
};

class TGrepOutput {
 public:
  explicit TGrepOutput(std::ostream& out) : out_(out) {}
  ~TGrepOutput() { Flush(); }
  TGrepOutput(const TGrepOutput&) = delete;
  TGrepOutput& operator=(const TGrepOutput&) = delete;

  // "NAME:NUMBER:" (NAME in UTF-8) before the code page 932 text.
  void Line(std::string_view name_utf8, int number, std::string_view text_cp932);
  // A UTF-8 prefix before the code page 932 text.
  void Line(std::string_view prefix_utf8, std::string_view text_cp932);
  void Flush();

 private:
  static constexpr size_t kFlushSize = 1 << 16;
  // Room for `bytes` more after what is pending: written out first when that is full.
  char* Room(size_t bytes);
  // What is pending now ends at `end`; written out once it passes kFlushSize.
  void Written(const char* end);

  std::ostream& out_;
  TCp932ToUtf8 converter_;
  // UTF-8 waiting to be written. A plain buffer rather than a string: a string would clear
  // the room for each line's longest conversion before it is written.
  std::unique_ptr<char[]> pending_;
  size_t pending_size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace cli
