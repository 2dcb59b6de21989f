// The arrow keys of the two grids as data: for each grid, display mode and key, the steps that
// move the cursor, the shown month and the calendar window, in the order they are taken. The
// two grids act as one column of days, so most rules mirror each other; writing them as a table
// keeps that visible and lets tests read them row by row. Free of Qt.
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
  kSelect,        // focus `arg`'s grid at the value's row
  kSetRow,        // `arg`'s grid to the value's row, focus unchanged
  kStepMonth,     // by `arg`
  kPrevHalf,      // the previous half-month command
  kNextHalf,      // the next half-month command
  kCalSetDay,     // the calendar's day becomes the value
  kCalNextMonth,  // the calendar one month forward
  kCalPrevMonth,  // the calendar one month back
};

// Values are worked out when the step is taken, from the row the key was pressed on ("row"),
// the months as they were then ("left month"), and the state the earlier steps left.
enum class Value {
  kNone,
  kRow,
  kRowPlus1,
  kRowPlus2,
  kRowPlus16,
  kRowPlus18,
  kZero,
  kOne,
  kFifteen,
  kSixteen,
  kSeventeen,
  kRowWithinLeftMonth,  // min(row, left month's length - 17)
  kLeftMonthLastRow,    // left month's length - 17
  kLeftMonthLength,
  kShownMonthLastRow,  // length of the month shown now - 17
  kShownMonthLength,
  kCursorDay,  // the day under the cursor of the grid selected last
  kOwnRow,     // the step's grid's own current row
};

// When a step is taken: always, only on the key's edge row, only while the calendar showed the
// month of the key's grid when the key was pressed, or both.
enum class Guard { kAlways, kIfCalendarShows, kAtEdge, kAtEdgeIfCalendarShows };

// Which row is the key's edge.
enum class Edge { kNone, kFirstRow, kLastRow, kLastDayOfMonth };

struct Step {
  Op op = Op::kNothing;
  int arg = 0;
  Value value = Value::kNone;
  Guard guard = Guard::kAlways;
};

struct Rule {
  int grid;
  bool half_month;
  GridKey key;
  Edge edge;
  std::array<Step, 6> steps;
};

std::span<const Rule> Rules();

}  // namespace grid_keys

// Takes the key's steps on the target; false when the key has no rule (the grid's own handling
// alone applies).
bool ApplyGridKey(GridKeyTarget& target, int grid, GridKey key);

}  // namespace month
