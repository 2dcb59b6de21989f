// The arrow keys of the two grids as data: for each grid, display mode and key, the steps that
// move the cursor, the shown month and the calendar window, in the order they are taken. The
// two grids act as one column of days, so most rules mirror each other; writing them as a table
// keeps that visible and lets tests read them row by row. The steps name days (the day before,
// the day after, the first day of the next month, ...); which row of which grid holds a day is
// MonthCursor's to say. Free of Qt.
#pragma once

#include <array>
#include <span>

#include "calendar/calendar_port.h"
#include "month/month_cursor.h"

namespace month {

using calendar::CalendarPort;

enum class GridKey { kUp, kDown, kLeft, kRight };

// What a key acts on: the main window, or a model of it in tests.
class GridKeyTarget {
 public:
  virtual ~GridKeyTarget() = default;
  virtual const MonthCursor& Cursor() const = 0;
  virtual int Row(int grid) const = 0;
  // Gives the grid the focus and moves its cursor to the row.
  virtual void SelectRow(int grid, int row) = 0;
  // Moves a grid's cursor without the focus.
  virtual void SetRow(int grid, int row) = 0;
  virtual void StepMonth(int n) = 0;
  virtual void PrevHalfMonth() = 0;
  virtual void NextHalfMonth() = 0;
  virtual CalendarPort& Calendar() = 0;
};

namespace grid_keys {

enum class Op {
  kNothing,
  kSelect,        // focus the grid that shows the value's day, its cursor on the day's row
  kSetRow,        // that grid's cursor onto the day's row, focus unchanged
  kPrevMonth,     // the shown month one back
  kNextMonth,     // the shown month one on
  kPrevHalf,      // the previous half-month command
  kNextHalf,      // the next half-month command
  kCalSetDay,     // the calendar's day becomes the value's day
  kCalNextMonth,  // the calendar one month forward
  kCalPrevMonth,  // the calendar one month back
};

// The day a step names, from the day of the row the key was pressed on ("the day", in the month
// that row's grid showed then). MonthCursor says where a named day stands when the step is
// taken. Like MonthCursor::DayOfRow, days are not kept within their month: the day before the
// 1st is day 0 and the day after the last is one past it, which the calendar, lacking them,
// does not take; crossing into another month is a step of its own, taken on the grid's edge.
enum class Value {
  kNone,
  kSameDay,
  kSameDayInMonth,  // the same day, kept within its month
  // The same day, but no later than the length of the month's second half (length - 16): the
  // full display's Left key has always kept the cap of its Right key (the right grid's last day),
  // so it lands on an earlier day of the first half when the month is short.
  kSameDayCappedBySecondHalf,
  kDayBefore,
  kDayAfter,
  kBesideInSecondHalf,  // 16 days on, kept within the month: the day beside it in full display
  kBesideInFirstHalf,   // 16 days back
  kBesideInNextMonth,   // 16 days back, in the next month: beside it in half-month display
  kBesideInPrevMonth,   // 16 days on, in the month before, kept within it
  kLastDayOfPrevMonth,
  kFirstDayOfNextMonth,
  // Not days: where the step's grid (`grid`) puts its cursor when the focus moves to it, or away
  // from it, before the month is stepped; the day wanted is not shown yet then.
  kOwnRow,    // where it stands
  kFirstRow,  // on the first row
};

// When a step is taken: always, only on the key's edge day, only while the calendar showed the
// month of the key's grid when the key was pressed, or both. Up's edge is the first day the
// grid holds and Down's the last day of its month it holds: the day the key leaves the grid
// from. Left and Right have none.
enum class Guard { kAlways, kIfCalendarShows, kAtEdge, kAtEdgeIfCalendarShows };

struct Step {
  Op op = Op::kNothing;
  Value value = Value::kNone;
  Guard guard = Guard::kAlways;
  int grid = 0;  // for kOwnRow and kFirstRow
};

struct Rule {
  int grid;
  bool half_month;
  GridKey key;
  std::array<Step, 6> steps;
};

std::span<const Rule> Rules();

}  // namespace grid_keys

// Takes the key's steps on the target; false when the key has no rule (the grid's own handling
// alone applies).
bool ApplyGridKey(GridKeyTarget& target, int grid, GridKey key);

}  // namespace month
