#include "calendar/calendar_math.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/holiday_tables.h"

namespace calendar {
namespace {

TEST(CalendarMathLeapYear, CivilRuleDiffersFromTheControlsOnlyBefore1582AndIn4000) {
  for (int year : {1500, 1581, 1600, 1700, 1900, 2000, 2023, 2024, 2100, 2400, 4000}) {
    if (year >= 1582 && year % 4000 != 0)
      EXPECT_EQ(GregorianLeapYear(year), LeapYear(year)) << year;
  }
  EXPECT_TRUE(GregorianLeapYear(4000));
  EXPECT_FALSE(GregorianLeapYear(1500));
  EXPECT_EQ(GregorianMonthLength(2024, 2), 29);
  EXPECT_EQ(GregorianMonthLength(1900, 2), 28);
}

TEST(CalendarMathLeapYear, JulianBeforeGregorianAndTheYear4000) {
  EXPECT_TRUE(LeapYear(2000));
  EXPECT_FALSE(LeapYear(1900));
  EXPECT_TRUE(LeapYear(2024));
  EXPECT_FALSE(LeapYear(4000));
  EXPECT_FALSE(LeapYear(8000));
  EXPECT_TRUE(LeapYear(1500));  // Julian: every fourth year
  EXPECT_FALSE(LeapYear(1581));
  EXPECT_TRUE(LeapYear(-4712));
  EXPECT_EQ(MonthLength(2000, 2), 29);
  EXPECT_EQ(MonthLength(2100, 2), 28);
  EXPECT_EQ(MonthLength(1500, 2), 29);
  EXPECT_EQ(MonthLength(2023, 4), 30);
  EXPECT_EQ(MonthLength(2023, 12), 31);
}

TEST(CalendarMathDayNumber, KnownDaysAndTheGregorianGap) {
  EXPECT_EQ(DayNumber(2000, 1, 1), 2451545);
  EXPECT_EQ(DayNumber(-4712, 1, 1), 0);
  EXPECT_EQ(DayNumber(1582, 10, 4), 2299160);
  EXPECT_EQ(DayNumber(1582, 10, 15), 2299161);  // the day after 4 October 1582
  for (int day = 5; day <= 14; ++day) {
    EXPECT_THROW(DayNumber(1582, 10, day), EJuliusError) << day;
  }
  try {
    DayNumber(1582, 10, 5);
    FAIL();
  } catch (const EJuliusError& e) {
    EXPECT_EQ(std::string(e.what()), "1582/10/5-10/14は存在しません。");
  }
  EXPECT_EQ(CalendarWeekday(2000, 1, 1), 7);    // Saturday
  EXPECT_EQ(CalendarWeekday(1582, 10, 15), 6);  // Friday
  EXPECT_EQ(CalendarWeekday(1582, 10, 4), 5);   // Thursday
  EXPECT_THROW(CalendarWeekday(1582, 10, 14), EJuliusError);
}

// Day numbers run on by one through every day from 1 AD to 4100, across the gap, the Julian
// leap days and the dropped 29 February 4000, and the weekdays agree with the main window's.
TEST(CalendarMathDayNumber, CountsOnThroughEveryDay) {
  int previous = DayNumber(1, 1, 1) - 1;
  for (int y = 1; y <= 4100; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= MonthLength(y, m); ++d) {
        if (y == 1582 && m == 10 && d >= 5 && d <= 14) continue;
        int jd = DayNumber(y, m, d);
        ASSERT_EQ(jd, previous + 1) << y << "-" << m << "-" << d;
        previous = jd;
        if (y >= 1583 && y <= 2100 && d <= 3) {
          ASSERT_EQ(CalendarWeekday(y, m, d) - 1, WeekdayOf(y, m, d)) << y << "-" << m << "-" << d;
        }
      }
    }
  }
  EXPECT_EQ(MonthLength(4000, 2), 28);
}

TEST(CalendarMathEquinox, FormulasAgreeWithTheTable1976To2075) {
  for (int year = 1976; year <= 2075; ++year) {
    int vernal, autumnal;
    ASSERT_EQ(GetEquinoxDays(year, &vernal, &autumnal), 0);
    EXPECT_EQ(VernalEquinoxDay(year), DayNumber(year, 3, vernal)) << year;
    EXPECT_EQ(AutumnalEquinoxDay(year), DayNumber(year, 9, autumnal)) << year;
  }
}

}  // namespace
}  // namespace calendar
