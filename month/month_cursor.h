// MonthCursor: where the main window stands, free of Qt. The shown date with the display mode,
// the date steps of the tool bar and menus, and the rule that says which row of which grid holds
// a day (and back). The window, the entry dialog and the command-line listing share it, so that
// the ±1/±17 arithmetic of the two grids is written once.
#pragma once

#include "month/month_model.h"

namespace month {

// A row of one of the two grids: grid 1 is the left one, 2 the right one; 0 stands for none.
struct GridRow {
  int grid = 0;
  int row = 0;
  bool operator==(const GridRow&) const = default;
};

class MonthCursor {
 public:
  // Rows of each grid, whatever the length of the month it shows.
  static constexpr int kGridRows = 16;

  MonthCursor() = default;
  MonthCursor(int year, int month, int day) : view_{year, month, day} {}

  int Year() const { return view_.year; }
  int Month() const { return view_.month; }
  int Day() const { return view_.day; }
  bool HalfMonth() const { return view_.half_month; }
  bool FirstHalfShown() const { return view_.first_half; }
  bool SecondHalfShown() const { return view_.second_half; }
  const MonthView& View() const { return view_; }
  MonthLayout Layout() const { return LayoutOf(view_); }

  // The shown date as it stands; an impossible day is kept inside its month.
  void SetDate(int year, int month, int day);
  // 1 year, 2 month, 3 day; values of 0 or less change nothing.
  void SetDatePart(int part, int value);
  int DatePart(int part) const;  // -1 for a part other than 1-3
  // One month back (n < 0) or forward (n > 0), the day kept within the month reached.
  void StepMonth(int n);
  // One year forward or back; 29 February becomes 28 February first.
  void NextYear();
  void PrevYear();

  void SetHalfMonth(bool half) { view_.half_month = half; }
  void SetHalves(bool first, bool second) {
    view_.first_half = first;
    view_.second_half = second;
  }
  // Full-month display, both half flags cleared.
  void LeaveHalfMonth();
  // The half-month steps: from full-month display into the half before (the previous month's
  // second half and this month's first) or after; from half-month display back to the full
  // display of the left (previous) or right (next) grid's month.
  void PrevHalfMonth();
  void NextHalfMonth();

  // The day a row stands for in the current mode (left: row + 1, or row + 17 in half-month
  // display; right: row + 17, or row + 1), not checked against the month's end.
  int DayOfRow(int grid, int row) const;
  // The same, or -1 when the day is past the end of the month that grid shows.
  int RowDay(int grid, int row) const;
  // The year and month a grid shows.
  GridMonth MonthOf(int grid) const;
  // The first day a grid holds, and the last day of its month it holds (its rows past the
  // month's end hold none).
  int FirstDayOf(int grid) const;
  int LastDayOf(int grid) const;
  // The row whose DayOfRow is the day, in the grid that shows the day's month as things stand;
  // like DayOfRow not checked against the month's end. Grid 0 when no grid has a row for it.
  GridRow RowOfDate(int year, int month, int day) const;

  // Where a day of the shown month stands in full-month display: days 1-16 in the left grid,
  // 17 on in the right one; grid 0 for a day outside 1-31.
  static GridRow FullMonthRowOf(int day);
  // The same in the current mode, for a day of the month the cursor shows; in half-month
  // display the first half lies in the right grid and the second in the left one.
  GridRow RowOfDay(int day) const;
  // Brings a day into view and says where it stands. Full-month display shows the day's month.
  // Half-month display takes the arrangement with the previous month's second half on the left
  // (from the other one the rows would name days of the wrong months): days 1-16 stand in the
  // right grid with the day's month shown; days 17-31 in the left grid, reached through the next
  // month (its same day, kept within it, so 31 January shows February and 20 December shows
  // January of the next year). Grid 0, and nothing changed, for a day outside 1-31 or a month
  // outside 1-12.
  GridRow ShowDay(int year, int month, int day);

 private:
  void StepHalfMonth(int direction);

  MonthView view_;
};

}  // namespace month
