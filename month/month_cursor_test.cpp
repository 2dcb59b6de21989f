// MonthCursor's day-to-row rule for the arrow keys: RowOfDate undoes DayOfRow in every mode,
// and the grids' first and last days are those the keys leave them from.
#include "month/month_cursor.h"

#include <gtest/gtest.h>

namespace month {
namespace {

MonthCursor InMode(int year, int month, int mode) {
  MonthCursor cursor(year, month, 1);
  cursor.SetHalfMonth(mode != 0);
  cursor.SetHalves(mode == 1, mode == 2);
  return cursor;
}

TEST(MonthCursor, RowOfDateUndoesDayOfRowAndFindsNoRowForUnshownDays) {
  for (int mode : {0, 1, 2}) {
    const MonthCursor cursor = InMode(2026, 1, mode);  // half-month display crosses a year
    for (int grid : {1, 2}) {
      const GridMonth shown = cursor.MonthOf(grid);
      for (int row = 0; row < MonthCursor::kGridRows; ++row) {
        EXPECT_EQ(cursor.RowOfDate(shown.year, shown.month, cursor.DayOfRow(grid, row)),
                  (GridRow{grid, row}))
            << mode << " " << grid << " " << row;
      }
    }
    const GridMonth left = cursor.MonthOf(1), right = cursor.MonthOf(2);
    EXPECT_EQ(cursor.RowOfDate(left.year, left.month, cursor.FirstDayOf(1) - 1), GridRow{}) << mode;
    EXPECT_EQ(cursor.RowOfDate(right.year, right.month, cursor.FirstDayOf(2) + 16), GridRow{})
        << mode;
  }
  // A month no grid shows, and the days of the other half in half-month display.
  const MonthCursor half = InMode(2026, 3, 1);  // 17-28 February | 1-16 March
  EXPECT_EQ(half.RowOfDate(2026, 4, 1), GridRow{});
  EXPECT_EQ(half.RowOfDate(2026, 2, 16), GridRow{});
  EXPECT_EQ(half.RowOfDate(2026, 3, 17), GridRow{});
  EXPECT_EQ(half.RowOfDate(2025, 3, 1), GridRow{});
}

TEST(MonthCursor, GridsEndOnTheLastDayTheirMonthHas) {
  struct {
    int year, month, mode;
    int first1, last1, first2, last2;
  } const cases[] = {
      {2026, 2, 0, 1, 16, 17, 28},  // 28 days
      {2024, 2, 0, 1, 16, 17, 29}, {2026, 4, 0, 1, 16, 17, 30},
      {2026, 3, 0, 1, 16, 17, 31}, {2026, 3, 1, 17, 28, 1, 16},  // February | March
      {2026, 1, 2, 17, 31, 1, 16},                               // January | February
  };
  for (const auto& c : cases) {
    const MonthCursor cursor = InMode(c.year, c.month, c.mode);
    EXPECT_EQ(cursor.FirstDayOf(1), c.first1) << c.month << " " << c.mode;
    EXPECT_EQ(cursor.LastDayOf(1), c.last1) << c.month << " " << c.mode;
    EXPECT_EQ(cursor.FirstDayOf(2), c.first2) << c.month << " " << c.mode;
    EXPECT_EQ(cursor.LastDayOf(2), c.last2) << c.month << " " << c.mode;
  }
}

}  // namespace
}  // namespace month
