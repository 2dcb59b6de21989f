// Feeds arbitrary bytes to the pattern compiler, with and without the equivalence dictionary:
// it must either compile or throw ERegExpParser, never crash, hang or exhaust memory, and a
// compiled automaton must be well formed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "search/reg_exp_parser_error.h"
#include "search/regular_expression.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Small patterns keep each run to microseconds, so that the fuzzer explores. The word-list
  // construction begins at 256 bytes: longer inputs are taken only as such lists (no syntax but
  // "|"), which compile in time in proportion to their length, and only without the
  // dictionary, which would turn their letters into groups. The dictionary turns every
  // character of a pattern into a group of its forms, so it is tried on the shorter patterns
  // only: on longer ones it doubled the time of a run, and in a three-minute run the fuzzer
  // reached more of the compiler without it there than with it.
  constexpr size_t kMaxPattern = 48;
  constexpr size_t kMaxFuzzyPattern = 24;
  constexpr size_t kMaxWordList = 600;
  if (size > kMaxWordList) return 0;
  const bool word_list = size > kMaxPattern;
  if (word_list && std::any_of(data, data + size, [](std::uint8_t b) {
        return b != 0 && std::strchr("\\()[]*+?.^$", b) != nullptr;
      })) {
    return 0;
  }
  std::string pattern(reinterpret_cast<const char*>(data), size);
  // A compiler of its own for each run: one kept from run to run would keep the patterns it
  // compiled, and libFuzzer takes memory kept past a run for a possible leak and scans the
  // whole heap for it, which costs far more than the run. Its copy of the dictionary shares
  // the built-in one's groups.
  search::TRegularExpression re;
  re.PreProcessor().FuzzyCharDics.push_back(search::TREPreProcessor::BuiltInFuzzyCharDic());
  for (bool fuzzy : {false, true}) {
    if (fuzzy && size > kMaxFuzzyPattern) break;
    // Positions count in the text that is compiled: the expanded one when the dictionary is on.
    size_t compiled_size = size;
    try {
      re.PreProcessor().UseFuzzyCharDic = fuzzy;
      compiled_size = re.PreProcessor().Process(pattern).size();
    } catch (const search::ERegExpParser&) {
    }
    try {
      re.SetRegExp(pattern);
    } catch (const search::ERegExpParser& e) {
      if (e.Position() < 1 || e.Position() > static_cast<int>(compiled_size + 1)) std::abort();
      if (re.CurrentIndex() != 0 || !re.RegExp().empty()) std::abort();
      continue;
    }
    const search::TRE_DFA& dfa = re.Automaton();
    for (int s = 0; s < dfa.StateCount(); ++s) {
      const auto& ts = dfa.State(s).transitions;
      for (size_t i = 0; i < ts.size(); ++i) {
        if (ts[i].low > ts[i].high || ts[i].target < 0 || ts[i].target >= dfa.StateCount())
          std::abort();
        if (i > 0 && ts[i].low <= ts[i - 1].high) std::abort();  // sorted and disjoint
      }
    }
    if (re.IsLiteral() && !fuzzy && re.LiteralText().size() > size) std::abort();
  }
  return 0;
}
