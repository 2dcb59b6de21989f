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
// one row where it can; the rows below are those before that move.
constexpr Rule kRules[] = {
    // Left grid.
    {1,
     kFull,
     GridKey::kRight,
     Edge::kNone,
     {{{kSelect, 2, kRowWithinLeftMonth}, {kCalSetDay, 0, kCursorDay}}}},
    {1,
     kHalf,
     GridKey::kRight,
     Edge::kNone,
     {{{kSelect, 2, kRow}, {kCalNextMonth}, {kCalSetDay, 0, kRowPlus1}}}},
    {1, kFull, GridKey::kLeft, Edge::kNone, {{{kPrevHalf}, {kSelect, 2, kRowWithinLeftMonth}}}},
    {1, kHalf, GridKey::kLeft, Edge::kNone, {{{kPrevHalf}, {kSelect, 2, kRowWithinLeftMonth}}}},
    {1,
     kFull,
     GridKey::kUp,
     Edge::kFirstRow,
     {{{kCalSetDay, 0, kRow, kIfCalendarShows},
       {kSelect, 2, kOwnRow, kAtEdge},
       {kStepMonth, -1, kNone, kAtEdge},
       {kSetRow, 2, kShownMonthLastRow, kAtEdge},
       {kCalPrevMonth, 0, kNone, kAtEdge},
       {kCalSetDay, 0, kShownMonthLength, kAtEdge}}}},
    {1,
     kHalf,
     GridKey::kUp,
     Edge::kFirstRow,
     {{{kCalSetDay, 0, kRowPlus16, kIfCalendarShows},
       {kStepMonth, -1, kNone, kAtEdge},
       {kSelect, 2, kFifteen, kAtEdge}}}},
    {1,
     kFull,
     GridKey::kDown,
     Edge::kLastRow,
     {{{kCalSetDay, 0, kRowPlus2, kIfCalendarShows},
       {kSelect, 2, kZero, kAtEdge},
       {kCalSetDay, 0, kSeventeen, kAtEdge}}}},
    {1,
     kHalf,
     GridKey::kDown,
     Edge::kLastDayOfMonth,
     {{{kCalSetDay, 0, kRowPlus18, kIfCalendarShows},
       {kSelect, 2, kZero, kAtEdge},
       {kCalNextMonth, 0, kNone, kAtEdgeIfCalendarShows},
       {kCalSetDay, 0, kOne, kAtEdgeIfCalendarShows}}}},
    // Right grid.
    {2, kFull, GridKey::kLeft, Edge::kNone, {{{kSelect, 1, kRow}, {kCalSetDay, 0, kRowPlus1}}}},
    {2,
     kHalf,
     GridKey::kLeft,
     Edge::kNone,
     {{{kSelect, 1, kRowWithinLeftMonth}, {kCalPrevMonth}, {kCalSetDay, 0, kCursorDay}}}},
    {2, kFull, GridKey::kRight, Edge::kNone, {{{kNextHalf}, {kSelect, 1, kRow}}}},
    {2, kHalf, GridKey::kRight, Edge::kNone, {{{kNextHalf}, {kSelect, 1, kRow}}}},
    {2,
     kFull,
     GridKey::kUp,
     Edge::kFirstRow,
     {{{kCalSetDay, 0, kRowPlus16, kIfCalendarShows},
       {kSelect, 1, kFifteen, kAtEdge},
       {kCalSetDay, 0, kSixteen, kAtEdge}}}},
    {2,
     kHalf,
     GridKey::kUp,
     Edge::kFirstRow,
     {{{kCalSetDay, 0, kRow, kIfCalendarShows},
       {kSelect, 1, kLeftMonthLastRow, kAtEdge},
       {kCalPrevMonth, 0, kNone, kAtEdgeIfCalendarShows},
       {kCalSetDay, 0, kLeftMonthLength, kAtEdgeIfCalendarShows}}}},
    {2,
     kFull,
     GridKey::kDown,
     Edge::kLastDayOfMonth,
     {{{kCalSetDay, 0, kRowPlus18, kIfCalendarShows},
       {kStepMonth, 1, kNone, kAtEdge},
       {kSelect, 1, kZero, kAtEdge},
       {kCalNextMonth, 0, kNone, kAtEdge},
       {kCalSetDay, 0, kOne, kAtEdge}}}},
    {2,
     kHalf,
     GridKey::kDown,
     Edge::kLastRow,
     {{{kCalSetDay, 0, kRowPlus2, kIfCalendarShows},
       {kSetRow, 2, kZero, kAtEdge},
       {kSelect, 1, kZero, kAtEdge},
       {kStepMonth, 1, kNone, kAtEdge},
       {kSetRow, 1, kZero, kAtEdge},
       {kCalSetDay, 0, kSeventeen, kAtEdgeIfCalendarShows}}}},
};

