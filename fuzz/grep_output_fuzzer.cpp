// The output conversion of mirune-cli grep against the codec. The input is a recipe for long
// lines: each pair of bytes is a byte and how often it repeats (up to 64 KB in all), so that
// runs of half-width katakana, ASCII, lead bytes and undecodable bytes of any length meet.
// Every line must convert exactly as the codec converts it, and the batches must come out
// whole, without a write outside the buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/grep_output.h"
#include "platform/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text;
  for (size_t i = 0; i + 1 < size && text.size() < 65536; i += 2) {
    size_t repeat = data[i + 1] < 0xF0 ? 1 : size_t{1} << (data[i + 1] - 0xF0);
    text.append(repeat, static_cast<char>(data[i]));
  }
  static cli::TCp932ToUtf8 converter;
  std::string converted = "x";
  converter.Append(text, converted);
  if (converted != "x" + cp932::ToUtf8(text)) std::abort();

  // The same bytes as result lines, split at their line ends, through the batching writer.
  std::ostringstream stream;
  std::string expected;
  {
    cli::TGrepOutput out(stream);
    size_t from = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i < text.size() && text[i] != '\n' && text[i] != '\r') continue;
      std::string line = text.substr(from, i - from);
      out.Line("f", static_cast<int>(i), line);
      expected += "f:" + std::to_string(i) + ":" + cp932::ToUtf8(line) + "\n";
      from = i + 1;
    }
  }
  if (stream.str() != expected) std::abort();
  return 0;
}
