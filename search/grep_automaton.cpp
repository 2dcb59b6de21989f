#include "search/grep_automaton.h"

#include <algorithm>
#include <cstring>
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

// The bytes in runs that a table row fills alike: a line end, single bytes of one code
// interval, lead bytes whose 256 codes all lie in one interval (their rows are one entry
// throughout), and a lead byte whose codes cross intervals (`interval` is that of its first code).
struct ByteRun {
  enum Kind : std::uint8_t { kLineEnd, kSingle, kUniformLead, kMixedLead };
  Kind kind;
  unsigned from, to;  // bytes [from, to)
  size_t interval;
};

// The runs of all 256 bytes in byte order for the code intervals [cut[k], cut[k + 1]), which
// begin at 0 and end at 0x10000. Bytes and lead bytes' codes both rise with the byte, so their
// intervals are followed along instead of searched for.
std::vector<ByteRun> ByteRuns(const std::uint32_t* cut) {
  std::vector<ByteRun> runs;
  size_t byte_interval = 0, lead_interval = 0;
  auto follow = [&](size_t& k, std::uint32_t code) {
    while (cut[k + 1] <= code) ++k;
    return k;
  };
  for (unsigned b = 0; b < 256; ++b) {
    ByteRun run{ByteRun::kLineEnd, b, b + 1, 0};
    if (IsLineEnd(b)) {
      runs.push_back(run);
      continue;
    }
    if (cp932::IsLeadByte(static_cast<unsigned char>(b))) {
      run.interval = follow(lead_interval, b << 8);
      run.kind =
          cut[run.interval + 1] > (b << 8 | 0xFF) ? ByteRun::kUniformLead : ByteRun::kMixedLead;
    } else {
      run.interval = follow(byte_interval, b);
      run.kind = ByteRun::kSingle;
    }
    ByteRun* last = runs.empty() ? nullptr : &runs.back();
    if (last && run.kind != ByteRun::kMixedLead && last->kind == run.kind &&
        last->interval == run.interval && last->to == b) {
      last->to = b + 1;
    } else {
      runs.push_back(run);
    }
  }
  return runs;
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
// at the first accepting state), so it is reported through `accepts` and not kept. `next` is
// the caller's, so that one buffer serves every step of a build.
void TGrepAutomaton::Step(const std::vector<int>& set, RECode code, bool inject, bool& accepts,
                          std::vector<int>& next) const {
  next.clear();
  accepts = false;
  auto add = [&](int from) {
    int to = dfa_->NextSorted(from, code);
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
}

std::shared_ptr<const TGrepAutomaton> TGrepAutomaton::Build(const TRE_DFA& dfa) {
  // A match that reads a line feed and goes on needs the start-by-start matcher: find whether
  // any state reached after a character (before acceptance) steps on a line feed into a state
  // that does not accept.
  {
    std::vector<char> seen(static_cast<size_t>(dfa.StateCount()), 0);
    std::vector<int> work;
    for (const TRE_DFATransition& t : dfa.State(dfa.Initial()).transitions)
      work.push_back(t.target);
    while (!work.empty()) {
      int s = work.back();
      work.pop_back();
      if (seen[s] || dfa.Accepting(s)) continue;
      seen[s] = 1;
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
  const std::uint32_t* const cut = cuts.data();
  const std::vector<ByteRun> runs = ByteRuns(cut);

  std::unordered_map<std::vector<int>, int, VectorHash> set_index;
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
  auto set_id = [&](const std::vector<int>& set) {
    auto it = set_index.find(set);
    if (it != set_index.end()) return it->second;
    int id = static_cast<int>(a.sets_.size());
    if (id >= kMaxSets) too_big = true;
    set_index.emplace(set, id);
    a.sets_.push_back(set);
    pending.push_back(id);
    return id;
  };
  // Rows are numbered later; until then an entry for a set is stored as its set id + a bias.
  constexpr std::int32_t kSetBias = 1 << 24;

  std::vector<int> next;  // the set after a step
  int empty_set = set_id({});
  bool lf0_accepts = false;
  a.Step({}, kLineFeed, true, lf0_accepts, next);
  int lf0_set = set_id(next);
  a.lf0_accepts_ = lf0_accepts;
  auto line_end_entry = [&](int set, unsigned b) -> std::int32_t {
    bool tail_accepts;  // a line feed completes a match
    a.Step(a.sets_[set], kLineFeed, false, tail_accepts, next);
    if (tail_accepts) return special(SpecialKind::kTail, set, 0);
    if (lf0_accepts) return special(SpecialKind::kLineAccept, set, 0);
    return b == '\r' ? -(1 << 30) : kSetBias + lf0_set;  // -(1 << 30): "the after-return row"
  };

  // The rows of the sets by set id, one entry a byte run (every byte of a run has its entry).
  const size_t run_count = runs.size();
  std::vector<std::int32_t> set_rows;
  std::vector<int> memo;
  // A lead row that crosses intervals is the same row whenever the same lead byte's intervals
  // step to the same entries: by the lead byte and those entries, the lead row's index.
  std::unordered_map<std::vector<std::int32_t>, int, VectorHash> mixed_lead_rows;
  std::vector<std::int32_t> lead_key;
  std::vector<std::int32_t> lead_row(256);
  // A bound on the building work too (kMaxWork), so that a huge pattern falls back quickly.
  size_t work = 0;
  while (!pending.empty() && !too_big) {
    int id = pending.back();
    pending.pop_back();
    std::vector<int> set = a.sets_[id];
    // interval -> -2 unknown, -1 accepts, else the next set's id
    memo.assign(cuts.size(), -2);
    int* const known_next = memo.data();
    auto step_interval = [&](size_t interval) -> std::int32_t {
      int& known = known_next[interval];
      if (known == -2) {
        work += set.size() + 1;
        if (work > kMaxWork) too_big = true;
        bool accepts;
        a.Step(set, static_cast<RECode>(cut[interval]), true, accepts, next);
        known = accepts ? -1 : set_id(next);
      }
      if (known == -1) return special(SpecialKind::kAccept, id, 0);
      return kSetBias + known;
    };
    const size_t row_at = static_cast<size_t>(id) * run_count;
    if (set_rows.size() < row_at + run_count) set_rows.resize(row_at + run_count);
    std::int32_t* const row = set_rows.data() + row_at;
    // Run by run in byte order, so that sets and specials are numbered as byte by byte.
    for (size_t j = 0; j < run_count && !too_big; ++j) {
      const ByteRun& run = runs[j];
      std::int32_t& entry = row[j];
      switch (run.kind) {
        case ByteRun::kLineEnd:
          entry = line_end_entry(id, run.from);
          break;
        case ByteRun::kSingle:
          entry = step_interval(run.interval);
          break;
        case ByteRun::kUniformLead: {
          // A line end after a lead byte is that character's second byte and ends no line.
          std::int32_t lead_entry = step_interval(run.interval);
          auto known = uniform_lead_rows.find(lead_entry);
          int index;
          if (known != uniform_lead_rows.end()) {
            index = known->second;
          } else {
            auto [it, added] = lead_rows.emplace(std::vector<std::int32_t>(256, lead_entry),
                                                 static_cast<int>(lead_rows.size()));
            index = it->second;
            uniform_lead_rows.emplace(lead_entry, index);
          }
          entry = -(2 << 28) - index;  // a lead row, numbered below
          break;
        }
        case ByteRun::kMixedLead: {
          const std::uint32_t first = run.from << 8, last = first | 0xFF;
          lead_key.assign(1, static_cast<std::int32_t>(run.from));
          for (size_t k = run.interval; cut[k] <= last; ++k) lead_key.push_back(step_interval(k));
          auto known = mixed_lead_rows.find(lead_key);
          if (known != mixed_lead_rows.end()) {
            entry = -(2 << 28) - known->second;
            break;
          }
          // Filled interval by interval: every code of an interval steps alike.
          std::int32_t* const lead = lead_row.data();
          const std::int32_t* step = lead_key.data() + 1;
          for (std::uint32_t code = first, k = 0; code <= last; ++k) {
            const std::uint32_t stop = std::min<std::uint32_t>(cut[run.interval + k + 1], last + 1);
            std::fill(lead + (code - first), lead + (stop - first), step[k]);
            code = stop;
          }
          auto [it, added] = lead_rows.emplace(lead_row, static_cast<int>(lead_rows.size()));
          mixed_lead_rows.emplace(lead_key, it->second);
          entry = -(2 << 28) - it->second;
          break;
        }
      }
    }
    if (static_cast<int>(lead_rows.size() + a.sets_.size()) > kMaxRows) too_big = true;
  }
  if (too_big) return nullptr;

  // Row numbers: the sets first, then the after-return row, the done row, the lead rows.
  const int set_count = static_cast<int>(a.sets_.size());
  const int after_return = set_count;
  const int done = set_count + 1;
  const int lead_base = set_count + 2;
  const int row_count = lead_base + static_cast<int>(lead_rows.size());
  const auto rows = static_cast<size_t>(row_count);
  auto resolve = [&](std::int32_t e) -> std::int32_t {
    if (e >= kSetBias) return e - kSetBias;
    if (e == -(1 << 30)) return after_return;
    if (e <= -(2 << 28)) return lead_base + (-(2 << 28) - e);
    return e;  // a special
  };
  // The table column by column, in two parts. The rows before the lead rows (the sets', the
  // after-return row and the done row) are alike for all bytes of a run: their part is kept
  // once a run, rows_before entries each. The lead rows' part is kept for each byte,
  // lead_count entries each. Two bytes are then compared as blocks.
  const auto rows_before = static_cast<size_t>(lead_base);
  const size_t lead_count = lead_rows.size();
  std::array<size_t, 256> run_of{};
  for (size_t j = 0; j < run_count; ++j) {
    for (unsigned b = runs[j].from; b < runs[j].to; ++b) run_of[b] = j;
  }
  const size_t line_feed_run = run_of['\n'], return_run = run_of['\r'];
  std::vector<std::int32_t> run_columns(run_count * rows_before);
  std::int32_t* const run_column = run_columns.data();
  for (size_t s = 0; s < static_cast<size_t>(set_count); ++s) {
    const std::int32_t* const row = set_rows.data() + s * run_count;
    for (size_t j = 0; j < run_count; ++j) run_column[j * rows_before + s] = resolve(row[j]);
  }
  for (size_t j = 0; j < run_count; ++j) {
    std::int32_t* const entries = run_column + j * rows_before;
    entries[after_return] = entries[lf0_set];
    entries[done] = done;
  }
  // The line feed of CR LF ends no further line.
  run_column[line_feed_run * rows_before + after_return] = lf0_set;
  run_column[line_feed_run * rows_before + done] =
      resolve(lf0_accepts ? special(SpecialKind::kLineAccept, empty_set, 0) : kSetBias + lf0_set);
  run_column[return_run * rows_before + done] =
      resolve(lf0_accepts ? special(SpecialKind::kLineAccept, empty_set, 0) : -(1 << 30));
  std::vector<std::int32_t> lead_columns(256 * lead_count);
  std::int32_t* const lead_column = lead_columns.data();
  std::vector<char> uniform(lead_count, 0);
  for (const auto& [entry, index] : uniform_lead_rows) {
    uniform[static_cast<size_t>(index)] = 1;
    const std::int32_t e = resolve(entry);
    for (size_t t = 0; t < 256; ++t) lead_column[t * lead_count + static_cast<size_t>(index)] = e;
  }
  for (const auto& [lead_entries, index] : lead_rows) {
    const auto i = static_cast<size_t>(index);
    if (uniform[i]) continue;
    const std::int32_t* const lead = lead_entries.data();
    for (size_t t = 0; t < 256; ++t) lead_column[t * lead_count + i] = resolve(lead[t]);
  }

  // Bytes that every row treats alike share a column. Columns are told apart by a hash of
  // their entries first (the part before the lead rows hashed once a run) and compared whole
  // only when the hashes agree.
  auto hash = [](std::uint64_t h, const std::int32_t* entries, size_t count) {
    for (size_t r = 0; r < count; ++r)
      h = (h ^ static_cast<std::uint32_t>(entries[r])) * 0x100000001B3u;
    return h;
  };
  std::vector<std::uint64_t> run_hash(run_count);
  for (size_t j = 0; j < run_count; ++j)
    run_hash[j] = hash(0, run_column + j * rows_before, rows_before);
  std::array<std::uint64_t, 256> column_hash{};
  for (size_t b = 0; b < 256; ++b) {
    column_hash[b] = hash(run_hash[run_of[b]], lead_column + b * lead_count, lead_count);
  }
  auto same = [&](const std::int32_t* x, const std::int32_t* y, size_t count) {
    return x == y || std::memcmp(x, y, count * sizeof(std::int32_t)) == 0;
  };
  auto same_column = [&](unsigned x, unsigned y) {
    return column_hash[x] == column_hash[y] &&
           same(run_column + run_of[x] * rows_before, run_column + run_of[y] * rows_before,
                rows_before) &&
           same(lead_column + x * lead_count, lead_column + y * lead_count, lead_count);
  };
  std::vector<unsigned> class_byte;  // a byte of each class, whose columns all differ
  for (unsigned b = 0; b < 256; ++b) {
    // Neighbouring bytes mostly share a class: that of the byte before is tried first.
    size_t c = b > 0 ? a.byte_class_[b - 1] : class_byte.size();
    if (c == class_byte.size() || !same_column(class_byte[c], b)) {
      c = 0;
      while (c < class_byte.size() && !same_column(class_byte[c], b)) ++c;
    }
    if (c == class_byte.size()) class_byte.push_back(b);
    a.byte_class_[b] = static_cast<std::uint8_t>(c);
  }
  a.classes_ = static_cast<int>(class_byte.size());
  // Every byte of a class has the same column: one byte of each is enough.
  const auto classes = static_cast<size_t>(a.classes_);
  a.table_.assign(rows * classes, 0);
  std::int32_t* const table = a.table_.data();
  auto put = [&](size_t c, size_t first_row, const std::int32_t* entries, size_t count) {
    for (size_t r = 0; r < count; ++r) {
      const std::int32_t e = entries[r];
      table[(first_row + r) * classes + c] = e >= 0 ? e * a.classes_ : e;
    }
  };
  for (size_t c = 0; c < classes; ++c) {
    const unsigned b = class_byte[c];
    put(c, 0, run_column + run_of[b] * rows_before, rows_before);
    put(c, rows_before, lead_column + b * lead_count, lead_count);
  }
  a.start_ = empty_set * a.classes_;
  a.lf0_ = lf0_set * a.classes_;
  a.lf0cr_ = after_return * a.classes_;
  a.done_ = done * a.classes_;
  return automaton;
}

}  // namespace search
