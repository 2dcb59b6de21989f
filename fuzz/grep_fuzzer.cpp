// Splits the input into a pattern and a file, then greps the file with the byte table and with
// the start-by-start matchers: both must report the same lines, and neither may read outside
// its buffers. The first byte chooses the pattern's length.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "search/grep.h"
#include "search/reg_exp_parser_error.h"

namespace {

std::vector<std::pair<int, std::string>> Run(search::TGrep& grep, const std::string& path,
                                             bool start_by_start) {
  std::vector<std::pair<int, std::string>> hits;
  grep.SetStartByStart(start_by_start);
  grep.OnMatch = [&](search::TGrep&, const search::RE_LineInfo_t& info) {
    hits.emplace_back(info.LineNo, info.Line);
  };
  grep.Grep(path);
  return hits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 300000) return 0;
  size_t pattern_size = std::min<size_t>(data[0] % 32, size - 1);
  std::string pattern(reinterpret_cast<const char*>(data) + 1, pattern_size);
  std::string text(reinterpret_cast<const char*>(data) + 1 + pattern_size, size - 1 - pattern_size);
  static search::TGrep grep;
  try {
    grep.SetRegExp(pattern);
  } catch (const search::ERegExpParser&) {
    return 0;
  }
  static const std::string path = "/tmp/mirune-fuzz-grep-" + std::to_string(getpid()) + ".txt";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  auto fast = Run(grep, path, false);
  auto slow = Run(grep, path, true);
  if (fast != slow) std::abort();
  for (size_t i = 1; i < fast.size(); ++i) {
    if (fast[i].first <= fast[i - 1].first) std::abort();  // each line once, in order
  }
  return 0;
}
