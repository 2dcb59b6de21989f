#include "search/grep_nfa.h"

#include <algorithm>

#include "platform/cp932.h"

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
}

std::vector<std::pair<int, size_t>> TGrepNfa::MatchingLines(const unsigned char* buf,
                                                            size_t n) const {
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
  for (int s : final_closure_) now.Add(s);
  bool line_hit = false;
  for (size_t i = n; i-- > 0;) {
    if (!(starts[i >> 6] >> (i & 63) & 1)) continue;
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
        if (in.low <= code && code <= in.high) before.Add(in.from);
      }
    }
    for (size_t j = 0; j < before.Size(); ++j) {
      auto x = static_cast<size_t>(before[j]);
      for (int e = empty_first_[x]; e < empty_first_[x + 1]; ++e) {
        before.Add(empty_from_[static_cast<size_t>(e)]);
      }
    }
    line_hit = line_hit || before.Has(start_);
    for (int s : final_closure_) before.Add(s);
    std::swap(now, before);
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
