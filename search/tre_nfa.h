// TRE_NFA: the nondeterministic automaton built from a partitioned parse tree. State 0 is the
// start state and state 1 the final state; each state keeps its transitions newest first.
#pragma once

#include <cstdint>
#include <vector>

#include "search/tre_parse_tree.h"

namespace search {

struct TRE_NFATransition {
  RECode low = 0, high = 0;
  bool epsilon = false;  // kept apart from the codes, so that \xFFFF stays an ordinary code
  int target = 0;
  int next = -1;  // the state's next (older) transition, or -1
};

class TRE_NFA {
 public:
  static constexpr int kStart = 0;
  static constexpr int kFinal = 1;
  // A bound far beyond any typed pattern; a larger automaton is refused as too complex.
  static constexpr int kMaxStates = 1 << 20;

  TRE_NFA(TRENode* root, RECode head_code, RECode tail_code);

  int StateCount() const { return static_cast<int>(first_.size()); }
  int FirstTransition(int state) const { return first_[state]; }
  const TRE_NFATransition& Transition(int index) const { return transitions_[index]; }
  bool AnchoredAtHead() const { return anchored_head_; }
  bool AnchoredAtTail() const { return anchored_tail_; }

 private:
  int NewState();
  void AddTransition(int from, int to, RECode low, RECode high, bool epsilon);
  void GenerateStateList(TRENode* node, int from, int to);

  RECode head_code_, tail_code_;
  std::vector<int> first_;
  std::vector<TRE_NFATransition> transitions_;
  bool anchored_head_ = false;
  bool anchored_tail_ = false;
};

}  // namespace search
