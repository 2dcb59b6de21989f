#include "search/tre_dfa.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

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

struct OverBudget {};

// The automaton's transitions as flat lists by state, the empty ones apart from those that read
// a code: a closure looks only at the first kind and a step only at the second, without walking
// the linked list of every state for each. Labels leaving states are disjoint after the
// partition, so a label is known by its range; each step carries its label's rank in order of
// range start.
struct FlatTransitions {
  explicit FlatTransitions(const TRE_NFA& nfa) {
    const auto n = static_cast<size_t>(nfa.StateCount());
    empty_first.assign(n + 1, 0);
    step_first.assign(n + 1, 0);
    for (size_t s = 0; s < n; ++s) {
      empty_first[s + 1] = empty_first[s];
      step_first[s + 1] = step_first[s];
      for (int t = nfa.FirstTransition(static_cast<int>(s)); t >= 0; t = nfa.Transition(t).next) {
        const TRE_NFATransition& tr = nfa.Transition(t);
        if (tr.epsilon) {
          empty_to.push_back(tr.target);
          ++empty_first[s + 1];
        } else {
          steps.push_back({0, tr.target});
          labels.push_back({tr.low, tr.high});
          ++step_first[s + 1];
        }
      }
    }
    std::vector<std::pair<RECode, RECode>> of_step = labels;
    std::sort(labels.begin(), labels.end());
    labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
    for (size_t t = 0; t < steps.size(); ++t) {
      steps[t].label = static_cast<int>(std::lower_bound(labels.begin(), labels.end(), of_step[t]) -
                                        labels.begin());
    }
  }
  struct Step {
    int label, target;
  };
  std::vector<int> empty_first, empty_to, step_first;
  std::vector<Step> steps;
  std::vector<std::pair<RECode, RECode>> labels;  // by rank
};

// Adds, depth first, every state reachable by empty transitions.
void Close(const FlatTransitions& flat, TRE_NFAStateSet& set, std::vector<int>& members,
           std::vector<int>& stack) {
  stack.assign(members.begin(), members.end());
  while (!stack.empty()) {
    const auto state = static_cast<size_t>(stack.back());
    stack.pop_back();
    for (int e = flat.empty_first[state]; e < flat.empty_first[state + 1]; ++e) {
      const int target = flat.empty_to[static_cast<size_t>(e)];
      if (!set.Has(target)) {
        set.Include(target);
        members.push_back(target);
        stack.push_back(target);
      }
    }
  }
}

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
  const FlatTransitions flat(nfa);
  std::unordered_map<std::string, int> index;
  // The members of each state made, in a list, until its steps are made.
  std::vector<std::vector<int>> members_of;
  size_t bytes = 0;
  std::uint64_t work = 0;
  std::vector<int> stack;

  // The state of a set, made when it is new. The set is the caller's scratch set, whose
  // members are listed in `members`: it is copied only when new, and emptied again by its
  // members, so that a step to a known state costs no allocation and no clearing of the whole.
  auto state_of = [&](TRE_NFAStateSet& set, std::vector<int>& members) {
    // Each set made costs its bytes, and each new state a scan of every automaton state. The
    // bound is kept in those terms although the steps now go by the members only: it is what
    // decides which patterns are matched by the nondeterministic form, and memory still grows
    // with the sets.
    work += static_cast<std::uint64_t>(n) / 8 + 1;
    int id;
    if (auto it = index.find(set.Bytes()); it != index.end()) {
      id = it->second;
    } else {
      work += static_cast<std::uint64_t>(n);
      if (static_cast<int>(states_.size()) >= kMaxStates || bytes > kMaxBytes || work > kMaxWork) {
        throw OverBudget{};
      }
      bytes += set.ByteSize() * 2 + sizeof(TRE_DFAState) + 64;
      id = static_cast<int>(states_.size());
      index.emplace(set.Bytes(), id);
      states_.emplace_back(set);
      states_.back().accepting = set.Has(TRE_NFA::kFinal);
      members_of.push_back(members);
    }
    for (int member : members) set.Exclude(member);
    members.clear();
    return id;
  };

  TRE_NFAStateSet set(n);
  std::vector<int> members{TRE_NFA::kStart};
  set.Include(TRE_NFA::kStart);
  Close(flat, set, members, stack);
  state_of(set, members);

  // The targets of each label from the state being stepped from, and the labels met there.
  std::vector<std::vector<int>> targets(flat.labels.size());
  std::vector<int> met;
  for (size_t current = 0; current < states_.size(); ++current) {
    states_[current].processed = true;
    for (int s : std::exchange(members_of[current], {})) {
      const auto state = static_cast<size_t>(s);
      for (int t = flat.step_first[state]; t < flat.step_first[state + 1]; ++t) {
        const FlatTransitions::Step& step = flat.steps[static_cast<size_t>(t)];
        std::vector<int>& to = targets[static_cast<size_t>(step.label)];
        if (to.empty()) met.push_back(step.label);
        to.push_back(step.target);
      }
    }
    std::sort(met.begin(), met.end());
    for (int label : met) {
      std::vector<int>& to = targets[static_cast<size_t>(label)];
      for (int target : to) {
        if (!set.Has(target)) {
          set.Include(target);
          members.push_back(target);
        }
      }
      to.clear();
      Close(flat, set, members, stack);
      const int id = state_of(set, members);
      const auto [low, high] = flat.labels[static_cast<size_t>(label)];
      states_[current].transitions.push_back({low, high, id});
      bytes += sizeof(TRE_DFATransition);
    }
    met.clear();
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
