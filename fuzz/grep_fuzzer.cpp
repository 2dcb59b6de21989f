// Splits the input into a pattern and a file, then greps the file with the fast matcher (the
// byte table, or for patterns without one the one-pass matcher that moves every attempt at
// once) and with the start-by-start matcher: both must report the same lines, and neither may
// read outside its buffers. The first byte chooses the pattern's length. Then the expansion of
// the doubled characters is checked against its reference: the pattern with every such
// character written in another form, and the file with every such character written in
// another form, must find the same lines (by number).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "search/equivalent_codes.h"
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

// The bytes with every character that has other forms written in its next form. In a pattern
// a character next to "-" is left alone: as the end of a range it stands for its code, and
// another form of it would be a range over other codes ([@-ⅹ] is not [@-ⅹ] in the NEC form).
std::string OtherForms(const std::string& bytes, bool pattern) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (!cp932::IsLeadByte(b) || i + 1 >= bytes.size()) {
      out += bytes[i];
      continue;
    }
    bool range_end = pattern && ((i > 0 && bytes[i - 1] == '-') ||
                                 (i + 2 < bytes.size() && bytes[i + 2] == '-'));
    if (range_end) {
      out.append(bytes, i, 2);
      ++i;
      continue;
    }
    auto code = static_cast<search::RECode>(b << 8 | static_cast<unsigned char>(bytes[i + 1]));
    const std::vector<search::RECode>& others = search::EquivalentCodes(code);
    search::RECode form = others.empty() ? code : others[0];
    out += static_cast<char>(form >> 8);
    out += static_cast<char>(form & 0xFF);
    ++i;
  }
  return out;
}

std::vector<int> Numbers(const std::vector<std::pair<int, std::string>>& hits) {
  std::vector<int> numbers;
  for (const auto& hit : hits) numbers.push_back(hit.first);
  return numbers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A small pattern (at most 64 bytes) and a small file (at most 1 KB) keep each run to
  // microseconds: the start-by-start reference is quadratic, and the byte table grows with
  // the pattern.
  constexpr size_t kMaxPattern = 64;
  constexpr size_t kMaxText = 1024;
  if (size < 1) return 0;
  size_t pattern_size = std::min<size_t>(data[0] % (kMaxPattern + 1), size - 1);
  if (size - 1 - pattern_size > kMaxText) return 0;
  std::string pattern(reinterpret_cast<const char*>(data) + 1, pattern_size);
  std::string text(reinterpret_cast<const char*>(data) + 1 + pattern_size, size - 1 - pattern_size);
  // The grep forgets what it compiled when the run ends: a pattern kept from run to run would
  // look to libFuzzer like memory that leaked, and it would scan the whole heap for it, which
  // costs far more than the run.
  static search::TGrep grep;
  struct Forget {
    ~Forget() { grep.ForgetCompiled(); }
  } forget;
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

  std::string other_pattern = OtherForms(pattern, true);
  if (other_pattern != pattern) {
    try {
      grep.SetRegExp(other_pattern);
    } catch (const search::ERegExpParser&) {
      std::abort();  // another form of a character cannot make a pattern faulty
    }
    if (Numbers(Run(grep, path, false)) != Numbers(fast)) std::abort();
    grep.SetRegExp(pattern);
  }
  std::string other_text = OtherForms(text, false);
  if (other_text != text) {
    {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(other_text.data(), static_cast<std::streamsize>(other_text.size()));
    }
    if (Numbers(Run(grep, path, false)) != Numbers(fast)) std::abort();
  }
  return 0;
}
