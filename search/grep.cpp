#include "search/grep.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/cp932.h"
#include "search/byte_scan.h"
#include "search/grep_automaton.h"
#include "search/grep_nfa.h"

namespace search {

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

using byte_scan::AtCharStart;
using byte_scan::CountLineEnds;
using byte_scan::FindBytes;
using byte_scan::IsRealLineEnd;

bool IsLineEnd(unsigned char b) {
  return b == '\n' || b == '\r';
}

// The first line end (LF or CR) in [from, to), or kNone.
size_t FindLineEnd(const unsigned char* buf, size_t from, size_t to) {
  while (from < to) {
    const void* lf = std::memchr(buf + from, '\n', to - from);
    size_t lf_at = lf ? static_cast<size_t>(static_cast<const unsigned char*>(lf) - buf) : to;
    const void* cr = std::memchr(buf + from, '\r', lf_at - from);
    size_t at = cr ? static_cast<size_t>(static_cast<const unsigned char*>(cr) - buf)
                   : (lf ? lf_at : kNone);
    if (at == kNone) return kNone;
    if (IsRealLineEnd(buf, at)) return at;
    from = at + 1;
  }
  return kNone;
}

// The last line end in [from, to), or kNone.
size_t FindLastLineEnd(const unsigned char* buf, size_t from, size_t to) {
  while (from < to) {
    const void* lf = memrchr(buf + from, '\n', to - from);
    size_t lf_at = lf ? static_cast<size_t>(static_cast<const unsigned char*>(lf) - buf) : kNone;
    size_t cr_from = lf ? lf_at + 1 : from;
    const void* cr = cr_from < to ? memrchr(buf + cr_from, '\r', to - cr_from) : nullptr;
    size_t at = cr ? static_cast<size_t>(static_cast<const unsigned char*>(cr) - buf) : lf_at;
    if (at == kNone) return kNone;
    if (IsRealLineEnd(buf, at)) return at;
    to = at;
  }
  return kNone;
}

// The start of the line that holds position p: just after the last line end before p, but not
// before `floor`, a position known to start a line.
size_t LineStartOf(const unsigned char* buf, size_t p, size_t floor) {
  size_t end = FindLastLineEnd(buf, floor, p);
  return end == kNone ? floor : end + 1;
}

}  // namespace

TGrep::TGrep() {
  PreProcessor().FuzzyCharDics.push_back(TREPreProcessor::BuiltInFuzzyCharDic());
}

void TGrep::SetRegExp(const std::string& pattern) {
  TRegularExpression::SetRegExp(pattern);
  matcher_ = IsLiteral() ? Matcher::kString : Matcher::kAutomaton;
}

void TGrep::Report(TTxtFile& file, const unsigned char* buffer, size_t line_start, size_t line_end,
                   int line_no) {
  file.Yield();
  // One record for all reports keeps its string's storage from line to line.
  // A line end that is the second byte of a character stays in the text, except at its end,
  // where the line's trailing line feeds and carriage returns are dropped.
  while (line_end > line_start && IsLineEnd(buffer[line_end - 1])) --line_end;
  info_.Line.assign(reinterpret_cast<const char*>(buffer) + line_start, line_end - line_start);
  // The matchers that hold the whole file know the numbers anyway; without numbers every
  // matcher reports 0 alike.
  info_.LineNo = count_lines_ ? line_no : 0;
  OnMatch(*this, info_);
}

namespace {

// What a search keeps with the automaton: its byte table, or none when the pattern needs the
// start-by-start matcher.
struct FastForm {
  std::shared_ptr<const TGrepAutomaton> automaton;
  // Built when first needed: most patterns never use it.
  mutable std::shared_ptr<const TGrepNfa> nfa;
};

const FastForm& FastFormOf(const TRE_DFA& dfa) {
  std::shared_ptr<const void>& slot = dfa.Attachment();
  if (!slot) {
    slot = std::make_shared<FastForm>(
        FastForm{dfa.Complete() ? TGrepAutomaton::Build(dfa) : nullptr, nullptr});
  }
  return *static_cast<const FastForm*>(slot.get());
}

}  // namespace

void TGrep::Grep(const std::filesystem::path& path) {
  if (!OnMatch) return;
  Cancel = false;
  TTxtFile file(path, read_buffer_, Cancel, CancelRequest, ProcessMessages);
  if (map_large_files_) file.AllowMapping();
  Search(file);
}

