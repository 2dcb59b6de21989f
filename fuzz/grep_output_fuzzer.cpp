// The output conversion of mirune-cli grep against the codec. The input is a recipe for long
// lines: each pair of bytes is a byte and how often it repeats (up to 32 KB in all, which is
// still more than the 64 KB of UTF-8 at which the writer flushes when the text is half-width
// katakana), so that runs of half-width katakana, ASCII, lead bytes and undecodable bytes of
// any length meet. Every line must convert exactly as the codec converts it, and the batches
// must come out whole, without a write outside the buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/grep_output.h"
#include "platform/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text;
  for (size_t i = 0; i + 1 < size && text.size() < 32768; i += 2) {
    size_t repeat = data[i + 1] < 0xF0 ? 1 : size_t{1} << (data[i + 1] - 0xF0);
    text.append(repeat, static_cast<char>(data[i]));
  }

  // The same bytes as result lines, split at their line ends, through the batching writer.
  // mirune-cli grep writes millions of lines through one writer, whose tables fill as lead
  // bytes turn up; one writer for every run does the same and spares each run the filling.
  // The codec's conversion of the lines, with their line ends between them, is the conversion
  // of the whole text: CR and LF are no trail bytes, so no character spans a line end.
  static std::ostringstream stream;
  static cli::TGrepOutput out(stream);
  stream.str("");
  std::string expected;
  std::string whole = "x";
  size_t from = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n' && text[i] != '\r') continue;
    const std::string_view line(text.data() + from, i - from);
    out.Line("f", static_cast<int>(i), line);
    const std::string utf8 = cp932::ToUtf8(line);
    expected += "f:" + std::to_string(i) + ":" + utf8 + "\n";
    whole += utf8;
    if (i < text.size()) whole += text[i];
    from = i + 1;
  }
  out.Flush();
  if (stream.str() != expected) std::abort();

  static cli::TCp932ToUtf8 converter;
  std::string converted = "x";
  converter.Append(text, converted);
  if (converted != whole) std::abort();
  return 0;
}
