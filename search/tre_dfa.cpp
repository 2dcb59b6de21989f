#include "search/tre_dfa.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/cp932.h"
#include "search/reg_exp_parser_error.h"

namespace search {

bool IsTextCode(RECode code) {
  if (code < 0x100)
    return code != 0 && code != 13 && !cp932::IsLeadByte(static_cast<unsigned char>(code));
  unsigned trail = code & 0xFF;
  return cp932::IsLeadByte(static_cast<unsigned char>(code >> 8)) && trail != 0 && trail != 10 &&
         trail != 13;
}

void AppendCode(std::string& out, RECode code) {
  if (code >= 0x100) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

TRE_DFA::TRE_DFA() {
  TRE_NFAStateSet set(2);
  set.Include(TRE_NFA::kStart);
  set.Include(TRE_NFA::kFinal);
  states_.emplace_back(std::move(set));
  states_[0].processed = true;
  states_[0].accepting = true;
  literal_ = true;
}

namespace {

// Adds, depth first, every state reachable by empty transitions.
void Close(const TRE_NFA& nfa, TRE_NFAStateSet& set, std::vector<int>& members,
           std::vector<int>& stack) {
  stack.assign(members.begin(), members.end());
  while (!stack.empty()) {
    int state = stack.back();
    stack.pop_back();
    for (int t = nfa.FirstTransition(state); t >= 0; t = nfa.Transition(t).next) {
      const TRE_NFATransition& tr = nfa.Transition(t);
      if (tr.epsilon && !set.Has(tr.target)) {
        set.Include(tr.target);
        members.push_back(tr.target);
        stack.push_back(tr.target);
      }
    }
  }
}

}  // namespace

namespace {
struct OverBudget {};
}  // namespace

TRE_DFA::TRE_DFA(std::shared_ptr<const TRE_NFA> owned) : nfa_(std::move(owned)) {
  try {
    Build();
  } catch (const OverBudget&) {
    // Only the initial state is kept, without transitions, so that what is left is still a
    // well-formed automaton; matching goes by the nondeterministic form.
    states_.clear();
    states_.emplace_back(TRE_NFAStateSet(0));
    states_[0].processed = true;
    complete_ = false;
    literal_ = false;
    literal_text_.clear();
  }
}

void TRE_DFA::Build() {
  const TRE_NFA& nfa = *nfa_;
  const int n = nfa.StateCount();
  std::unordered_map<std::string, int> index;
  size_t bytes = 0;
  std::uint64_t work = 0;
  std::vector<int> stack;

  auto add_state = [&](TRE_NFAStateSet set) {
    // Each set made costs its bytes, and each new state a scan of every automaton state.
    work += static_cast<std::uint64_t>(n) / 8 + 1;
    auto it = index.find(set.Bytes());
    if (it != index.end()) return it->second;
    work += static_cast<std::uint64_t>(n);
    if (static_cast<int>(states_.size()) >= kMaxStates || bytes > kMaxBytes || work > kMaxWork) {
      throw OverBudget{};
    }
    bytes += set.ByteSize() * 2 + sizeof(TRE_DFAState) + 64;
    int id = static_cast<int>(states_.size());
    index.emplace(set.Bytes(), id);
    bool accepting = set.Has(TRE_NFA::kFinal);
    states_.emplace_back(std::move(set));
    states_.back().accepting = accepting;
    return id;
  };

  {
    TRE_NFAStateSet set(n);
    set.Include(TRE_NFA::kStart);
    std::vector<int> members{TRE_NFA::kStart};
    Close(nfa, set, members, stack);
    add_state(std::move(set));
  }

  // Labels leaving the states are disjoint after the partition, so a label is known by its
  // range; the map keeps the groups ordered by range start.
  std::map<std::pair<RECode, RECode>, std::vector<int>> groups;
  for (size_t current = 0; current < states_.size(); ++current) {
    states_[current].processed = true;
    groups.clear();
    for (int s = 0; s < n; ++s) {
      if (!states_[current].set.Has(s)) continue;
      for (int t = nfa.FirstTransition(s); t >= 0; t = nfa.Transition(t).next) {
        const TRE_NFATransition& tr = nfa.Transition(t);
        if (!tr.epsilon) groups[{tr.low, tr.high}].push_back(tr.target);
      }
    }
    for (auto& [label, targets] : groups) {
      TRE_NFAStateSet set(n);
      std::vector<int> members;
      for (int target : targets) {
        if (!set.Has(target)) {
          set.Include(target);
          members.push_back(target);
        }
      }
      Close(nfa, set, members, stack);
      int id = add_state(std::move(set));
      states_[current].transitions.push_back({label.first, label.second, id});
      bytes += sizeof(TRE_DFATransition);
    }
    std::stable_sort(
        states_[current].transitions.begin(), states_[current].transitions.end(),
        [](const TRE_DFATransition& a, const TRE_DFATransition& b) { return a.low < b.low; });
  }
  DetectLiteral();
}

std::unique_ptr<TRE_DFA> TRE_DFA::FromWords(const std::vector<std::vector<RECode>>& words) {
  auto dfa = std::unique_ptr<TRE_DFA>(new TRE_DFA());
  std::vector<TRE_DFAState>& states = dfa->states_;
  states[0].accepting = false;
  for (const std::vector<RECode>& word : words) {
    int state = 0;
    for (RECode code : word) {
      std::vector<TRE_DFATransition>& ts = states[static_cast<size_t>(state)].transitions;
      auto it = std::lower_bound(ts.begin(), ts.end(), code,
                                 [](const TRE_DFATransition& t, RECode c) { return t.low < c; });
      if (it != ts.end() && it->low == code) {
        state = it->target;
        continue;
      }
      int id = static_cast<int>(states.size());
      if (id >= kMaxWordStates) throw ERegExpParser(regexp_message::kTooComplex, 0);
      ts.insert(it, {code, code, id});
      states.emplace_back(TRE_NFAStateSet(0));
      states.back().processed = true;
      state = id;
    }
    states[static_cast<size_t>(state)].accepting = true;
  }
  dfa->DetectLiteral();
  return dfa;
}

int TRE_DFA::Next(int state, RECode code) const {
  for (const TRE_DFATransition& t : states_[state].transitions) {
    if (t.low > code) return -1;
    if (t.high >= code) return t.target;
  }
  return -1;
}

int TRE_DFA::NextSorted(int state, RECode code) const {
  const std::vector<TRE_DFATransition>& ts = states_[state].transitions;
  if (ts.size() < 8) return Next(state, code);
  auto it = std::upper_bound(ts.begin(), ts.end(), code,
                             [](RECode c, const TRE_DFATransition& t) { return c < t.low; });
  if (it == ts.begin()) return -1;
  --it;
  return it->high >= code ? it->target : -1;
}

// A chain of single-character steps from the initial state that ends in an accepting state
// without transitions spells a fixed string. The chain must end accepting (a chain into a dead
// end matches nothing), must not loop, and every code must be one that text can hold.
void TRE_DFA::DetectLiteral() {
  literal_ = false;
  literal_text_.clear();
  std::string text;
  std::vector<bool> seen(states_.size(), false);
  int state = Initial();
  while (!seen[state] && !states_[state].accepting && states_[state].transitions.size() == 1 &&
         states_[state].transitions[0].low == states_[state].transitions[0].high &&
         IsTextCode(states_[state].transitions[0].low)) {
    seen[state] = true;
    AppendCode(text, states_[state].transitions[0].low);
    state = states_[state].transitions[0].target;
  }
  if (states_[state].transitions.empty() && states_[state].accepting) {
    literal_ = true;
    literal_text_ = std::move(text);
  }
}

}  // namespace search