int MonthLength(const GridMonth& month) {
  return DaysInMonth(month.year, month.month);
}

}  // namespace

std::span<const Rule> Rules() {
  return kRules;
}

}  // namespace grid_keys

bool ApplyGridKey(GridKeyTarget& target, int grid, GridKey key) {
  using namespace grid_keys;
  const MonthCursor& cursor = target.Cursor();
  const auto rule = std::find_if(std::begin(kRules), std::end(kRules), [&](const Rule& r) {
    return r.grid == grid && r.half_month == cursor.HalfMonth() && r.key == key;
  });
  if (rule == std::end(kRules)) return false;

  const int row = target.Row(grid);
  const GridMonth own_month = cursor.MonthOf(grid);
  const int left_length = MonthLength(cursor.MonthOf(1));
  const bool calendar_shows = target.Calendar().Shows(own_month.year, own_month.month);
  bool at_edge = false;
  switch (rule->edge) {
    case Edge::kNone:
      break;
    case Edge::kFirstRow:
      at_edge = row == 0;
      break;
    case Edge::kLastRow:
      at_edge = row == 15;
      break;
    case Edge::kLastDayOfMonth:
      at_edge = cursor.DayOfRow(grid, row) == MonthLength(own_month);
      break;
  }

  int selected = grid;
  auto value = [&](const Step& step) {
    switch (step.value) {
      case Value::kRow:
        return row;
      case Value::kRowPlus1:
        return row + 1;
      case Value::kRowPlus2:
        return row + 2;
      case Value::kRowPlus16:
        return row + 16;
      case Value::kRowPlus18:
        return row + 18;
      case Value::kOne:
        return 1;
      case Value::kFifteen:
        return 15;
      case Value::kSixteen:
        return 16;
      case Value::kSeventeen:
        return 17;
      case Value::kRowWithinLeftMonth:
        return std::min(row, left_length - 17);
      case Value::kLeftMonthLastRow:
        return left_length - 17;
      case Value::kLeftMonthLength:
        return left_length;
      case Value::kShownMonthLastRow:
        return DaysInMonth(target.Cursor().Year(), target.Cursor().Month()) - 17;
      case Value::kShownMonthLength:
        return DaysInMonth(target.Cursor().Year(), target.Cursor().Month());
      case Value::kCursorDay:
        return target.Cursor().DayOfRow(selected, target.Row(selected));
      case Value::kOwnRow:
        return target.Row(step.arg);
      case Value::kZero:
      case Value::kNone:
        return 0;
    }
    return 0;
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
        target.SelectRow(step.arg, value(step));
        selected = step.arg;
        break;
      case Op::kSetRow:
        target.SetRow(step.arg, value(step));
        break;
      case Op::kStepMonth:
        target.StepMonth(step.arg);
        break;
      case Op::kPrevHalf:
        target.PrevHalfMonth();
        break;
      case Op::kNextHalf:
        target.NextHalfMonth();
        break;
      case Op::kCalSetDay:
        calendar.SetDay(value(step));
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