void TGrep::Grep(int dir_fd, const char* name) {
  if (!OnMatch) return;
  Cancel = false;
  TTxtFile file(dir_fd, name, read_buffer_, Cancel, CancelRequest, ProcessMessages);
  if (map_large_files_) file.AllowMapping();
  Search(file);
}

void TGrep::GrepText(std::string_view text) {
  if (!OnMatch) return;
  Cancel = false;
  TTxtFile file(text, "", read_buffer_, Cancel, CancelRequest, ProcessMessages);
  Search(file);
}

void TGrep::Search(TTxtFile& file) {
  if (start_by_start_) {
    StartByStart(file);
    return;
  }
  const TRE_DFA& dfa = Automaton();
  // Fixed strings (one, or an alternation of them) are found by their bytes and need none of
  // the byte table's rows, so the table, whose building grows with the pattern, is not built.
  if ((IsLiteral() && !LiteralText().empty() && LiteralText().find('\n') == std::string::npos) ||
      (!dfa.RequiredTexts().empty() && dfa.RequiredTextsSuffice())) {
    static const TRE_DFA empty_pattern;
    static const std::shared_ptr<const TGrepAutomaton> plain = TGrepAutomaton::Build(empty_pattern);
    ByTable(file, *plain);
    return;
  }
  if (dfa.Nfa() && (!dfa.Complete() || by_nfa_)) {
    ByNfa(file);
    return;
  }
  const FastForm& form = FastFormOf(dfa);
  if (form.automaton) {
    ByTable(file, *form.automaton);
    return;
  }
  // Without a byte table, a long fixed text with a short rest (a few thousand characters and
  // ".", or "." and then those) would keep as many threads as the text has characters in a
  // text that repeats it; the simulation around the fixed text keeps only the rest's states.
  if (dfa.Nfa()) {
    if (!form.nfa) form.nfa = std::make_shared<const TGrepNfa>(*dfa.Nfa());
    if (form.nfa->FixedTextOutweighsRest()) {
      ByNfa(file);
      return;
    }
  }
  ByThreads(file);
}

// The start-by-start result in one pass: every character position starts an attempt (a thread
// in the automaton), and a line is reported when an attempt that starts in it reaches an
// accepting state. Attempts that reach the same state at the same place share the rest of
// their way, so they are merged (at most one thread per state), which bounds the work per
// character by the automaton's size whatever the input. Merged attempts share their outcome:
// a union-find over the attempts records it, and each line learns at the end whether one of
// its attempts matched. Matches may run on across line ends, so the file is held whole.
void TGrep::ByThreads(TTxtFile& file) {
  while (file.ReadBlock(0)) {
  }
  const unsigned char* buf = file.Data();
  const size_t n = file.Size();
  if (n == 0) return;
  const TRE_DFA& dfa = Automaton();
  struct Thread {
    int state;
    std::uint32_t attempt;
  };
  std::vector<std::uint32_t> parent;       // the attempts' union-find
  std::vector<std::uint8_t> matched;       // by root
  std::vector<int> attempt_line;           // the line each attempt starts in
  std::vector<size_t> line_starts{kNone};  // by line number (1-based)
  std::vector<Thread> threads, next;
  std::vector<std::int32_t> slot(static_cast<size_t>(dfa.StateCount()), -1);
  auto find = [&](std::uint32_t x) {
    while (parent[x] != x) {
      parent[x] = parent[parent[x]];
      x = parent[x];
    }
    return x;
  };
  auto advance = [&](const Thread& t, RECode code) {
    int to = dfa.NextSorted(t.state, code);
    if (to < 0) return;
    if (dfa.Accepting(to)) {
      matched[find(t.attempt)] = 1;
      return;
    }
    std::int32_t& at = slot[static_cast<size_t>(to)];
    if (at >= 0) {
      std::uint32_t a = find(next[static_cast<size_t>(at)].attempt), b = find(t.attempt);
      if (a != b) parent[std::max(a, b)] = std::min(a, b);
      return;
    }
    at = static_cast<std::int32_t>(next.size());
    next.push_back({to, t.attempt});
  };
  int line = 0;
  for (size_t i = 0; i < n;) {
    unsigned char b = buf[i];
    RECode code;
    if (b == '\r' || b == '\n') {
      i += (b == '\r' && i + 1 < n && buf[i + 1] == '\n') ? 2 : 1;
      code = 10;
      ++line;
      line_starts.push_back(i);
    } else if (cp932::IsLeadByte(b) && i + 1 < n) {
      code = static_cast<RECode>(b << 8 | buf[i + 1]);
      i += 2;
    } else {
      code = b;
      ++i;
    }
    next.clear();
    for (const Thread& t : threads) advance(t, code);
    // A new attempt starts at this character; a line already known to match needs none.
    const bool known = !attempt_line.empty() && attempt_line.back() == line &&
                       matched[find(static_cast<std::uint32_t>(attempt_line.size() - 1))];
    if (!known) {
      auto id = static_cast<std::uint32_t>(parent.size());
      parent.push_back(id);
      matched.push_back(0);
      attempt_line.push_back(line);
      advance({dfa.Initial(), id}, code);
    }
    for (const Thread& t : next) slot[static_cast<size_t>(t.state)] = -1;
    threads.swap(next);
  }
  std::vector<std::uint8_t> line_matched(line_starts.size() + 1, 0);
  for (size_t k = 0; k < attempt_line.size(); ++k) {
    if (matched[find(static_cast<std::uint32_t>(k))]) line_matched[attempt_line[k]] = 1;
  }
  for (int l = 1; l < static_cast<int>(line_starts.size()); ++l) {
    if (!line_matched[l]) continue;
    const size_t ls = line_starts[l];
    if (ls >= n) break;  // no line after the file's last line end
    size_t end = FindLineEnd(buf, ls, n);
    if (end == kNone) end = n;
    Report(file, buf, ls, end, l);
  }
}

