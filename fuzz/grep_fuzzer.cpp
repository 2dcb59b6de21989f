// Splits the input into a pattern and a text, then greps the text with the fast matcher (the
// byte table, or for patterns without one the one-pass matcher that moves every attempt at
// once) and with a reference: start by start on small texts, where its quadratic time is
// still short, and the simulated nondeterministic automaton on longer ones. Both must report
// the same lines, and neither may read outside its buffers. The first byte chooses the
// pattern's length. Then the expansion of the doubled characters is checked against its
// reference: the pattern with every such character written in another form, and the text
// with every such character written in another form, must find the same lines (by number).
// The text is searched in memory, read exactly as a file of its bytes, so that no run writes
// and opens a file of its own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "search/equivalent_codes.h"
#include "search/grep.h"
#include "search/reg_exp_parser_error.h"

namespace {

enum class Way { kFast, kStartByStart, kNfa };

std::vector<std::pair<int, std::string>> Run(search::TGrep& grep, const std::string& text,
                                             Way way) {
  std::vector<std::pair<int, std::string>> hits;
  grep.SetStartByStart(way == Way::kStartByStart);
  grep.SetByNfa(way == Way::kNfa);
  grep.OnMatch = [&](search::TGrep&, const search::RE_LineInfo_t& info) {
    hits.emplace_back(info.LineNo, info.Line);
  };
  grep.GrepText(text);
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
  // A small pattern (at most 40 bytes) and a small text (at most 1 KB) keep each run short:
  // the byte table grows with the pattern, and the start-by-start reference is quadratic.
  constexpr size_t kMaxPattern = 40;
  constexpr size_t kMaxText = 1024;
  constexpr size_t kMaxStartByStart = 256;
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
  // An empty text has no lines: every matcher reports none, and the search would only build
  // the byte table for nothing (most of the time of such a run). The pattern's other form is
  // still compiled below.
  std::vector<int> hits;
  if (!text.empty()) {
    auto fast = Run(grep, text, Way::kFast);
    // Fixed strings (and alternations of them) are found by their bytes whichever matcher is
    // asked for, and start by start compares each start with their few characters only.
    const bool by_bytes = grep.IsLiteral() || grep.Automaton().RequiredTextsSuffice();
    auto slow = Run(grep, text,
                    text.size() <= kMaxStartByStart || by_bytes ? Way::kStartByStart : Way::kNfa);
    if (fast != slow) std::abort();
    for (size_t i = 1; i < fast.size(); ++i) {
      if (fast[i].first <= fast[i - 1].first) std::abort();  // each line once, in order
    }
    hits = Numbers(fast);
  }

  std::string other_pattern = OtherForms(pattern, true);
  if (other_pattern != pattern) {
    try {
      grep.SetRegExp(other_pattern);
    } catch (const search::ERegExpParser&) {
      std::abort();  // another form of a character cannot make a pattern faulty
    }
    if (!text.empty() && Numbers(Run(grep, text, Way::kFast)) != hits) std::abort();
    grep.SetRegExp(pattern);
  }
  std::string other_text = OtherForms(text, false);
  if (other_text != text && Numbers(Run(grep, other_text, Way::kFast)) != hits) std::abort();
  return 0;
}
