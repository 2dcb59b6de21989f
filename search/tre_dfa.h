// TRE_DFA: the deterministic automaton of a pattern, built from its nondeterministic automaton by
// subset construction; each state's transitions are sorted by range start. It also knows whether
// the pattern is a fixed string (the literal text), which the grep compares directly. When the
// construction would go past its budget (some patterns need exponentially many states), the
// automaton is left incomplete and only the nondeterministic form is used, which the grep
// simulates in time linear in the text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "search/tre_nfa.h"
#include "search/tre_nfa_state_set.h"

namespace search {

// A fuzzing build, instrumented and under the sanitizers, takes fifty to a hundred times as long
// to fill the compile budgets of the automaton and the byte table, and the few patterns that do
// took most of its time: there a tenth of each leads to the same fallbacks sooner, and the
// fuzzers try twice the patterns a second.
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
inline constexpr int kBudgetDivisor = 10;
#else
inline constexpr int kBudgetDivisor = 1;
#endif

struct TRE_DFATransition {
  RECode low = 0, high = 0;
  int target = 0;
};

struct TRE_DFAState {
  explicit TRE_DFAState(TRE_NFAStateSet s) : set(std::move(s)) {}
  TRE_NFAStateSet set;
  bool processed = false;
  bool accepting = false;
  std::vector<TRE_DFATransition> transitions;
};

class TRE_DFA {
 public:
  // Bounds of the subset construction; beyond them the automaton is left incomplete. The work
  // bound counts the automaton states looked at for every state made, which is what makes the
  // construction quadratic on long patterns.
  static constexpr int kMaxStates = 20000 / kBudgetDivisor;
  static constexpr std::uint64_t kMaxWork = (24u << 20) / kBudgetDivisor;
  static constexpr size_t kMaxBytes = 64u << 20;
  // A trie of words keeps about 64 bytes a state: 2 million states stay within 128 MB.
  static constexpr int kMaxWordStates = 2'000'000;

  // The automaton of the empty pattern.
  TRE_DFA();
  explicit TRE_DFA(std::shared_ptr<const TRE_NFA> nfa);
  // The automaton of an alternation of fixed words (none empty), built straight as their trie:
  // time and memory in proportion to the words' length, where the subset construction would
  // keep a set as large as the pattern for each of its states. The trie's states recognise
  // the same text; only the states that end a word without going on are not merged into one.
  static std::unique_ptr<TRE_DFA> FromWords(const std::vector<std::vector<RECode>>& words);

  // False when the construction stopped at its bounds: then only Nfa() may be used to match.
  bool Complete() const { return complete_; }
  // The nondeterministic automaton this one was built from; null for the empty pattern and for
  // word lists.
  const TRE_NFA* Nfa() const { return nfa_.get(); }

  int Initial() const { return 0; }
  int StateCount() const { return static_cast<int>(states_.size()); }
  const TRE_DFAState& State(int index) const { return states_[index]; }
  bool Accepting(int state) const { return states_[state].accepting; }
  // The next state for a character, or -1: transitions are scanned in order and the scan stops
  // at the first range that starts above the code.
  int Next(int state, RECode code) const;
  // The same result by a binary search, for states with many transitions.
  int NextSorted(int state, RECode code) const;

  bool IsLiteral() const { return literal_; }
  const std::string& LiteralText() const { return literal_text_; }

  // Byte strings of which every match contains one within its line (none when nothing is
  // known); set by the compiler from the parse tree.
  const std::vector<std::string>& RequiredTexts() const { return required_texts_; }
  void SetRequiredTexts(std::vector<std::string> texts, bool sufficient) {
    required_texts_ = std::move(texts);
    texts_suffice_ = sufficient;
  }
  // True when the pattern is just an alternation of the required texts.
  bool RequiredTextsSuffice() const { return texts_suffice_; }

  // A faster form that a matcher builds once and keeps with the automaton, so that a pattern
  // found again in the cache is not rebuilt.
  std::shared_ptr<const void>& Attachment() const { return attachment_; }

 private:
  void Build();
  void DetectLiteral();

  std::vector<TRE_DFAState> states_;
  std::shared_ptr<const TRE_NFA> nfa_;
  bool complete_ = true;
  bool literal_ = false;
  std::string literal_text_;
  std::vector<std::string> required_texts_;
  bool texts_suffice_ = false;
  mutable std::shared_ptr<const void> attachment_;
};

// True when a code is a character that text can hold, so that comparing its bytes finds exactly
// the places where the automaton would see it: a single byte that is not a lead byte (nor NUL or
// carriage return, which never reach the automaton), or a lead byte with a trail byte that is
// not NUL, line feed or carriage return.
bool IsTextCode(RECode code);
// The one or two bytes of a code.
void AppendCode(std::string& out, RECode code);

}  // namespace search