// The nondeterministic automaton, simulated over the whole file at once. The file is held whole
// (a bit a byte besides) because matches may run on across line ends. The texts every match
// holds are looked for first: a file without any of them has no match.
void TGrep::ByNfa(TTxtFile& file) {
  while (file.ReadBlock(0)) {
  }
  const unsigned char* buf = file.Data();
  const size_t n = file.Size();
  if (n == 0) return;
  const TRE_DFA& dfa = Automaton();
  const std::vector<std::string>& required = dfa.RequiredTexts();
  if (!required.empty() &&
      std::none_of(required.begin(), required.end(),
                   [&](const std::string& text) { return FindBytes(buf, n, text) != nullptr; })) {
    return;
  }
  const FastForm& form = FastFormOf(dfa);
  if (!form.nfa) form.nfa = std::make_shared<const TGrepNfa>(*dfa.Nfa());
  // A pattern with fixed text is matched around it, by its rest, unless the plain simulation
  // was asked for (as the reference of tests and fuzzing).
  const bool by_fixed_text = !by_nfa_ && !start_by_start_;
  for (auto [line, start] : by_fixed_text ? form.nfa->MatchingLinesByFixedText(buf, n)
                                          : form.nfa->MatchingLines(buf, n)) {
    size_t end = FindLineEnd(buf, start, n);
    if (end == kNone) end = n;
    Report(file, buf, start, end, line);
  }
}

