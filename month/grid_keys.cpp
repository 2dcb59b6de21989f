#include "month/grid_keys.h"

#include <algorithm>

namespace month {
namespace grid_keys {
namespace {

using enum Op;
using enum Value;
using enum Guard;
constexpr bool kFull = false, kHalf = true;

// The grid's own arrow handling runs after these steps and moves the focused grid's cursor by
// one row where it can; the days below are those before that move.
constexpr Rule kRules[] = {
    // Left grid.
    {1,
     kFull,
     GridKey::kRight,
     {{{kSelect, kBesideInSecondHalf}, {kCalSetDay, kBesideInSecondHalf}}}},
    {1,
     kHalf,
     GridKey::kRight,
     {{{kSelect, kBesideInNextMonth}, {kCalNextMonth}, {kCalSetDay, kBesideInNextMonth}}}},
    // Not the same day on the short month's late first-half days: see the value.
    {1, kFull, GridKey::kLeft, {{{kPrevHalf}, {kSelect, kSameDayCappedBySecondHalf}}}},
    {1, kHalf, GridKey::kLeft, {{{kPrevHalf}, {kSelect, kSameDayInMonth}}}},
    // The right grid takes the focus with its cursor where it stands before the month is
    // stepped back; the last day of the month before is placed once it is shown.
    {1,
     kFull,
     GridKey::kUp,
     {{{kCalSetDay, kDayBefore, kIfCalendarShows},
       {kSelect, kOwnRow, kAtEdge, 2},
       {kPrevMonth, kNone, kAtEdge},
       {kSetRow, kLastDayOfPrevMonth, kAtEdge},
       {kCalPrevMonth, kNone, kAtEdge},
       {kCalSetDay, kLastDayOfPrevMonth, kAtEdge}}}},
    {1,
     kHalf,
     GridKey::kUp,
     {{{kCalSetDay, kDayBefore, kIfCalendarShows},
       {kPrevMonth, kNone, kAtEdge},
       {kSelect, kDayBefore, kAtEdge}}}},
    {1,
     kFull,
     GridKey::kDown,
     {{{kCalSetDay, kDayAfter, kIfCalendarShows},
       {kSelect, kDayAfter, kAtEdge},
       {kCalSetDay, kDayAfter, kAtEdge}}}},
    {1,
     kHalf,
     GridKey::kDown,
     {{{kCalSetDay, kDayAfter, kIfCalendarShows},
       {kSelect, kFirstDayOfNextMonth, kAtEdge},
       {kCalNextMonth, kNone, kAtEdgeIfCalendarShows},
       {kCalSetDay, kFirstDayOfNextMonth, kAtEdgeIfCalendarShows}}}},
    // Right grid.
    {2, kFull, GridKey::kLeft, {{{kSelect, kBesideInFirstHalf}, {kCalSetDay, kBesideInFirstHalf}}}},
    {2,
     kHalf,
     GridKey::kLeft,
     {{{kSelect, kBesideInPrevMonth}, {kCalPrevMonth}, {kCalSetDay, kBesideInPrevMonth}}}},
    {2, kFull, GridKey::kRight, {{{kNextHalf}, {kSelect, kSameDay}}}},
    {2, kHalf, GridKey::kRight, {{{kNextHalf}, {kSelect, kSameDay}}}},
    {2,
     kFull,
     GridKey::kUp,
     {{{kCalSetDay, kDayBefore, kIfCalendarShows},
       {kSelect, kDayBefore, kAtEdge},
       {kCalSetDay, kDayBefore, kAtEdge}}}},
    {2,
     kHalf,
     GridKey::kUp,
     {{{kCalSetDay, kDayBefore, kIfCalendarShows},
       {kSelect, kLastDayOfPrevMonth, kAtEdge},
       {kCalPrevMonth, kNone, kAtEdgeIfCalendarShows},
       {kCalSetDay, kLastDayOfPrevMonth, kAtEdgeIfCalendarShows}}}},
    {2,
     kFull,
     GridKey::kDown,
     {{{kCalSetDay, kDayAfter, kIfCalendarShows},
       {kNextMonth, kNone, kAtEdge},
       {kSelect, kFirstDayOfNextMonth, kAtEdge},
       {kCalNextMonth, kNone, kAtEdge},
       {kCalSetDay, kFirstDayOfNextMonth, kAtEdge}}}},
    // Before the month is stepped the left grid shows the month before the day after, so the
    // focus first moves to its first row and the day after is placed once it is shown.
    {2,
     kHalf,
     GridKey::kDown,
     {{{kCalSetDay, kDayAfter, kIfCalendarShows},
       {kSetRow, kFirstRow, kAtEdge, 2},
       {kSelect, kFirstRow, kAtEdge, 1},
       {kNextMonth, kNone, kAtEdge},
       {kSetRow, kDayAfter, kAtEdge},
       {kCalSetDay, kDayAfter, kAtEdgeIfCalendarShows}}}},
};

struct Day {
  int year, month, day;
};

// The day a value names, from the key's day in its grid's month.
Day Named(Value value, const GridMonth& at, int day) {
  int prev_year = at.year, prev_month = at.month - 1;
  if (prev_month == 0) prev_month = 12, --prev_year;
  int next_year = at.year, next_month = at.month + 1;
  if (next_month == 13) next_month = 1, ++next_year;
  const int length = DaysInMonth(at.year, at.month);
  const int prev_length = DaysInMonth(prev_year, prev_month);
  switch (value) {
    case kSameDay:
      return {at.year, at.month, day};
    case kSameDayInMonth:
      return {at.year, at.month, std::min(day, length)};
    case kSameDayCappedBySecondHalf:
      return {at.year, at.month, std::min(day, length - 16)};
    case kDayBefore:
      return {at.year, at.month, day - 1};
    case kDayAfter:
      return {at.year, at.month, day + 1};
    case kBesideInSecondHalf:
      return {at.year, at.month, std::min(day + 16, length)};
    case kBesideInFirstHalf:
      return {at.year, at.month, day - 16};
    case kBesideInNextMonth:
      return {next_year, next_month, day - 16};
    case kBesideInPrevMonth:
      return {prev_year, prev_month, std::min(day + 16, prev_length)};
    case kLastDayOfPrevMonth:
      return {prev_year, prev_month, prev_length};
    case kFirstDayOfNextMonth:
      return {next_year, next_month, 1};
    case kNone:
    case kOwnRow:
    case kFirstRow:
      break;
  }
  return {at.year, at.month, 0};
}

}  // namespace

std::span<const Rule> Rules() {
  return kRules;
}

}  // namespace grid_keys

bool ApplyGridKey(GridKeyTarget& target, int grid, GridKey key) {
  using namespace grid_keys;
  const MonthCursor& cursor = target.Cursor();  // follows the steps
  const auto rule = std::find_if(std::begin(kRules), std::end(kRules), [&](const Rule& r) {
    return r.grid == grid && r.half_month == cursor.HalfMonth() && r.key == key;
  });
  if (rule == std::end(kRules)) return false;

  const GridMonth month = cursor.MonthOf(grid);
  const int day = cursor.DayOfRow(grid, target.Row(grid));
  const bool calendar_shows = target.Calendar().Shows(month.year, month.month);
  const bool at_edge = (key == GridKey::kUp && day == cursor.FirstDayOf(grid)) ||
                       (key == GridKey::kDown && day == cursor.LastDayOf(grid));

  // Where a step puts a grid's cursor: on the row of its day as the month now stands, or for
  // the two values that are not days, on the step's grid.
  auto place = [&](const Step& step) -> GridRow {
    if (step.value == kOwnRow) return {step.grid, target.Row(step.grid)};
    if (step.value == kFirstRow) return {step.grid, 0};
    const Day d = Named(step.value, month, day);
    return cursor.RowOfDate(d.year, d.month, d.day);
  };

  for (const Step& step : rule->steps) {
    const bool wanted =
        (step.guard != Guard::kAtEdge && step.guard != Guard::kAtEdgeIfCalendarShows) || at_edge;
    const bool allowed =
        (step.guard != Guard::kIfCalendarShows && step.guard != Guard::kAtEdgeIfCalendarShows) ||
        calendar_shows;
    if (!wanted || !allowed) continue;
    CalendarPort& calendar = target.Calendar();
    switch (step.op) {
      case Op::kNothing:
        break;
      case Op::kSelect:
      case Op::kSetRow:
        // Every rule names a day that is shown by the time its step is taken; one that were
        // not would move nothing.
        if (const GridRow at = place(step); at.grid != 0) {
          if (step.op == Op::kSelect) target.SelectRow(at.grid, at.row);
          if (step.op == Op::kSetRow) target.SetRow(at.grid, at.row);
        }
        break;
      case Op::kPrevMonth:
        target.StepMonth(-1);
        break;
      case Op::kNextMonth:
        target.StepMonth(+1);
        break;
      case Op::kPrevHalf:
        target.PrevHalfMonth();
        break;
      case Op::kNextHalf:
        target.NextHalfMonth();
        break;
      case Op::kCalSetDay:
        calendar.SetDay(Named(step.value, month, day).day);
        break;
      case Op::kCalNextMonth:
        calendar.GoNextMonth();
        break;
      case Op::kCalPrevMonth:
        calendar.GoPrevMonth();
        break;
    }
  }
  return true;
}

}  // namespace month
