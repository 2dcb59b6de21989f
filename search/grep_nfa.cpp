#include "search/grep_nfa.h"

#include <algorithm>

#include "platform/cp932.h"
#include "search/tre_dfa.h"

namespace search {

namespace {

// A set of states that is cleared in constant time and lists its members in the order added.
class StateSet {
 public:
  explicit StateSet(size_t states) : index_(states, 0) { members_.reserve(states); }
  bool Has(int s) const {
    size_t i = index_[static_cast<size_t>(s)];
    return i < members_.size() && members_[i] == s;
  }
  void Add(int s) {
    if (Has(s)) return;
    index_[static_cast<size_t>(s)] = static_cast<std::uint32_t>(members_.size());
    members_.push_back(s);
  }
  void Clear() { members_.clear(); }
  size_t Size() const { return members_.size(); }
  int operator[](size_t i) const { return members_[i]; }

 private:
  std::vector<std::uint32_t> index_;
  std::vector<int> members_;
};

}  // namespace

TGrepNfa::TGrepNfa(const TRE_NFA& nfa) : start_(TRE_NFA::kStart) {
  const auto states = static_cast<size_t>(nfa.StateCount());
  char_first_.assign(states + 1, 0);
  empty_first_.assign(states + 1, 0);
  // Counted first, then placed: the transitions into each state lie together.
  for (size_t s = 0; s < states; ++s) {
    for (int t = nfa.FirstTransition(static_cast<int>(s)); t >= 0; t = nfa.Transition(t).next) {
      const TRE_NFATransition& tr = nfa.Transition(t);
      ++(tr.epsilon ? empty_first_ : char_first_)[static_cast<size_t>(tr.target) + 1];
    }
  }
  for (size_t s = 0; s < states; ++s) {
    char_first_[s + 1] += char_first_[s];
    empty_first_[s + 1] += empty_first_[s];
  }
  char_in_.resize(static_cast<size_t>(char_first_[states]));
  empty_from_.resize(static_cast<size_t>(empty_first_[states]));
  std::vector<int> char_at(char_first_.begin(), char_first_.end() - 1);
  std::vector<int> empty_at(empty_first_.begin(), empty_first_.end() - 1);
  for (size_t s = 0; s < states; ++s) {
    for (int t = nfa.FirstTransition(static_cast<int>(s)); t >= 0; t = nfa.Transition(t).next) {
      const TRE_NFATransition& tr = nfa.Transition(t);
      auto to = static_cast<size_t>(tr.target);
      if (tr.epsilon) {
        empty_from_[static_cast<size_t>(empty_at[to]++)] = static_cast<int>(s);
      } else {
        char_in_[static_cast<size_t>(char_at[to]++)] = {tr.low, tr.high, static_cast<int>(s)};
      }
    }
  }
  StateSet closure(states);
  closure.Add(TRE_NFA::kFinal);
  for (size_t j = 0; j < closure.Size(); ++j) {
    auto x = static_cast<size_t>(closure[j]);
    for (int e = empty_first_[x]; e < empty_first_[x + 1]; ++e) {
      closure.Add(empty_from_[static_cast<size_t>(e)]);
    }
  }
  for (size_t j = 0; j < closure.Size(); ++j) final_closure_.push_back(closure[j]);
  FindPrefix(nfa);
}

// Follows the automaton from its start as long as all the character transitions of the states
// reached read one and the same code: every match reads those codes first. The walk stops at the
// final state (a match may end there), at a code that is no fixed text (a line end may come
// first, for "^", but no other), or when its work passes a bound in proportion to the automaton: a
// loop on one code (as in "a*" before a class that matches nothing) would go on for ever, and many
// alternatives that begin alike would cost their number at every step. Wherever it stops, what
// was read so far is a prefix of every match and the states reached are where the rest begins.
void TGrepNfa::FindPrefix(const TRE_NFA& nfa) {
  const auto states = static_cast<size_t>(nfa.StateCount());
  StateSet now(states), next(states);
  auto close = [&](StateSet& set) {
    for (size_t j = 0; j < set.Size(); ++j) {
      for (int t = nfa.FirstTransition(set[j]); t >= 0; t = nfa.Transition(t).next) {
        if (nfa.Transition(t).epsilon) set.Add(nfa.Transition(t).target);
      }
    }
  };
  now.Add(TRE_NFA::kStart);
  close(now);
  std::string bytes;
  bool after_line_end = false;
  size_t chars = 0;
  const size_t budget = 8 * states + 4096;
  size_t work = 0;
  for (size_t steps = 0; steps < states && work < budget && !now.Has(TRE_NFA::kFinal); ++steps) {
    bool any = false, one = true;
    RECode code = 0;
    for (size_t j = 0; j < now.Size() && one; ++j) {
      for (int t = nfa.FirstTransition(now[j]); t >= 0; t = nfa.Transition(t).next) {
        const TRE_NFATransition& tr = nfa.Transition(t);
        if (tr.epsilon) continue;
        ++work;
        if (!any) code = tr.low;
        any = true;
        one = one && tr.low == code && tr.high == code;
      }
    }
    if (!any || !one) break;
    // A line end is no text to compare (CR, LF and CR LF all read as one), except first.
    if (code == 10 && steps == 0) {
      after_line_end = true;
    } else if (code != 10 && IsTextCode(code)) {
      AppendCode(bytes, code);
      ++chars;
    } else {
      break;
    }
    next.Clear();
    for (size_t j = 0; j < now.Size(); ++j) {
      for (int t = nfa.FirstTransition(now[j]); t >= 0; t = nfa.Transition(t).next) {
        if (!nfa.Transition(t).epsilon) next.Add(nfa.Transition(t).target);
      }
    }
    close(next);
    work += next.Size();
    std::swap(now, next);
  }
  if (bytes.empty()) return;

  prefix_ = std::move(bytes);
  prefix_after_line_end_ = after_line_end;
  prefix_chars_ = chars;
  in_rest_.assign(states, 0);
  std::vector<int> work_list;
  for (size_t j = 0; j < now.Size(); ++j) {
    after_prefix_.push_back(now[j]);
    in_rest_[static_cast<size_t>(now[j])] = 1;
    ++rest_states_;
    work_list.push_back(now[j]);
  }
  while (!work_list.empty()) {
    int s = work_list.back();
    work_list.pop_back();
    for (int t = nfa.FirstTransition(s); t >= 0; t = nfa.Transition(t).next) {
      auto to = static_cast<size_t>(nfa.Transition(t).target);
      if (in_rest_[to]) continue;
      in_rest_[to] = 1;
      ++rest_states_;
      work_list.push_back(static_cast<int>(to));
    }
  }
  for (int s : final_closure_) {
    if (in_rest_[static_cast<size_t>(s)]) rest_final_closure_.push_back(s);
  }
  // The failure function of the reversed bytes: for each length matched, the longest proper
  // border, so that every place is found in one pass with no byte looked at twice.
  reversed_prefix_.assign(prefix_.rbegin(), prefix_.rend());
  prefix_failure_.assign(reversed_prefix_.size(), 0);
  for (size_t i = 1, k = 0; i < reversed_prefix_.size(); ++i) {
    while (k > 0 && reversed_prefix_[i] != reversed_prefix_[k]) k = prefix_failure_[k - 1];
    if (reversed_prefix_[i] == reversed_prefix_[k]) ++k;
    prefix_failure_[i] = static_cast<std::uint32_t>(k);
  }
}

std::vector<std::pair<int, size_t>> TGrepNfa::MatchingLines(const unsigned char* buf,
                                                            size_t n) const {
  return Walk(buf, n, false);
}

std::vector<std::pair<int, size_t>> TGrepNfa::MatchingLinesAfterPrefix(const unsigned char* buf,
                                                                       size_t n) const {
  return Walk(buf, n, HasPrefix());
}

// By prefix, the walk keeps only the states of the rest and marks the characters from which the
// rest can be matched (a bit a byte, and one for the text's end). The prefix is looked for in
// the same backward pass: where its bytes begin, on a character's start, and the rest can be
// matched right after them (after a line end, for "^"), a match begins.
std::vector<std::pair<int, size_t>> TGrepNfa::Walk(const unsigned char* buf, size_t n,
                                                   bool by_prefix) const {
  std::vector<std::pair<int, size_t>> found;
  if (n == 0) return found;
  // Where each character begins (a bit a byte), read forwards as the text is read.
  std::vector<std::uint64_t> starts(n / 64 + 1, 0);
  int line = 0;
  for (size_t i = 0; i < n;) {
    starts[i >> 6] |= std::uint64_t{1} << (i & 63);
    unsigned char b = buf[i];
    if (b == '\r' || b == '\n') {
      i += (b == '\r' && i + 1 < n && buf[i + 1] == '\n') ? 2 : 1;
      ++line;
    } else if (cp932::IsLeadByte(b) && i + 1 < n) {
      i += 2;
    } else {
      ++i;
    }
  }

  const size_t states = char_first_.size() - 1;
  StateSet now(states), before(states);
  const std::vector<int>& final_closure = by_prefix ? rest_final_closure_ : final_closure_;
  auto kept = [&](int s) { return !by_prefix || in_rest_[static_cast<size_t>(s)]; };
  auto is_start = [&](size_t p) { return (starts[p >> 6] >> (p & 63) & 1) != 0; };
  // By prefix: the places from which the rest can be matched, and how much of the reversed
  // prefix the bytes after the current one have matched.
  std::vector<std::uint64_t> rest_from(by_prefix ? n / 64 + 1 : 0, 0);
  auto rest_matches = [&](const StateSet& set) {
    return std::any_of(after_prefix_.begin(), after_prefix_.end(),
                       [&](int s) { return set.Has(s); });
  };
  const size_t m = prefix_.size();
  size_t matched = 0;
  for (int s : final_closure) now.Add(s);
  // The text's end: the rest matches there when it may match nothing.
  const bool rest_at_end = by_prefix && rest_matches(now);
  bool line_hit = false;
  for (size_t i = n; i-- > 0;) {
    if (by_prefix) {
      const auto b = static_cast<char>(buf[i]);
      while (matched > 0 && reversed_prefix_[matched] != b) matched = prefix_failure_[matched - 1];
      if (reversed_prefix_[matched] == b) ++matched;
      if (matched == m) {
        matched = prefix_failure_[m - 1];
        const size_t after = i + m;
        const bool rest = after == n ? rest_at_end : (rest_from[after >> 6] >> (after & 63) & 1);
        if (rest && is_start(i)) {
          // Before a "^", the character before the prefix must be a line end: it begins at
          // i - 1, or at i - 2 when it is a CR LF or a double-byte character.
          const size_t before_at = i == 0 ? 0 : is_start(i - 1) ? i - 1 : i - 2;
          line_hit = line_hit || !prefix_after_line_end_ ||
                     (i > 0 && (buf[before_at] == '\n' || buf[before_at] == '\r'));
        }
      }
    }
    if (!is_start(i)) continue;
    unsigned char b = buf[i];
    const bool line_end = b == '\r' || b == '\n';
    RECode code = b;
    size_t length = 1;
    if (line_end) {
      code = 10;
      length = (b == '\r' && i + 1 < n && buf[i + 1] == '\n') ? 2 : 1;
    } else if (cp932::IsLeadByte(b) && i + 1 < n) {
      code = static_cast<RECode>(b << 8 | buf[i + 1]);
    }
    before.Clear();
    for (size_t j = 0; j < now.Size(); ++j) {
      auto to = static_cast<size_t>(now[j]);
      for (int t = char_first_[to]; t < char_first_[to + 1]; ++t) {
        const Into& in = char_in_[static_cast<size_t>(t)];
        if (in.low <= code && code <= in.high && kept(in.from)) before.Add(in.from);
      }
    }
    for (size_t j = 0; j < before.Size(); ++j) {
      auto x = static_cast<size_t>(before[j]);
      for (int e = empty_first_[x]; e < empty_first_[x + 1]; ++e) {
        int from = empty_from_[static_cast<size_t>(e)];
        if (kept(from)) before.Add(from);
      }
    }
    if (!by_prefix) line_hit = line_hit || before.Has(start_);
    for (int s : final_closure) before.Add(s);
    std::swap(now, before);
    if (by_prefix && rest_matches(now)) rest_from[i >> 6] |= std::uint64_t{1} << (i & 63);
    if (line_end) {
      // This line end begins `line`; the characters before it belong to the line before.
      if (line_hit && i + length < n) found.emplace_back(line, i + length);
      line_hit = false;
      --line;
    }
  }
  std::reverse(found.begin(), found.end());
  return found;
}

}  // namespace search