// The matchers as described: every character position of the file in turn is the start of an
// attempt; a line is reported at the first accepting state and the rest of it is skipped. The
// file is held whole, which only the rare patterns whose matches run across line ends need.
void TGrep::StartByStart(TTxtFile& file) {
  if (!Automaton().Complete()) {
    ByNfa(file);  // no deterministic automaton to follow start by start
    return;
  }
  while (file.ReadBlock(0)) {
  }
  const unsigned char* buf = file.Data();
  const size_t n = file.Size();
  if (n == 0) return;
  auto char_at = [&](size_t& i) -> RECode {
    unsigned char b = buf[i];
    if (b == '\r') {
      i += (i + 1 < n && buf[i + 1] == '\n') ? 2 : 1;
      return 10;
    }
    if (cp932::IsLeadByte(b) && i + 1 < n) {
      RECode code = static_cast<RECode>(b << 8 | buf[i + 1]);
      i += 2;
      return code;
    }
    ++i;
    return b;
  };
  const TRE_DFA& dfa = Automaton();
  std::vector<RECode> literal;
  if (matcher_ == Matcher::kString) {
    const std::string& text = LiteralText();
    for (size_t i = 0; i < text.size(); ++i) {
      auto c = static_cast<unsigned char>(text[i]);
      if (cp932::IsLeadByte(c) && i + 1 < text.size()) {
        literal.push_back(static_cast<RECode>(c << 8 | static_cast<unsigned char>(text[++i])));
      } else {
        literal.push_back(c);
      }
    }
  }
  int line = 0;
  size_t line_start = 0;
  size_t start = 0;
  while (start < n) {
    bool line_end = IsLineEnd(buf[start]);
    RECode code = char_at(start);
    if (line_end) {
      ++line;
      line_start = start;
    }
    bool matched = false;
    size_t look = start;
    if (matcher_ == Matcher::kString) {
      if (literal.empty() || code != literal[0]) continue;
      size_t k = 1;
      while (k < literal.size() && look < n && char_at(look) == literal[k]) ++k;
      matched = k == literal.size();
    } else {
      int state = dfa.Next(dfa.Initial(), code);
      while (state >= 0) {
        if (dfa.Accepting(state)) {
          matched = true;
          break;
        }
        if (look >= n) break;
        state = dfa.Next(state, char_at(look));
      }
    }
    if (!matched) continue;
    if (line_start >= n) return;  // no line after the file's last line end
    size_t end = FindLineEnd(buf, line_start, n);
    if (end == kNone) end = n;  // the file's closing line feed was a second byte
    Report(file, buf, line_start, end, line);
    start = end;
  }
}

