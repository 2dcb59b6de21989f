// TGrepAutomaton: a byte-level form of a pattern's deterministic automaton for the grep. One
// table step per byte finds the lines in which some character position starts a match, which
// is what the grep reports; double-byte characters (a lead byte takes the next byte, be it a
// line end or not), CR LF, lone CR and the line head and tail
// are part of the table. Patterns whose matches can run on across a line end, or whose table
// would grow too large, have no such form and are matched start by start instead.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "search/tre_dfa.h"

namespace search {

class TGrepAutomaton {
 public:
  // Bounds of the table: beyond them the pattern is matched without one (kBudgetDivisor: see
  // search/tre_dfa.h).
  static constexpr int kMaxSets = 3000 / kBudgetDivisor;
  static constexpr int kMaxRows = 30000 / kBudgetDivisor;
  static constexpr size_t kMaxWork = 20'000'000 / kBudgetDivisor;

  // nullptr when the pattern needs the start-by-start matcher.
  static std::shared_ptr<const TGrepAutomaton> Build(const TRE_DFA& dfa);

  enum class SpecialKind : std::uint8_t {
    kAccept,      // a character completed a match in the current line
    kTail,        // a line end completed a match of the line it ends
    kLineAccept,  // a line end, and the line after it matches at its line head
  };
  struct Special {
    SpecialKind kind;
    int set;  // the set of automaton states before the byte
  };

  // Table entries: row offsets (row * ClassCount()) or, when negative, -(1 + special index).
  const std::int32_t* Table() const { return table_.data(); }
  const std::uint8_t* ByteClass() const { return byte_class_.data(); }
  int ClassCount() const { return classes_; }
  std::int32_t StartRow() const { return start_; }        // before the leading line feed
  std::int32_t LineStartRow() const { return lf0_; }      // after a line feed
  std::int32_t AfterReturnRow() const { return lf0cr_; }  // after a carriage return
  std::int32_t DoneRow() const { return done_; }          // the rest of a reported line
  bool LineHeadAccepts() const { return lf0_accepts_; }
  const Special& SpecialAt(std::int32_t entry) const {
    return specials_[static_cast<size_t>(-entry - 1)];
  }

 private:
  void Step(const std::vector<int>& set, RECode code, bool inject, bool& accepts,
            std::vector<int>& next) const;

  const TRE_DFA* dfa_ = nullptr;
  std::vector<std::vector<int>> sets_;
  std::vector<std::int32_t> table_;
  std::array<std::uint8_t, 256> byte_class_{};
  int classes_ = 0;
  std::int32_t start_ = 0, lf0_ = 0, lf0cr_ = 0, done_ = 0;
  bool lf0_accepts_ = false;
  std::vector<Special> specials_;
};

}  // namespace search
