#include "calendar/lunar_calendar.h"

#include "calendar/lunar_almanac.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp932.h"

namespace calendar {
namespace {

std::string Utf8(std::string_view cp932_text) {
  return cp932::ToUtf8(cp932_text);
}

struct Expected {
  int y, m, d;
  int lunar_year, lunar_month, lunar_day, leap;
  const char* rokuyou;
};

void ExpectLunar(const Expected& e) {
  LunarCalendar calendar;
  LunarDateRecord r = calendar.LunarDate(e.y, e.m, e.d);
  SCOPED_TRACE(std::to_string(e.y) + "-" + std::to_string(e.m) + "-" + std::to_string(e.d));
  EXPECT_EQ(r.year, e.lunar_year);
  EXPECT_EQ(r.month, e.lunar_month);
  EXPECT_EQ(r.day, e.lunar_day);
  EXPECT_EQ(r.leap, e.leap);
  EXPECT_EQ(Utf8(r.rokuyou_name), e.rokuyou);
  EXPECT_EQ(Utf8(LunarCalendar::RokuyouName(r.rokuyou)), e.rokuyou);
}

TEST(LunarSeries, FirstOfJanuary2000) {
  EXPECT_EQ(LunarCalendar::DayCount(2000, 1, 1), 9132);
  double t = LunarCalendar::TimeOfDay(2000, 1, 1);
  EXPECT_DOUBLE_EQ(t, 25.001026694045173);
  LunarCalendar calendar;
  EXPECT_NEAR(LunarCalendar::MoonLongitude(t), 212.72962, 0.000005);
  EXPECT_NEAR(calendar.SunLongitude(t), 279.47700, 0.000005);
  EXPECT_NEAR(calendar.LastUnwrappedSun(), 9279.47700, 0.000005);
  EXPECT_FALSE(calendar.NewMoonInDay(t).found);
}

TEST(LunarSeries, DayCountOriginAndLeapYearJanuary) {
  EXPECT_EQ(LunarCalendar::DayCount(1974, 12, 31), 0);
  EXPECT_EQ(LunarCalendar::DayCount(1975, 1, 1), 1);
  EXPECT_EQ(LunarCalendar::DayCount(2000, 2, 29) + 1, LunarCalendar::DayCount(2000, 3, 1));
  EXPECT_EQ(LunarCalendar::DayCount(2000, 12, 31) + 1, LunarCalendar::DayCount(2001, 1, 1));
}

TEST(LunarSeries, NewMoonWithinFifthOfFebruary2000) {
  EXPECT_EQ(LunarCalendar::DayCount(2000, 2, 5), 9167);
  LunarCalendar calendar;
  double t = LunarCalendar::TimeOfDay(2000, 2, 5);
  NewMoonTest test = calendar.NewMoonInDay(t);
  EXPECT_TRUE(test.found);
  EXPECT_NEAR(test.moon, 304.79338, 0.000005);
  EXPECT_NEAR(test.sun, 315.09823, 0.000005);
  // The day before holds none.
  EXPECT_FALSE(calendar.NewMoonInDay(LunarCalendar::TimeOfDay(2000, 2, 4)).found);
}

TEST(LunarDate, AnchorDates) {
  const Expected cases[] = {
      {2000, 1, 1, 1999, 11, 25, 0, "大安"},   {2000, 2, 4, 1999, 12, 29, 0, "仏滅"},
      {2000, 2, 5, 2000, 1, 1, 0, "先勝"},     {2000, 3, 20, 2000, 2, 15, 0, "仏滅"},
      {1999, 7, 7, 1999, 5, 24, 0, "仏滅"},    {1976, 1, 1, 1975, 12, 1, 0, "赤口"},
      {2075, 12, 31, 2075, 11, 24, 0, "仏滅"},
  };
  for (const Expected& e : cases) ExpectLunar(e);
}

TEST(LunarDate, LeapMonths) {
  const Expected cases[] = {
      // Leap 4th month of 2020 and leap 2nd month of 2023: the rokuyou counts the month number.
      {2020, 5, 23, 2020, 4, 1, 1, "仏滅"},
      {2020, 5, 22, 2020, 4, 30, 0, "先負"},
      {2023, 3, 22, 2023, 2, 1, 1, "友引"},
      // Around 2033-2034 the short series marks three leap months in half a year.
      {2033, 8, 25, 2033, 7, 1, 1, "先勝"},
      {2033, 12, 22, 2033, 11, 1, 1, "大安"},
      {2034, 1, 20, 2034, 1, 1, 0, "先勝"},
      {2034, 2, 19, 2034, 1, 1, 1, "先勝"},
  };
  for (const Expected& e : cases) ExpectLunar(e);
}

TEST(LunarDate, ResultDoesNotDependOnEarlierCalls) {
  LunarCalendar fresh, used;
  used.LunarDate(2033, 12, 22);
  used.SolarTerm(2020, 3, 20);
  EXPECT_EQ(used.LunarDate(2000, 1, 1), fresh.LunarDate(2000, 1, 1));
}

TEST(LunarSolarTerm, TermsBeginningOnTheDay) {
  LunarCalendar calendar;
  int index = 99;
  EXPECT_EQ(Utf8(calendar.SolarTerm(2000, 2, 4, &index)), "立春");
  EXPECT_EQ(index, 21);
  EXPECT_EQ(Utf8(calendar.SolarTerm(2000, 3, 20, &index)), "春分");
  EXPECT_EQ(index, 0);  // the 24th multiple of 15 degrees wraps to 0
  EXPECT_EQ(Utf8(calendar.SolarTerm(1999, 7, 7, &index)), "小暑");
  EXPECT_EQ(index, 7);
  EXPECT_EQ(calendar.SolarTerm(2000, 2, 5, &index), "");
  EXPECT_EQ(index, -1);
  EXPECT_EQ(calendar.SolarTerm(2000, 3, 21, &index), "");
}

TEST(LunarSolarTerm, TwentyFourTermsEachYear) {
  LunarCalendar calendar;
  for (int year : {1976, 2000, 2033, 2075}) {
    int seen[24] = {};
    int count = 0;
    for (int m = 1; m <= 12; ++m) {
      static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
      int last = m == 2 ? (year % 4 == 0 ? 29 : 28) : kDays[m - 1];
      for (int d = 1; d <= last; ++d) {
        int index;
        calendar.SolarTerm(year, m, d, &index);
        if (index >= 0) {
          ++seen[index];
          ++count;
        }
      }
    }
    EXPECT_EQ(count, 24) << year;
    for (int i = 0; i < 24; ++i) EXPECT_EQ(seen[i], 1) << year << " term " << i;
  }
}

// Every day of the supported range: the lunar day counts up by one from 1, a day 1 follows a
// 29th or 30th, the year turns with month 1, and each month is the next number or a leap
// month repeating the one before it.
TEST(LunarDate, EveryDayOf1976To2075CountsOn) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  LunarCalendar calendar;
  LunarDateRecord previous = calendar.LunarDate(1975, 12, 31);
  int days = 0, leap_months = 0;
  std::vector<int> skips;  // month starts whose number does not follow the month before
  for (int y = 1976; y <= 2075; ++y) {
    for (int m = 1; m <= 12; ++m) {
      int last = kDays[m - 1] + (m == 2 && y % 4 == 0 ? 1 : 0);
      for (int d = 1; d <= last; ++d) {
        LunarDateRecord r = calendar.LunarDate(y, m, d);
        ++days;
        if (r.day == 1) {
          ASSERT_TRUE(previous.day == 29 || previous.day == 30)
              << y << "-" << m << "-" << d << " after day " << previous.day;
          if (r.leap) ++leap_months;
          bool follows = r.leap ? r.month == previous.month : r.month == previous.month % 12 + 1;
          if (!follows) skips.push_back(y * 10000 + m * 100 + d);
          ASSERT_EQ(r.year, r.month == 1 && !r.leap ? previous.year + 1 : previous.year)
              << y << "-" << m << "-" << d;
        } else {
          ASSERT_EQ(r.day, previous.day + 1) << y << "-" << m << "-" << d;
          ASSERT_EQ(r.month, previous.month) << y << "-" << m << "-" << d;
          ASSERT_EQ(r.leap, previous.leap) << y << "-" << m << "-" << d;
          ASSERT_EQ(r.year, previous.year) << y << "-" << m << "-" << d;
        }
        ASSERT_EQ(r.rokuyou, (r.month + r.day - 2) % 6);
        previous = r;
      }
    }
  }
  EXPECT_EQ(days, 36525);
  // With three leap months in 2033-2034 the numbering skips months 10 and 12 of 2033; nowhere
  // else.
  EXPECT_EQ(skips, (std::vector<int>{20331122, 20340120}));
  EXPECT_GT(leap_months, 30);
}

// The almanac's remembered days are the conversion's own results, on the first and on later
// calls, for every day of the range; outside it the almanac computes each time.
TEST(LunarAlmanac, RemembersExactlyWhatItComputed) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  LunarCalendar calendar;
  LunarAlmanac almanac(LunarMethod::kSeries);
  for (int y = 1976; y <= 2075; ++y) {
    for (int m = 1; m <= 12; ++m) {
      int last = kDays[m - 1] + (m == 2 && y % 4 == 0 ? 1 : 0);
      for (int d = 1; d <= last; ++d) {
        AlmanacDay expected;
        expected.lunar = calendar.LunarDate(y, m, d);
        expected.solar_term_name = calendar.SolarTerm(y, m, d, &expected.solar_term);
        ASSERT_EQ(almanac.Day(y, m, d), expected) << y << "-" << m << "-" << d;
        ASSERT_EQ(almanac.Day(y, m, d), expected) << y << "-" << m << "-" << d << " again";
      }
    }
  }
  AlmanacDay outside = almanac.Day(1975, 12, 31);
  EXPECT_EQ(outside.lunar, calendar.LunarDate(1975, 12, 31));
}

}  // namespace
}  // namespace calendar
