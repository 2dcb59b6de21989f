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

TGrepNfa::TGrepNfa(const TRE_NFA& nfa, size_t long_word) : start_(TRE_NFA::kStart) {
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
  FindWords(nfa, long_word);
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

  Word& word = prefix_.words.emplace_back();
  word.bytes = std::move(bytes);
  prefix_.chars = chars;
  prefix_after_line_end_ = after_line_end;
  for (size_t j = 0; j < now.Size(); ++j) word.after.push_back(now[j]);
  // The rest: the states reachable from the ones the prefix leads to.
  prefix_.in_rest.assign(static_cast<size_t>(nfa.StateCount()), 0);
  std::vector<int> work_list;
  for (int s : word.after) {
    prefix_.in_rest[static_cast<size_t>(s)] = 1;
    ++prefix_.rest_states;
    work_list.push_back(s);
  }
  while (!work_list.empty()) {
    int s = work_list.back();
    work_list.pop_back();
    for (int t = nfa.FirstTransition(s); t >= 0; t = nfa.Transition(t).next) {
      auto to = static_cast<size_t>(nfa.Transition(t).target);
      if (prefix_.in_rest[to]) continue;
      prefix_.in_rest[to] = 1;
      ++prefix_.rest_states;
      work_list.push_back(static_cast<int>(to));
    }
  }
  FinishFixedText(prefix_);
}

// Keeps the states of the final closure that the walk keeps, and prepares the backward search
// for each word's bytes.
void TGrepNfa::FinishFixedText(FixedText& fixed) const {
  for (int s : final_closure_) {
    if (fixed.in_rest[static_cast<size_t>(s)]) fixed.rest_final_closure.push_back(s);
  }
  // The failure function of the reversed bytes: for each length matched, the longest proper
  // border, so that every place is found in one pass with no byte looked at twice.
  for (Word& word : fixed.words) {
    word.reversed.assign(word.bytes.rbegin(), word.bytes.rend());
    word.failure.assign(word.reversed.size(), 0);
    for (size_t i = 1, k = 0; i < word.reversed.size(); ++i) {
      while (k > 0 && word.reversed[i] != word.reversed[k]) k = word.failure[k - 1];
      if (word.reversed[i] == word.reversed[k]) ++k;
      word.failure[i] = static_cast<std::uint32_t>(k);
    }
  }
}

// A word is a run of states each entered and left by one transition only, on one code that
// text can hold: the interior of a word in the pattern. The automaton can pass through those
// states only by reading the whole word, one character after the other, so the walk can leave
// them out and find the word by its bytes instead: where it begins, on a character, and the
// state it leads to matches from its end, the state it leaves from matches too. That holds
// wherever the word stands (in an alternative, in a loop, next to another word), and each inner
// state lies in one run only, so any of the runs can be left out together. Each costs a step of
// its search at every byte, which a short word in a sparse set of states does not repay: the
// long ones are taken, and the longest, however short.
void TGrepNfa::FindWords(const TRE_NFA& nfa, size_t long_word) {
  const auto states = static_cast<size_t>(nfa.StateCount());
  std::vector<std::uint32_t> ins(states, 0), outs(states, 0);
  std::vector<int> only_in(states, -1), only_in_from(states, -1), only_out(states, -1);
  for (size_t s = 0; s < states; ++s) {
    for (int t = nfa.FirstTransition(static_cast<int>(s)); t >= 0; t = nfa.Transition(t).next) {
      auto to = static_cast<size_t>(nfa.Transition(t).target);
      ++outs[s];
      only_out[s] = t;
      ++ins[to];
      only_in[to] = t;
      only_in_from[to] = static_cast<int>(s);
    }
  }
  auto link = [&](int t) {
    const TRE_NFATransition& tr = nfa.Transition(t);
    return !tr.epsilon && tr.low == tr.high && tr.low != 10 && IsTextCode(tr.low);
  };
  auto inner = [&](size_t s) {
    return ins[s] == 1 && outs[s] == 1 && link(only_in[s]) && link(only_out[s]);
  };
  // Each run is walked once, from its first inner state (a ring of inner states has none and
  // can never be entered): its first state and its characters.
  std::vector<std::pair<size_t, size_t>> runs;
  size_t longest = 0;
  for (size_t s = 0; s < states; ++s) {
    if (!inner(s) || inner(static_cast<size_t>(only_in_from[s]))) continue;
    size_t chars = 2;
    for (auto x = static_cast<size_t>(nfa.Transition(only_out[s]).target); inner(x); ++chars) {
      x = static_cast<size_t>(nfa.Transition(only_out[x]).target);
    }
    runs.emplace_back(s, chars);
    longest = std::max(longest, chars);
  }
  if (runs.empty()) return;
  words_.in_rest.assign(states, 1);
  words_.rest_states = states;
  for (auto [first, chars] : runs) {
    if (chars < long_word && chars < longest) continue;
    Word& word = words_.words.emplace_back();
    word.from = only_in_from[first];
    AppendCode(word.bytes, nfa.Transition(only_in[first]).low);
    size_t x = first;
    for (; inner(x); x = static_cast<size_t>(nfa.Transition(only_out[x]).target)) {
      AppendCode(word.bytes, nfa.Transition(only_out[x]).low);
      words_.in_rest[x] = 0;
      --words_.rest_states;
    }
    word.after.push_back(static_cast<int>(x));
    words_.chars += chars;
  }
  FinishFixedText(words_);
}

