#include <gtest/gtest.h>

#include <cmath>

#include "calendar/accurate_lunar_calendar.h"
#include "calendar/astronomy.h"
#include "calendar/calendar_math.h"
#include "calendar/lunar_almanac.h"
#include "platform/cp932.h"

namespace calendar {
namespace {

// The worked examples of Meeus, "Astronomical Algorithms": the new moon of February 1977
// (49.a) and the Sun's apparent longitude on 1992-10-13.0 TD (25.b, 199°54'21.8").
TEST(Astronomy, PublishedExamples) {
  EXPECT_NEAR(astronomy::NewMoon(-283), 2443192.65118, 0.00001);
  EXPECT_NEAR(astronomy::SunApparentLongitude(2448908.5), 199.90606, 0.0002);
  EXPECT_NEAR(astronomy::DeltaT(2000), 63.86, 0.01);
  // The new moon of 2000-01-06 18:14 UT is the 7th in Japan.
  EXPECT_EQ(astronomy::JapanDayNumber(astronomy::NewMoon(0)), DayNumber(2000, 1, 7));
}

struct LeapMonth {
  int span_year;  // the span that ends with the month 11 of this year
  int lunar_year, number;
  int y, m, d;  // its first day
};

TEST(AccurateLunarCalendar, LeapMonthsAsTheAlmanacsHaveThem) {
  constexpr LeapMonth kLeaps[] = {
      {1984, 1984, 10, 1984, 11, 23}, {2014, 2014, 9, 2014, 10, 24}, {2017, 2017, 5, 2017, 6, 24},
      {2020, 2020, 4, 2020, 5, 23},   {2023, 2023, 2, 2023, 3, 22},  {2034, 2033, 11, 2033, 12, 22},
  };
  AccurateLunarCalendar calendar;
  for (const LeapMonth& l : kLeaps) {
    int leaps = 0;
    for (const AccurateLunarCalendar::Month& m : calendar.MonthsBefore(l.span_year)) {
      if (!m.leap) continue;
      ++leaps;
      EXPECT_EQ(m.year, l.lunar_year) << l.span_year;
      EXPECT_EQ(m.number, l.number) << l.span_year;
      EXPECT_EQ(m.first_day, DayNumber(l.y, l.m, l.d)) << l.span_year;
    }
    EXPECT_EQ(leaps, 1) << l.span_year;
  }
  // The 2033 problem: 閏11月 from 2033-12-22, then months 12 and 1 as usual.
  LunarDateRecord r = calendar.LunarDate(2033, 12, 22);
  EXPECT_EQ(r.year, 2033);
  EXPECT_EQ(r.month, 11);
  EXPECT_EQ(r.day, 1);
  EXPECT_EQ(r.leap, 1);
  EXPECT_EQ(cp932::ToUtf8(r.rokuyou_name), "大安");  // month 11 day 1
  r = calendar.LunarDate(2034, 1, 20);
  EXPECT_EQ(r.month * 100 + r.day, 1201);
  r = calendar.LunarDate(2034, 2, 19);
  EXPECT_EQ(r.year * 10000 + r.month * 100 + r.day + r.leap, 20340101);
}

TEST(AccurateLunarCalendar, SolarTermsCloseToMidnight) {
  struct Term {
    int y, m, d;
    const char* name;
  };
  // Each begins within two minutes before midnight in Japan.
  constexpr Term kTerms[] = {
      {2021, 2, 3, "立春"}, {2023, 6, 21, "夏至"}, {2030, 2, 18, "雨水"}, {2000, 2, 4, "立春"}};
  AccurateLunarCalendar calendar;
  for (const Term& t : kTerms) {
    EXPECT_EQ(cp932::ToUtf8(calendar.SolarTerm(t.y, t.m, t.d)), t.name) << t.y;
    int next_day = -2;
    calendar.SolarTerm(t.y, t.m, t.d + 1, &next_day);
    EXPECT_EQ(next_day, -1) << t.y;
  }
}

// Every day of 1901-2099: a lunar day is 1 or the day before plus 1, months last 29 or 30
// days, each year has 24 terms in order, and the rokuyou follows the month and day.
TEST(AccurateLunarCalendar, DayByDayWalk) {
  LunarAlmanac almanac(LunarMethod::kAccurate);
  AlmanacDay previous = almanac.Day(1901, 1, 1);
  int terms = 0, last_term = -1;
  bool first_month = true;
  for (int y = 1901; y <= 2099; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = (y == 1901 && m == 1) ? 2 : 1; d <= MonthLength(y, m); ++d) {
        AlmanacDay day = almanac.Day(y, m, d);
        const LunarDateRecord& r = day.lunar;
        if (r.day == 1) {
          if (!first_month) {
            ASSERT_TRUE(previous.lunar.day == 29 || previous.lunar.day == 30) << y << m << d;
          }
          first_month = false;
        } else {
          ASSERT_EQ(r.day, previous.lunar.day + 1) << y << "-" << m << "-" << d;
          ASSERT_EQ(r.month, previous.lunar.month);
        }
        ASSERT_EQ(r.rokuyou, (r.month + r.day - 2) % 6);
        if (day.solar_term >= 0) {
          ++terms;
          if (last_term >= 0) {
            ASSERT_EQ(day.solar_term, (last_term + 1) % 24) << y << m << d;
          }
          last_term = day.solar_term;
        }
        previous = day;
      }
    }
  }
  EXPECT_EQ(terms, 24 * 199);
  EXPECT_THROW(almanac.Day(1900, 12, 31), std::out_of_range);
  EXPECT_THROW(almanac.Day(2100, 1, 1), std::out_of_range);
}

}  // namespace
}  // namespace calendar
