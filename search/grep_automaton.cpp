#include "search/grep_automaton.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

#include "platform/cp932.h"

namespace search {

namespace {

constexpr RECode kLineFeed = 10;

bool IsLineEnd(unsigned b) {
  return b == '\n' || b == '\r';
}

struct VectorHash {
  size_t operator()(const std::vector<int>& v) const {
    size_t h = v.size();
    for (int x : v) h = h * 1000003u ^ static_cast<size_t>(x);
    return h;
  }
};

}  // namespace

// The states reachable from a set after one character, with a new match attempt starting at
// that character when `inject` is set. An accepting state ends the attempt (the grep reports
// at the first accepting state), so it is reported through `accepts` and not kept.
std::vector<int> TGrepAutomaton::Step(const std::vector<int>& set, RECode code, bool inject,
                                      bool& accepts) const {
  std::vector<int> next;
  accepts = false;
  auto add = [&](int from) {
    int to = dfa_->Next(from, code);
    if (to < 0) return;
    if (dfa_->Accepting(to)) {
      accepts = true;
    } else {
      next.push_back(to);
    }
  };
  for (int s : set) add(s);
  if (inject) add(dfa_->Initial());
  std::sort(next.begin(), next.end());
  next.erase(std::unique(next.begin(), next.end()), next.end());
  return next;
}

bool TGrepAutomaton::TailAccepts(const std::vector<int>& set) const {
  bool accepts;
  Step(set, kLineFeed, false, accepts);
  return accepts;
}

std::shared_ptr<const TGrepAutomaton> TGrepAutomaton::Build(const TRE_DFA& dfa) {
  // A match that reads a line feed and goes on needs the start-by-start matcher: find whether
  // any state reached after a character (before acceptance) steps on a line feed into a state
  // that does not accept.
  {
    std::vector<bool> seen(static_cast<size_t>(dfa.StateCount()), false);
    std::vector<int> work;
    for (const TRE_DFATransition& t : dfa.State(dfa.Initial()).transitions)
      work.push_back(t.target);
    while (!work.empty()) {
      int s = work.back();
      work.pop_back();
      if (seen[s] || dfa.Accepting(s)) continue;
      seen[s] = true;
      int after = dfa.Next(s, kLineFeed);
      if (after >= 0 && !dfa.Accepting(after)) return nullptr;
      for (const TRE_DFATransition& t : dfa.State(s).transitions) work.push_back(t.target);
    }
  }

  auto automaton = std::shared_ptr<TGrepAutomaton>(new TGrepAutomaton());
  TGrepAutomaton& a = *automaton;
  a.dfa_ = &dfa;

  // Codes that every automaton state treats alike share one result; the cuts come from the
  // transition ranges of all states.
  std::vector<std::uint32_t> cuts{0, 0x10000};
  for (int s = 0; s < dfa.StateCount(); ++s) {
    for (const TRE_DFATransition& t : dfa.State(s).transitions) {
      cuts.push_back(t.low);
      cuts.push_back(std::uint32_t{t.high} + 1);
    }
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  std::unordered_map<std::vector<int>, int, VectorHash> set_index;
  std::vector<std::vector<std::int32_t>> rows;  // row entries: row numbers or specials
  std::vector<int> set_row;
  std::map<std::tuple<int, int, int>, std::int32_t> special_index;
  std::unordered_map<std::vector<std::int32_t>, int, VectorHash> lead_rows;
  // The lead row whose 256 entries are all one entry, by that entry: most lead bytes are a
  // single interval (no pattern character begins with them), and their rows need no building.
  std::unordered_map<std::int32_t, int> uniform_lead_rows;
  std::vector<int> pending;
  bool too_big = false;

  auto special = [&](SpecialKind kind, int set, int) -> std::int32_t {
    auto key = std::make_tuple(static_cast<int>(kind), set, 0);
    auto it = special_index.find(key);
    if (it != special_index.end()) return it->second;
    a.specials_.push_back({kind, set});
    std::int32_t entry = -static_cast<std::int32_t>(a.specials_.size());
    special_index.emplace(key, entry);
    return entry;
  };
  auto set_id = [&](std::vector<int> set) {
    auto it = set_index.find(set);
    if (it != set_index.end()) return it->second;
    int id = static_cast<int>(a.sets_.size());
    if (id >= kMaxSets) too_big = true;
    set_index.emplace(set, id);
    a.sets_.push_back(std::move(set));
    set_row.push_back(-1);
    pending.push_back(id);
    return id;
  };
  // Rows are numbered later; until then an entry for a set is stored as its set id + a bias.
  constexpr std::int32_t kSetBias = 1 << 24;

  int empty_set = set_id({});
  bool lf0_accepts = false;
  int lf0_set = set_id(a.Step({}, kLineFeed, true, lf0_accepts));
  a.lf0_accepts_ = lf0_accepts;
  auto line_end_entry = [&](int set, unsigned b) -> std::int32_t {
    if (a.TailAccepts(a.sets_[set])) return special(SpecialKind::kTail, set, 0);
    if (lf0_accepts) return special(SpecialKind::kLineAccept, set, 0);
    return b == '\r' ? -(1 << 30) : kSetBias + lf0_set;  // -(1 << 30): "the after-return row"
  };

  std::vector<std::vector<std::int32_t>> set_rows;
  std::vector<int> memo;
  // A bound on the building work too, so that a huge pattern falls back quickly instead.
  constexpr size_t kMaxWork = 20'000'000;
  size_t work = 0;
  while (!pending.empty() && !too_big) {
    int id = pending.back();
    pending.pop_back();
    std::vector<int> set = a.sets_[id];
    // interval -> -2 unknown, -1 accepts, else the next set's id
    memo.assign(cuts.size(), -2);
    auto step_interval = [&](size_t interval) -> std::int32_t {
      int& known = memo[interval];
      const auto code = static_cast<RECode>(cuts[interval]);
      if (known == -2) {
        work += set.size() + 1;
        if (work > kMaxWork) too_big = true;
        bool accepts;
        std::vector<int> next = a.Step(set, code, true, accepts);
        known = accepts ? -1 : set_id(std::move(next));
      }
      if (known == -1) return special(SpecialKind::kAccept, id, 0);
      return kSetBias + known;
    };
    std::vector<std::int32_t> row(256);
    // The bytes and the lead bytes' codes both rise with b, so their intervals are followed
    // along instead of searched for.
    size_t byte_interval = 0, lead_interval = 0;
    auto follow = [&](size_t& k, std::uint32_t code) {
      while (cuts[k + 1] <= code) ++k;
      return k;
    };
    for (unsigned b = 0; b < 256; ++b) {
      if (IsLineEnd(b)) {
        row[b] = line_end_entry(id, b);
      } else if (cp932::IsLeadByte(static_cast<unsigned char>(b))) {
        // A line end after a lead byte is that character's second byte and ends no line.
        // The row is filled interval by interval: every code of an interval steps alike.
        const std::uint32_t first = b << 8, last = first | 0xFF;
        size_t k = follow(lead_interval, first);
        int index;
        if (cuts[k + 1] > last) {
          std::int32_t entry = step_interval(k);
          auto known = uniform_lead_rows.find(entry);
          if (known != uniform_lead_rows.end()) {
            index = known->second;
          } else {
            auto [it, added] = lead_rows.emplace(std::vector<std::int32_t>(256, entry),
                                                 static_cast<int>(lead_rows.size()));
            index = it->second;
            uniform_lead_rows.emplace(entry, index);
          }
        } else {
          std::vector<std::int32_t> lead_row(256);
          for (std::uint32_t code = first; code <= last; ++k) {
            std::int32_t entry = step_interval(k);
            std::uint32_t end = std::min<std::uint32_t>(cuts[k + 1], last + 1);
            std::fill(lead_row.begin() + (code - first), lead_row.begin() + (end - first), entry);
            code = end;
          }
          auto [it, added] =
              lead_rows.emplace(std::move(lead_row), static_cast<int>(lead_rows.size()));
          index = it->second;
        }
        row[b] = -(2 << 28) - index;  // a lead row, numbered below
      } else {
        row[b] = step_interval(follow(byte_interval, b));
      }
    }
    if (static_cast<int>(set_rows.size()) <= id) set_rows.resize(static_cast<size_t>(id) + 1);
    set_rows[id] = std::move(row);
    if (static_cast<int>(lead_rows.size() + a.sets_.size()) > kMaxRows) too_big = true;
  }
  if (too_big) return nullptr;

  // Row numbers: the sets first, then the after-return row, the done row, the lead rows.
  const int set_count = static_cast<int>(a.sets_.size());
  const int after_return = set_count;
  const int done = set_count + 1;
  const int lead_base = set_count + 2;
  const int row_count = lead_base + static_cast<int>(lead_rows.size());
  std::vector<std::vector<std::int32_t>> full(static_cast<size_t>(row_count));
  auto resolve = [&](std::int32_t e) -> std::int32_t {
    if (e >= kSetBias) return e - kSetBias;
    if (e == -(1 << 30)) return after_return;
    if (e <= -(2 << 28)) return lead_base + (-(2 << 28) - e);
    return e;  // a special
  };
  for (int s = 0; s < set_count; ++s) {
    full[s].resize(256);
    for (unsigned b = 0; b < 256; ++b) full[s][b] = resolve(set_rows[s][b]);
  }
  for (const auto& [lead_row, index] : lead_rows) {
    std::vector<std::int32_t>& row = full[static_cast<size_t>(lead_base + index)];
    row.resize(256);
    for (unsigned t = 0; t < 256; ++t) row[t] = resolve(lead_row[t]);
  }
  full[after_return] = full[lf0_set];
  full[after_return]['\n'] = lf0_set;  // the line feed of CR LF ends no further line
  full[done].assign(256, done);
  full[done]['\n'] =
      resolve(lf0_accepts ? special(SpecialKind::kLineAccept, empty_set, 0) : kSetBias + lf0_set);
  full[done]['\r'] =
      resolve(lf0_accepts ? special(SpecialKind::kLineAccept, empty_set, 0) : -(1 << 30));

  // Bytes that every row treats alike share a column. Columns are told apart by a hash of
  // their entries first and compared whole only when the hashes agree.
  std::array<std::uint64_t, 256> column_hash{};
  for (int r = 0; r < row_count; ++r) {
    for (unsigned b = 0; b < 256; ++b) {
      column_hash[b] = (column_hash[b] ^ static_cast<std::uint32_t>(full[r][b])) * 0x100000001B3u;
    }
  }
  std::vector<unsigned> class_byte;  // a byte of each class
  for (unsigned b = 0; b < 256; ++b) {
    size_t c = 0;
    for (; c < class_byte.size(); ++c) {
      unsigned other = class_byte[c];
      if (column_hash[other] != column_hash[b]) continue;
      int r = 0;
      while (r < row_count && full[r][other] == full[r][b]) ++r;
      if (r == row_count) break;
    }
    if (c == class_byte.size()) class_byte.push_back(b);
    a.byte_class_[b] = static_cast<std::uint8_t>(c);
  }
  a.classes_ = static_cast<int>(class_byte.size());
  a.table_.assign(static_cast<size_t>(row_count) * a.classes_, 0);
  for (int r = 0; r < row_count; ++r) {
    for (unsigned b = 0; b < 256; ++b) {
      std::int32_t e = full[r][b];
      a.table_[static_cast<size_t>(r) * a.classes_ + a.byte_class_[b]] =
          e >= 0 ? e * a.classes_ : e;
    }
  }
  a.start_ = empty_set * a.classes_;
  a.lf0_ = lf0_set * a.classes_;
  a.lf0cr_ = after_return * a.classes_;
  a.done_ = done * a.classes_;
  return automaton;
}

}  // namespace search
