#include "search/tre_nfa.h"

#include <stdexcept>
#include <tuple>

#include "search/reg_exp_parser_error.h"

namespace search {

TRE_NFA::TRE_NFA(TRENode* root, RECode head_code, RECode tail_code)
    : head_code_(head_code), tail_code_(tail_code) {
  NewState();  // start
  NewState();  // final
  GenerateStateList(root, kStart, kFinal);
}

int TRE_NFA::NewState() {
  first_.push_back(-1);
  return static_cast<int>(first_.size()) - 1;
}

void TRE_NFA::AddTransition(int from, int to, RECode low, RECode high, bool epsilon) {
  transitions_.push_back({low, high, epsilon, to, first_[from]});
  first_[from] = static_cast<int>(transitions_.size()) - 1;
}

// Long patterns make deep trees (a concatenation chain is as deep as the pattern is long), so
// the walk keeps its own stack instead of recursing.
void TRE_NFA::GenerateStateList(TRENode* root, int start, int final_state) {
  std::vector<std::tuple<TRENode*, int, int>> work{{root, start, final_state}};
  while (!work.empty()) {
    auto [node, from, to] = work.back();
    work.pop_back();
    if (StateCount() > kMaxStates) {
      throw ERegExpParser(regexp_message::kTooComplex, 0);
    }
    switch (node->kind) {
      case RENodeKind::kLeaf:
        AddTransition(from, to, node->low, node->high, false);
        break;
      case RENodeKind::kHead:
        if (from == kStart) {
          AddTransition(from, to, head_code_, head_code_, false);
          anchored_head_ = true;
        } else {
          AddTransition(from, to, node->low, node->low, false);
        }
        break;
      case RENodeKind::kTail:
        if (to == kFinal) {
          AddTransition(from, to, tail_code_, tail_code_, false);
          anchored_tail_ = true;
        } else {
          AddTransition(from, to, node->low, node->low, false);
        }
        break;
      case RENodeKind::kConcat: {
        int middle = NewState();
        // Pushed right first so the left side is built first, as a recursive walk would.
        work.emplace_back(node->right, middle, to);
        work.emplace_back(node->left, from, middle);
        break;
      }
      case RENodeKind::kAlt:
        work.emplace_back(node->right, from, to);
        work.emplace_back(node->left, from, to);
        break;
      case RENodeKind::kRepeat: {
        int m1 = NewState();
        int m2 = NewState();
        AddTransition(from, m1, 0, 0, true);
        AddTransition(m2, m1, 0, 0, true);
        AddTransition(m1, to, 0, 0, true);
        work.emplace_back(node->left, m1, m2);
        break;
      }
      case RENodeKind::kEmpty:
        AddTransition(from, to, 0, 0, true);
        break;
      case RENodeKind::kNothing:
        break;
      default:
        throw std::logic_error("This cannot happen in TRE_NFA.GenerateStateList");
    }
  }
}

}  // namespace search
