#include "daydata/day_step.h"

#include <gtest/gtest.h>

namespace daydata {
namespace {

TEST(DayStep, NextAndPreviousDayAcrossMonthAndYearEnds) {
  struct {
    bool next;
    int year, shown_year, shown_month, day;
    int want_month, want_day, want_year, want_step;
  } const cases[] = {
      {true, 2026, 2026, 5, 14, 5, 15, 2026, 0},   {true, 2026, 2026, 4, 30, 5, 1, 2026, +1},
      {true, 2024, 2024, 2, 28, 2, 29, 2024, 0},   {true, 2023, 2023, 2, 28, 3, 1, 2023, +1},
      {true, 2026, 2026, 12, 31, 1, 1, 2027, +1},  {false, 2026, 2026, 5, 14, 5, 13, 2026, 0},
      {false, 2024, 2024, 3, 1, 2, 29, 2024, -1},  {false, 2026, 2026, 5, 1, 4, 30, 2026, -1},
      {false, 2027, 2027, 1, 1, 12, 31, 2026, -1},
  };
  for (const auto& c : cases) {
    const DayStep step = c.next ? NextDay(c.year, c.shown_year, c.shown_month, c.day)
                                : PrevDay(c.year, c.shown_year, c.shown_month, c.day);
    EXPECT_EQ(step.month, c.want_month) << c.shown_month << "/" << c.day;
    EXPECT_EQ(step.day, c.want_day) << c.shown_month << "/" << c.day;
    EXPECT_EQ(step.year, c.want_year) << c.shown_month << "/" << c.day;
    EXPECT_EQ(step.month_step, c.want_step) << c.shown_month << "/" << c.day;
  }
}

}  // namespace
}  // namespace daydata
