#include "calendar/calendar_window_rules.h"

#include <gtest/gtest.h>

#include "calendar/calendar_ex_model.h"
#include "calendar/month_jump_rules.h"
#include "platform/cp932.h"

namespace calendar {
namespace {

Date DateOf(const CalendarExModel& c) {
  return {c.Year(), c.Month(), c.Day()};
}

TEST(CalendarWindowArrows, CrossIntoTheNeighbouringMonth) {
  struct Case {
    Date from;
    bool left;
    Date crossed;  // before the control's own one-cell move
  } cases[] = {
      {{2026, 5, 13}, true, {2026, 5, 13}},   // a Wednesday: no crossing
      {{2026, 5, 1}, true, {2026, 4, 1}},     // the 1st
      {{2026, 5, 10}, true, {2026, 4, 18}},   // Sunday of row 3: April's Saturday of row 3
      {{2026, 3, 1}, true, {2026, 2, 1}},     // 1st on a Sunday: one month, not two
      {{2026, 1, 1}, true, {2025, 12, 1}},    // across the year
      {{2026, 5, 16}, false, {2026, 6, 14}},  // Saturday of row 3: June's Sunday of row 3
      {{2026, 5, 31}, false, {2026, 6, 30}},  // the last day, cut to June's length
      {{2026, 12, 31}, false, {2027, 1, 31}},
      {{2026, 10, 31}, false, {2026, 11, 30}},  // last day on a Saturday: one month
  };
  for (const Case& c : cases) {
    CalendarExModel model(c.from.year, c.from.month, c.from.day);
    CrossMonthByArrow(model, c.left);
    EXPECT_EQ(DateOf(model), c.crossed) << c.from.year << "-" << c.from.month << "-" << c.from.day;
  }
}

TEST(CalendarWindowArrows, ControlMovesOnlyOntoDaysOfTheMonth) {
  CalendarExModel model(2026, 5, 1);         // a Friday; the row begins with April's days
  EXPECT_FALSE(model.MoveSelection(0, -1));  // the weekday header
  EXPECT_FALSE(model.MoveSelection(-1, 0));  // 30 April
  EXPECT_EQ(model.Day(), 1);
  EXPECT_TRUE(model.MoveSelection(+1, 0));
  EXPECT_TRUE(model.MoveSelection(0, +1));
  EXPECT_EQ(model.Day(), 9);
  model.SetDay(31);                          // a Sunday in the last row
  EXPECT_FALSE(model.MoveSelection(+1, 0));  // 1 June
  EXPECT_FALSE(model.MoveSelection(0, +1));  // below the grid
  EXPECT_EQ(DateOf(model), (Date{2026, 5, 31}));
}

TEST(CalendarWindowRestDays, SaturdayColour) {
  struct Case {
    bool two_day_weekend, sunday_only, fixed_rest_days;
    std::optional<std::uint32_t> saturday;
  } cases[] = {
      {false, true, false, 0x00FF0000},  {true, false, false, 0x000000FF},
      {true, true, false, std::nullopt}, {false, true, true, std::nullopt},
      {true, false, true, std::nullopt}, {false, false, false, std::nullopt},
  };
  for (const Case& c : cases) {
    RestDays rest;
    rest.two_day_weekend = c.two_day_weekend;
    rest.sunday_only = c.sunday_only;
    rest.fixed_rest_days = c.fixed_rest_days;
    // The other switches never change the Saturday colour.
    EXPECT_EQ(SaturdayColourFor(rest), c.saturday)
        << c.two_day_weekend << c.sunday_only << c.fixed_rest_days;
    rest.holidays_are_rest = true;
    rest.weekdays.fill(true);
    EXPECT_EQ(SaturdayColourFor(rest), c.saturday)
        << c.two_day_weekend << c.sunday_only << c.fixed_rest_days;
  }
}

TEST(CalendarWindowGap, SkippedDaysOfOctober1582AreEmptyAndNamed) {
  CalendarExModel model(1582, 10, 10);
  EXPECT_EQ(cp932::ToUtf8(ChosenDayText(model)), "1582/10/5-10/14は存在しません。");
  // 1 October 1582 is a Monday: the 5th stands in column 5 of row 1.
  EXPECT_EQ(model.DayAt(5, 1), 5);
  EXPECT_EQ(model.CellText(5, 1), "");
  EXPECT_FALSE(model.IsSelectable(5, 1));
  EXPECT_NO_THROW(model.CellColour(5, 1));
  EXPECT_EQ(model.CellText(1, 1), "1");
  model.SetDay(15);
  EXPECT_EQ(ChosenDayText(model), "");
}

TEST(CalendarWindowPlace, FirstStartStandsBesideTheMainWindow) {
  const ScreenRect screen{0, 0, 1600, 1000};
  struct Case {
    ScreenRect main;
    ScreenRect expected;
  } cases[] = {
      {{0, 0, 1000, 760}, {1008, 0, 560, 341}},    // room on the right
      {{900, 50, 680, 700}, {332, 50, 560, 341}},  // room on the left only
      {{100, 0, 1400, 900}, {1040, 0, 560, 341}},  // no room: at the screen's right edge
      {{0, 900, 800, 500}, {808, 659, 560, 341}},  // kept on the screen
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BesideMainWindow(c.main, screen, 560, 341), c.expected) << c.main.x;
  }
}

TEST(MonthJumpRules, RangesStartYearsAndTheMainWindowsDay) {
  EXPECT_EQ(JumpYearRange(false).minimum, 1950);
  EXPECT_EQ(JumpYearRange(true).minimum, 0);
  EXPECT_EQ(JumpYearRange(true).maximum, 2099);
  struct Case {
    int year;
    bool from_calendar;
    int start;
  } starts[] = {{2026, false, 2026}, {2100, false, 2099}, {1949, false, 1950},
                {1949, true, 1949},  {-3, true, 0},       {5000, true, 2099}};
  for (const Case& c : starts)
    EXPECT_EQ(JumpStartYear(c.year, JumpYearRange(c.from_calendar)), c.start) << c.year;
  EXPECT_EQ(MainWindowJumpDate(2024, 2, 31), (Date{2024, 2, 29}));
  EXPECT_EQ(MainWindowJumpDate(2023, 2, 31), (Date{2023, 2, 28}));
  EXPECT_EQ(MainWindowJumpDate(2099, 12, 31), (Date{2099, 12, 31}));
}

}  // namespace
}  // namespace calendar