// One table step per byte over the blocks as they are read. Lines that cannot hold the text
// every match needs are skipped with a memory search.
void TGrep::ByTable(TTxtFile& file, const TGrepAutomaton& a) {
  const std::vector<std::string>& required = Automaton().RequiredTexts();
  std::vector<size_t> next_hit(required.size());
  const bool one_string = matcher_ == Matcher::kString && !LiteralText().empty() &&
                          LiteralText().find('\n') == std::string::npos;
  const bool literal = one_string || (!required.empty() && Automaton().RequiredTextsSuffice());
  // The strings searched for; the fixed string itself is a one-string list of its own.
  const std::vector<std::string> just_the_literal =
      one_string ? std::vector<std::string>{LiteralText()} : std::vector<std::string>{};
  static const std::vector<std::string> none;
  const std::vector<std::string>& strings = one_string ? just_the_literal
                                            : literal  ? required
                                                       : none;
  size_t longest = 1;
  for (const std::string& text : strings) longest = std::max(longest, text.size());
  // Strings that begin alike ("午前" and "午後") are found by what they share, searched once,
  // and told apart where it is found: searching each of them in turn would go over the same
  // places for every one, each place being as common as the shared lead byte.
  const std::vector<std::string>& searched = literal ? strings : required;
  std::string shared = searched.size() > 1 ? searched[0] : std::string();
  for (const std::string& text : searched) {
    size_t k = 0;
    while (k < shared.size() && k < text.size() && shared[k] == text[k]) ++k;
    shared.resize(k);
  }
  const bool by_shared = shared.size() >= 2;
  // The nearest place at or after `from` where one of the strings begins, with that string's
  // length, or kNone.
  auto nearest_shared = [&](const unsigned char* buf, size_t from, size_t n,
                            size_t& length) -> size_t {
    while (from < n) {
      const unsigned char* hit = FindBytes(buf + from, n - from, shared);
      if (!hit) return kNone;
      size_t h = static_cast<size_t>(hit - buf);
      size_t best = 0;
      for (const std::string& text : searched) {
        if (text.size() <= n - h && std::memcmp(buf + h, text.data(), text.size()) == 0 &&
            (best == 0 || text.size() < best)) {
          best = text.size();
        }
      }
      if (best != 0) {
        length = best;
        return h;
      }
      from = h + 1;
    }
    return kNone;
  };
  if (one_string) next_hit.assign(1, 0);
  const std::int32_t* table = a.Table();
  const std::uint8_t* byte_class = a.ByteClass();
  const std::int32_t line_start_row = a.LineStartRow();
  const std::int32_t after_return_row = a.AfterReturnRow();
  const std::int32_t done_row = a.DoneRow();
  std::int32_t s = a.StartRow();
  size_t pos = 0, keep = 0, old_size = 0;
  std::uint64_t lines = 0;
  // Line ends are counted up to here, from the file's start. A mapped file keeps its dropped
  // bytes, so its lines are counted only up to each reported line: a file without a match is
  // never counted at all.
  std::uint64_t counted = 0;
  std::optional<size_t> pending;  // a reported line whose end has not been read yet

  while (file.ReadBlock(keep)) {
    pos -= keep;
    if (pending) *pending -= keep;
    const size_t scan_floor = old_size > keep ? old_size - keep : 0;  // where new bytes begin
    const unsigned char* buf = file.Data();
    const size_t n = file.Size();
    const bool eof = file.AtEof();
    // A CR at the end of a block waits for the next one, which may begin with its LF.
    const size_t limit = (!eof && buf[n - 1] == '\r') ? n - 1 : n;

    const std::uint64_t dropped = file.Dropped();
    const unsigned char* whole = file.Whole();
    auto count_to = [&](size_t p) {
      if (!count_lines_ || dropped + p <= counted) return;
      lines += whole ? CountLineEnds(whole, counted, dropped + p)
                     : CountLineEnds(buf, static_cast<size_t>(counted - dropped), p);
      counted = dropped + p;
    };
    auto line_no = [&](size_t line_start) {
      count_to(line_start);
      return static_cast<int>(lines);
    };
    auto report = [&](size_t ls, size_t le) { Report(file, buf, ls, le, line_no(ls)); };
    // Reports the line from ls when its end is in the buffer; else remembers it. Returns where
    // scanning goes on (the line end, consumed in the done row) or kNone when it must wait.
    auto report_from = [&](size_t ls) -> size_t {
      size_t le = FindLineEnd(buf, ls, limit);
      s = done_row;
      if (le == kNone && eof) le = n;  // the closing line feed was a second byte
      if (le == kNone) {
        pending = ls;
        return kNone;
      }
      report(ls, le);
      return le;
    };
    // After the line end at p: the next line begins.
    auto new_line = [&](size_t p) -> size_t {
      if (!a.LineHeadAccepts()) {
        s = buf[p] == '\r' ? after_return_row : line_start_row;
        return p + 1;
      }
      size_t ls = p + 1;
      if (buf[p] == '\r' && ls < n && buf[ls] == '\n') ++ls;
      if (ls >= n && eof) {
        s = done_row;
        return n;
      }
      return report_from(ls);
    };
    // Runs the table over [from, to); returns the position reached or kNone to wait for more.
    auto run = [&](size_t from, size_t to) -> size_t {
      size_t p = from;
      while (p < to) {
        // The hot loop keeps the state in a local; specials are rare.
        std::int32_t state = s;
        std::int32_t e = 0;
        while (p + 4 <= to) {
          std::int32_t e0 = table[state + byte_class[buf[p]]];
          if (e0 < 0) break;
          std::int32_t e1 = table[e0 + byte_class[buf[p + 1]]];
          if (e1 < 0) {
            state = e0;
            ++p;
            break;
          }
          std::int32_t e2 = table[e1 + byte_class[buf[p + 2]]];
          if (e2 < 0) {
            state = e1;
            p += 2;
            break;
          }
          std::int32_t e3 = table[e2 + byte_class[buf[p + 3]]];
          if (e3 < 0) {
            state = e2;
            p += 3;
            break;
          }
          state = e3;
          p += 4;
        }
        while (p < to) {
          e = table[state + byte_class[buf[p]]];
          if (e < 0) break;
          state = e;
          ++p;
        }
        s = state;
        if (p >= to) break;
        const TGrepAutomaton::Special& sp = a.SpecialAt(e);
        size_t next;
        switch (sp.kind) {
          case TGrepAutomaton::SpecialKind::kAccept:
            next = report_from(LineStartOf(buf, p, 0));
            break;
          case TGrepAutomaton::SpecialKind::kTail:
            report(LineStartOf(buf, p, 0), p);
            next = new_line(p);
            break;
          default:  // kLineAccept
            next = new_line(p);
            break;
        }
        if (next == kNone) return kNone;
        p = next;
      }
      return p;
    };

    if (pending) {
      size_t le = FindLineEnd(buf, pos, limit);
      if (le == kNone && eof) le = n;
      if (le == kNone) {
        pos = limit;
      } else {
        report(*pending, le);
        pending.reset();
        pos = le;
        s = done_row;
      }
    }
    std::fill(next_hit.begin(), next_hit.end(), kNone - 1);  // not searched in this buffer
    // The string matcher: a fixed string without line feeds is found by its bytes; a place
    // where it starts on a character boundary is a match, exactly as comparing characters.
    // An alternation of fixed strings is matched the same way, by the nearest of them.
    while (literal && !pending && pos < limit) {
      size_t h = kNone;
      if (by_shared) {
        size_t length = 0;
        h = nearest_shared(buf, pos, n, length);
      } else {
        for (size_t k = 0; k < strings.size(); ++k) {
          if (next_hit[k] == kNone - 1 || (next_hit[k] != kNone && next_hit[k] < pos)) {
            const unsigned char* hit = FindBytes(buf + pos, n - pos, strings[k]);
            next_hit[k] = hit ? static_cast<size_t>(hit - buf) : kNone;
          }
          h = std::min(h, next_hit[k]);
        }
      }
      if (h == kNone) {
        // Every start up to n - length has been tried; a later one may need the next block.
        size_t untried = n >= longest ? n - longest + 1 : 0;
        pos = std::max(pos, std::min(untried, limit));
        break;
      }
      if (!AtCharStart(buf, h, 0)) {
        pos = h + 1;
        continue;
      }
      size_t next = report_from(LineStartOf(buf, h, 0));
      pos = next == kNone ? limit : next + 1;
    }
    while (!literal && !pending && pos < limit) {
      if (required.empty()) {
        size_t reached = run(pos, limit);
        pos = reached == kNone ? limit : reached;
        break;
      }
      if (s != line_start_row && s != after_return_row) {
        // Inside a line: finish it with the table, then look for the next candidate line.
        size_t le = FindLineEnd(buf, pos, limit);
        size_t reached = run(pos, le == kNone ? limit : le + 1);
        pos = reached == kNone ? limit : reached;
        continue;
      }
      // The nearest hit of any required text; each text's next hit is kept until passed.
      size_t h = kNone, h_end = kNone;
      if (by_shared) {
        size_t length = 0;
        h = nearest_shared(buf, pos, n, length);
        if (h != kNone) h_end = h + length;
      } else {
        for (size_t k = 0; k < required.size(); ++k) {
          if (next_hit[k] == kNone - 1 || (next_hit[k] != kNone && next_hit[k] < pos)) {
            const unsigned char* hit = FindBytes(buf + pos, n - pos, required[k]);
            next_hit[k] = hit ? static_cast<size_t>(hit - buf) : kNone;
          }
          if (next_hit[k] < h) {
            h = next_hit[k];
            h_end = h + required[k].size();
          }
        }
      }
      if (h == kNone) {
        // No line before the last line end can match: go straight to the last line.
        size_t last = FindLastLineEnd(buf, pos, limit);
        if (last != kNone) {
          s = buf[last] == '\r' ? after_return_row : line_start_row;
          pos = last + 1;
        }
        size_t reached = run(pos, limit);
        pos = reached == kNone ? limit : reached;
        break;
      }
      size_t ls = LineStartOf(buf, h, pos);
      if (ls > pos) {
        s = buf[ls - 1] == '\r' ? after_return_row : line_start_row;
        pos = ls;
      }
      size_t le = FindLineEnd(buf, h_end, limit);
      size_t to = le == kNone ? limit : le + 1;
      size_t reached = run(pos, to);
      pos = reached == kNone ? limit : reached;
    }

    // Keep the line that is not finished (or not yet reported whole) for the next block.
    size_t carry;
    if (pending) {
      carry = *pending;
    } else {
      size_t last = FindLastLineEnd(buf, scan_floor > 0 ? scan_floor - 1 : 0, limit);
      carry = last == kNone ? 0 : last + 1;
    }
    if (!whole && counted > dropped + carry) carry = static_cast<size_t>(counted - dropped);
    // Starts before the last line cannot begin a match that ends in the next block (a match
    // never crosses a line end here), so the string matcher may go on from the carry.
    if (literal && pos < carry) pos = carry;
    if (!whole) count_to(carry);
    keep = carry;
    old_size = n;
  }
}

}  // namespace search
