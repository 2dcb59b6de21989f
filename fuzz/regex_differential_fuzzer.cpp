// Every matcher of one compiled pattern must agree on the same text. The first byte chooses the
// pattern's length (at most 64 bytes) and whether the equivalence dictionary is on; the pattern
// follows, then the text (at most 1 KB). Compared are:
//  - the lines the grep reports by its fast path (the fixed-string search, the byte table or
//    the one-pass matcher), by the nondeterministic automaton simulated over the whole text,
//    and start by start, which follows the deterministic automaton from every character and
//    uses none of the required-text skipping (on texts of at most 256 bytes: it is quadratic);
//    and the fast path again without line numbers. The text is searched in memory, read
//    exactly as a file of its bytes; an empty one, which has no lines, is not searched;
//  - the deterministic automaton against the nondeterministic one it was built from, simulated
//    here step by step: from each of the first characters, after every character, both must
//    agree on whether the text so far is a match and whether any match can still follow.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "search/grep.h"
#include "search/reg_exp_parser_error.h"
#include "search/tre_dfa.h"
#include "search/tre_nfa.h"

namespace {

constexpr size_t kMaxPattern = 64;
constexpr size_t kMaxText = 1024;
constexpr size_t kMaxStartByStart = 256;
constexpr size_t kStarts = 16;  // starts of the automaton comparison
constexpr size_t kSteps = 64;   // characters followed from each start

enum class Way { kFast, kNfa, kStartByStart, kFastNoNumbers };

std::vector<std::pair<int, std::string>> Lines(search::TGrep& grep, const std::string& text,
                                               Way way) {
  std::vector<std::pair<int, std::string>> hits;
  grep.SetStartByStart(way == Way::kStartByStart);
  grep.SetByNfa(way == Way::kNfa);
  grep.SetLineNumbers(way != Way::kFastNoNumbers);
  grep.OnMatch = [&](search::TGrep&, const search::RE_LineInfo_t& info) {
    hits.emplace_back(info.LineNo, info.Line);
  };
  grep.GrepText(text);
  return hits;
}

// The codes of the text as the grep reads it: CR, LF and CR LF are one line feed, a lead byte
// takes the next byte whatever it is.
std::vector<search::RECode> Codes(const std::string& text) {
  std::vector<search::RECode> codes;
  for (size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    if (b == '\r' || b == '\n') {
      i += (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      codes.push_back(10);
    } else if (cp932::IsLeadByte(b) && i + 1 < text.size()) {
      codes.push_back(
          static_cast<search::RECode>(b << 8 | static_cast<unsigned char>(text[i + 1])));
      i += 2;
    } else {
      codes.push_back(b);
      ++i;
    }
  }
  return codes;
}

// The nondeterministic automaton run forwards on a set of states.
class NfaRun {
 public:
  explicit NfaRun(const search::TRE_NFA& nfa)
      : nfa_(nfa),
        in_(static_cast<size_t>(nfa.StateCount()), 0),
        reaches_final_(static_cast<size_t>(nfa.StateCount()), 0) {
    // The states from which the final state can be reached, backwards from it.
    std::vector<std::vector<int>> into(static_cast<size_t>(nfa.StateCount()));
    for (int s = 0; s < nfa.StateCount(); ++s) {
      for (int t = nfa.FirstTransition(s); t >= 0; t = nfa.Transition(t).next) {
        into[static_cast<size_t>(nfa.Transition(t).target)].push_back(s);
      }
    }
    std::vector<int> work{search::TRE_NFA::kFinal};
    reaches_final_[search::TRE_NFA::kFinal] = 1;
    while (!work.empty()) {
      int s = work.back();
      work.pop_back();
      for (int from : into[static_cast<size_t>(s)]) {
        if (!reaches_final_[static_cast<size_t>(from)]) {
          reaches_final_[static_cast<size_t>(from)] = 1;
          work.push_back(from);
        }
      }
    }
  }

  void Start() {
    Clear();
    Add(search::TRE_NFA::kStart);
    Close();
  }
  void Step(search::RECode code) {
    std::vector<int> from;
    from.swap(members_);
    for (int s : from) in_[static_cast<size_t>(s)] = 0;
    for (int s : from) {
      for (int t = nfa_.FirstTransition(s); t >= 0; t = nfa_.Transition(t).next) {
        const search::TRE_NFATransition& tr = nfa_.Transition(t);
        if (!tr.epsilon && tr.low <= code && code <= tr.high) Add(tr.target);
      }
    }
    Close();
  }
  bool Accepts() const { return in_[search::TRE_NFA::kFinal] != 0; }
  // A match may still end here or later.
  bool Live() const {
    return std::any_of(members_.begin(), members_.end(),
                       [&](int s) { return reaches_final_[static_cast<size_t>(s)] != 0; });
  }

 private:
  void Clear() {
    for (int s : members_) in_[static_cast<size_t>(s)] = 0;
    members_.clear();
  }
  void Add(int s) {
    if (in_[static_cast<size_t>(s)]) return;
    in_[static_cast<size_t>(s)] = 1;
    members_.push_back(s);
  }
  void Close() {
    for (size_t j = 0; j < members_.size(); ++j) {
      for (int t = nfa_.FirstTransition(members_[j]); t >= 0; t = nfa_.Transition(t).next) {
        if (nfa_.Transition(t).epsilon) Add(nfa_.Transition(t).target);
      }
    }
  }

  const search::TRE_NFA& nfa_;
  std::vector<std::uint8_t> in_;
  std::vector<std::uint8_t> reaches_final_;
  std::vector<int> members_;
};

// A deterministic state from which no accepting state can be reached is as good as none.
std::vector<bool> Live(const search::TRE_DFA& dfa) {
  std::vector<bool> live(static_cast<size_t>(dfa.StateCount()), false);
  for (bool changed = true; changed;) {
    changed = false;
    for (int s = 0; s < dfa.StateCount(); ++s) {
      if (live[static_cast<size_t>(s)]) continue;
      bool l = dfa.Accepting(s);
      for (const search::TRE_DFATransition& t : dfa.State(s).transitions) {
        l = l || live[static_cast<size_t>(t.target)];
      }
      if (l) live[static_cast<size_t>(s)] = changed = true;
    }
  }
  return live;
}

void CompareAutomata(const search::TRE_DFA& dfa, const std::vector<search::RECode>& codes) {
  if (!dfa.Complete() || !dfa.Nfa()) return;
  const std::vector<bool> live = Live(dfa);
  NfaRun nfa(*dfa.Nfa());
  for (size_t start = 0; start < std::min(codes.size(), kStarts); ++start) {
    nfa.Start();
    int state = dfa.Initial();
    if (dfa.Accepting(state) != nfa.Accepts()) std::abort();
    for (size_t i = start; i < codes.size() && i < start + kSteps; ++i) {
      const int next = dfa.Next(state, codes[i]);
      if (dfa.NextSorted(state, codes[i]) != next) std::abort();
      state = next;
      nfa.Step(codes[i]);
      const bool dfa_live = state >= 0 && live[static_cast<size_t>(state)];
      if (dfa_live != nfa.Live()) std::abort();
      if ((state >= 0 && dfa.Accepting(state)) != nfa.Accepts()) std::abort();
      if (state < 0) break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 1 + kMaxPattern + kMaxText) return 0;
  const bool fuzzy = (data[0] & 0x80) != 0;
  size_t pattern_size = std::min<size_t>((data[0] & 0x7F) % (kMaxPattern + 1), size - 1);
  std::string pattern(reinterpret_cast<const char*>(data) + 1, pattern_size);
  std::string text(reinterpret_cast<const char*>(data) + 1 + pattern_size, size - 1 - pattern_size);
  if (text.size() > kMaxText) return 0;
  // The grep forgets what it compiled when the run ends: a pattern kept from run to run would
  // look to libFuzzer like memory that leaked, and it would scan the whole heap for it, which
  // costs far more than the run.
  static search::TGrep grep;
  struct Forget {
    ~Forget() { grep.ForgetCompiled(); }
  } forget;
  try {
    grep.PreProcessor().UseFuzzyCharDic = fuzzy;
    grep.SetRegExp(pattern);
  } catch (const search::ERegExpParser&) {
    return 0;
  }
  if (!text.empty()) {
    auto fast = Lines(grep, text, Way::kFast);
    for (size_t i = 1; i < fast.size(); ++i) {
      if (fast[i].first <= fast[i - 1].first) std::abort();  // each line once, in order
    }
    if (Lines(grep, text, Way::kNfa) != fast) std::abort();
    if (text.size() <= kMaxStartByStart && Lines(grep, text, Way::kStartByStart) != fast) {
      std::abort();
    }
    auto unnumbered = Lines(grep, text, Way::kFastNoNumbers);
    if (unnumbered.size() != fast.size()) std::abort();
    for (size_t i = 0; i < fast.size(); ++i) {
      if (unnumbered[i].first != 0 || unnumbered[i].second != fast[i].second) std::abort();
    }
  }
  CompareAutomata(grep.Automaton(), Codes("\n" + text));
  return 0;
}