std::vector<std::pair<int, size_t>> TGrepNfa::MatchingLines(const unsigned char* buf,
                                                            size_t n) const {
  return Walk(buf, n, nullptr);
}

std::vector<std::pair<int, size_t>> TGrepNfa::MatchingLinesAfterPrefix(const unsigned char* buf,
                                                                       size_t n) const {
  return Walk(buf, n, HasPrefix() ? &prefix_ : nullptr);
}

std::vector<std::pair<int, size_t>> TGrepNfa::MatchingLinesAroundWords(const unsigned char* buf,
                                                                       size_t n) const {
  return Walk(buf, n, HasWords() ? &words_ : nullptr);
}

std::vector<std::pair<int, size_t>> TGrepNfa::MatchingLinesByFixedText(const unsigned char* buf,
                                                                       size_t n) const {
  const size_t plain = char_first_.size() - 1;
  const size_t after_prefix = HasPrefix() ? prefix_.rest_states : plain;
  const size_t around_words = HasWords() ? words_.rest_states : plain;
  if (around_words < std::min(plain, after_prefix)) return MatchingLinesAroundWords(buf, n);
  if (after_prefix < plain) return MatchingLinesAfterPrefix(buf, n);
  return MatchingLines(buf, n);
}

// With fixed text, the walk keeps only the states of the rest, and each word is looked for in
// the same backward pass. Where a word's bytes begin, the walk needs to know whether the states
// after it matched where its bytes end, as many bytes back in the walk: a ring of that many
// marks (one a byte) keeps the answer for each word. Where a prefix's bytes begin, on a
// character's start, and the rest can be matched right after them (after a line end, for "^"),
// a match begins. Where a word's bytes begin, on a character's start, and the state after them
// matches, the state before them matches too, and the walk goes on from there.
std::vector<std::pair<int, size_t>> TGrepNfa::Walk(const unsigned char* buf, size_t n,
                                                   const FixedText* fixed) const {
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

  const bool by_fixed = fixed != nullptr;
  const bool by_prefix = by_fixed && fixed == &prefix_;
  const bool after_line_end = by_prefix && prefix_after_line_end_;
  const size_t states = char_first_.size() - 1;
  StateSet now(states), before(states);
  const std::vector<int>& final_closure = by_fixed ? fixed->rest_final_closure : final_closure_;
  auto kept = [&](int s) { return !by_fixed || fixed->in_rest[static_cast<size_t>(s)]; };
  auto is_start = [&](size_t p) { return (starts[p >> 6] >> (p & 63) & 1) != 0; };
  const std::vector<Word> no_words;
  const std::vector<Word>& words = by_fixed ? fixed->words : no_words;
  // For each word: how much of its reversed bytes the bytes after the current one have matched,
  // and whether the states after it matched at each of the places that its length spans (place
  // p at p modulo the length: the place a word found here ends at is read before this place
  // takes its mark).
  struct Search {
    size_t matched = 0;
    std::vector<std::uint8_t> rest;
  };
  std::vector<Search> searches(words.size());
  auto rest_matches = [&](const Word& word, const StateSet& set) {
    return std::any_of(word.after.begin(), word.after.end(), [&](int s) { return set.Has(s); });
  };
  for (int s : final_closure) now.Add(s);
  // The text's end: the rest matches there when it may match nothing.
  for (size_t k = 0; k < words.size(); ++k) {
    searches[k].rest.assign(words[k].bytes.size(), 0);
    searches[k].rest[n % searches[k].rest.size()] = rest_matches(words[k], now) ? 1 : 0;
  }
  std::vector<int> heads;  // the states before the words that begin here
  bool line_hit = false;
  for (size_t i = n; i-- > 0;) {
    heads.clear();
    const auto byte = static_cast<char>(buf[i]);
    for (size_t k = 0; k < words.size(); ++k) {
      const Word& word = words[k];
      Search& search = searches[k];
      const size_t m = word.bytes.size();
      while (search.matched > 0 && word.reversed[search.matched] != byte) {
        search.matched = word.failure[search.matched - 1];
      }
      if (word.reversed[search.matched] == byte) ++search.matched;
      if (search.matched < m) continue;
      search.matched = word.failure[m - 1];
      if (!search.rest[(i + m) % search.rest.size()]) continue;
      if (!by_prefix) {
        heads.push_back(word.from);
      } else if (is_start(i)) {
        // Before a "^", the character before the prefix must be a line end: it begins at
        // i - 1, or at i - 2 when it is a CR LF or a double-byte character.
        const size_t before_at = i == 0 ? 0 : is_start(i - 1) ? i - 1 : i - 2;
        line_hit = line_hit || !after_line_end ||
                   (i > 0 && (buf[before_at] == '\n' || buf[before_at] == '\r'));
      }
    }
    if (!is_start(i)) {
      for (Search& search : searches) search.rest[i % search.rest.size()] = 0;
      continue;
    }
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
    for (int s : heads) before.Add(s);
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
    for (size_t k = 0; k < words.size(); ++k) {
      searches[k].rest[i % searches[k].rest.size()] = rest_matches(words[k], now) ? 1 : 0;
    }
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
