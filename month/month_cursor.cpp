#include "month/month_cursor.h"

#include <algorithm>

#include "calendar/calendar_math.h"

namespace month {

void MonthCursor::SetDate(int year, int month, int day) {
  month = std::clamp(month, 1, 12);
  view_.year = year;
  view_.month = month;
  view_.day = std::clamp(day, 1, DaysInMonth(year, month));
}

void MonthCursor::SetDatePart(int part, int value) {
  if (value <= 0) return;
  int y = view_.year, m = view_.month, d = view_.day;
  if (part == 1) y = value;
  if (part == 2) m = std::min(value, 12);
  if (part == 3) d = value;
  SetDate(y, m, d);
}

int MonthCursor::DatePart(int part) const {
  switch (part) {
    case 1:
      return view_.year;
    case 2:
      return view_.month;
    case 3:
      return view_.day;
    default:
      return -1;
  }
}

void MonthCursor::StepMonth(int n) {
  if (n == 0) return;
  int y = view_.year, m = view_.month + (n < 0 ? -1 : 1);
  if (m == 0) m = 12, --y;
  if (m == 13) m = 1, ++y;
  SetDate(y, m, view_.day);
}

void MonthCursor::NextYear() {
  if (calendar::GregorianLeapYear(view_.year) && view_.month == 2 && view_.day == 29)
    SetDatePart(3, 28);
  SetDatePart(1, view_.year + 1);
}

void MonthCursor::PrevYear() {
  if (calendar::GregorianLeapYear(view_.year) && view_.month == 2 && view_.day == 29)
    SetDatePart(3, 28);
  SetDatePart(1, view_.year - 1);
}

void MonthCursor::LeaveHalfMonth() {
  view_.half_month = false;
  view_.first_half = view_.second_half = false;
}

void MonthCursor::PrevHalfMonth() {
  StepHalfMonth(-1);
}

void MonthCursor::NextHalfMonth() {
  StepHalfMonth(+1);
}

void MonthCursor::StepHalfMonth(int direction) {
  if (!view_.half_month) {
    view_.half_month = true;
    SetHalves(direction<0, direction> 0);
    return;
  }
  const GridMonth target = MonthOf(direction < 0 ? 1 : 2);
  LeaveHalfMonth();
  // The day is first kept within the month stepped to, as the month step does, then within the
  // grid's month.
  StepMonth(direction);
  SetDate(target.year, target.month, view_.day);
}

int MonthCursor::DayOfRow(int grid, int row) const {
  const bool first_rows = (grid == 1) != view_.half_month;
  return first_rows ? row + 1 : row + 17;
}

GridMonth MonthCursor::MonthOf(int grid) const {
  const MonthLayout layout = Layout();
  return grid == 1 ? layout.left : layout.right;
}

int MonthCursor::RowDay(int grid, int row) const {
  const GridMonth month = MonthOf(grid);
  const int day = DayOfRow(grid, row);
  return day <= 0 || day > DaysInMonth(month.year, month.month) ? -1 : day;
}

int MonthCursor::FirstDayOf(int grid) const {
  return DayOfRow(grid, 0);
}

int MonthCursor::LastDayOf(int grid) const {
  const GridMonth month = MonthOf(grid);
  return std::min(DayOfRow(grid, kGridRows - 1), DaysInMonth(month.year, month.month));
}

GridRow MonthCursor::RowOfDate(int year, int month, int day) const {
  for (int grid : {1, 2}) {
    const GridMonth shown = MonthOf(grid);
    const int row = day - FirstDayOf(grid);
    if (shown.year == year && shown.month == month && row >= 0 && row < kGridRows)
      return {grid, row};
  }
  return {};
}

GridRow MonthCursor::FullMonthRowOf(int day) {
  if (day >= 1 && day <= 16) return {1, day - 1};
  if (day >= 17 && day <= 31) return {2, day - 17};
  return {};
}

GridRow MonthCursor::RowOfDay(int day) const {
  GridRow at = FullMonthRowOf(day);
  if (view_.half_month && at.grid != 0) at.grid = 3 - at.grid;
  return at;
}

GridRow MonthCursor::ShowDay(int year, int month, int day) {
  if (day < 1 || day > 31 || month < 1 || month > 12) return {};
  const GridRow at = RowOfDay(day);
  if (view_.half_month) {
    SetHalves(true, false);
    if (at.grid == 1 && ++month > 12) month = 1, ++year;
  }
  SetDate(year, month, day);  // a day the month lacks is kept within it
  return at;
}

}  // namespace month
