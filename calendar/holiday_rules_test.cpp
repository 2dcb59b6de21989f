#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "calendar/date_colour.h"
#include "calendar/holiday_tables.h"
#include "calendar/table_holiday_rules.h"
#include "platform/cp932.h"

namespace calendar {
namespace {

std::string Utf8(std::string_view cp932_text) {
  return cp932::ToUtf8(cp932_text);
}

// The equinox days of 1900-2099, written as in the published day table.
constexpr const char* kEquinoxDays =
    "21/23 21/24 21/24 22/24 21/23 21/24 21/24 22/24 21/23 21/24 "  // 1900
    "21/24 22/24 21/23 21/24 21/24 22/24 21/23 21/24 21/24 22/24 "  // 1910
    "21/23 21/23 21/24 22/24 21/23 21/23 21/24 21/24 21/23 21/23 "  // 1920
    "21/24 21/24 21/23 21/23 21/24 21/24 21/23 21/23 21/24 21/24 "  // 1930
    "21/23 21/23 21/24 21/24 21/23 21/23 21/24 21/24 21/23 21/23 "  // 1940
    "21/23 21/24 21/23 21/23 21/23 21/24 21/23 21/23 21/23 21/24 "  // 1950
    "20/23 21/23 21/23 21/24 20/23 21/23 21/23 21/24 20/23 21/23 "  // 1960
    "21/23 21/24 20/23 21/23 21/23 21/24 20/23 21/23 21/23 21/24 "  // 1970
    "20/23 21/23 21/23 21/23 20/23 21/23 21/23 21/23 20/23 21/23 "  // 1980
    "21/23 21/23 20/23 20/23 21/23 21/23 20/23 20/23 21/23 21/23 "  // 1990
    "20/23 20/23 21/23 21/23 20/23 20/23 21/23 21/23 20/23 20/23 "  // 2000
    "21/23 21/23 20/22 20/23 21/23 21/23 20/22 20/23 21/23 21/23 "  // 2010
    "20/22 20/23 21/23 21/23 20/22 20/23 20/23 21/23 20/22 20/23 "  // 2020
    "20/23 21/23 20/22 20/23 20/23 21/23 20/22 20/23 20/23 21/23 "  // 2030
    "20/22 20/23 20/23 21/23 20/22 20/22 20/23 21/23 20/22 20/22 "  // 2040
    "20/23 21/23 20/22 20/22 20/23 21/23 20/22 20/22 20/23 20/23 "  // 2050
    "20/22 20/22 20/23 20/23 20/22 20/22 20/23 20/23 20/22 20/22 "  // 2060
    "20/23 20/23 20/22 20/22 20/23 20/23 20/22 20/22 20/22 20/23 "  // 2070
    "20/22 20/22 20/22 20/23 20/22 20/22 20/22 20/23 20/22 20/22 "  // 2080
    "20/22 20/23 19/22 20/22 20/22 20/23 19/22 20/22 20/22 20/23";  // 2090

TEST(HolidayEquinoxTable, DecodesToThePublishedDays) {
  std::istringstream days(kEquinoxDays);
  for (int year = 1900; year <= 2099; ++year) {
    int vernal = 0, autumnal = 0;
    char slash;
    days >> vernal >> slash >> autumnal;
    int v = -1, a = -1;
    ASSERT_EQ(GetEquinoxDays(year, &v, &a), 0);
    EXPECT_EQ(v, vernal) << year;
    EXPECT_EQ(a, autumnal) << year;
  }
  EXPECT_EQ(EquinoxTable().size(), 200u);
}

TEST(HolidayEquinoxTable, OutsideTheTableLeavesOutputsAlone) {
  int v = 7, a = 8;
  EXPECT_EQ(GetEquinoxDays(1899, &v, &a), -1);
  EXPECT_EQ(GetEquinoxDays(2100, &v, &a), -1);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(a, 8);
  // Either output may be left out.
  EXPECT_EQ(GetEquinoxDays(2012, nullptr, &a), 0);
  EXPECT_EQ(a, 22);
  EXPECT_EQ(GetEquinoxDays(2092, &v, nullptr), 0);
  EXPECT_EQ(v, 19);
}

TEST(HolidayWeekday, ZellerAndTheGregorianStart) {
  EXPECT_EQ(WeekdayOf(2000, 1, 1), 6);    // Saturday
  EXPECT_EQ(WeekdayOf(2000, 10, 1), 0);   // Sunday
  EXPECT_EQ(WeekdayOf(2001, 1, 1), 1);    // Monday
  EXPECT_EQ(WeekdayOf(2000, 2, 29), 2);   // Tuesday
  EXPECT_EQ(WeekdayOf(1582, 10, 15), 5);  // Friday, the first Gregorian day
  EXPECT_EQ(WeekdayOf(1582, 10, 14), 7);
  EXPECT_EQ(WeekdayOf(1500, 6, 1), 7);
  EXPECT_EQ(SecondMonday(1500, 1), 0);
}

TEST(HolidaySecondMonday, EveryFirstWeekday) {
  // 1 January 2000 is a Saturday, 1 October 2000 a Sunday, 1 January 2001 a Monday.
  EXPECT_EQ(SecondMonday(2000, 1), 10);
  EXPECT_EQ(SecondMonday(2000, 10), 9);
  EXPECT_EQ(SecondMonday(2001, 1), 8);
  for (int year = 2000; year <= 2030; ++year) {
    for (int month : {1, 10}) {
      int d = SecondMonday(year, month);
      EXPECT_EQ(WeekdayOf(year, month, d), 1) << year << "-" << month;
      EXPECT_TRUE(d >= 8 && d <= 14) << year << "-" << month;
    }
  }
}

TEST(HolidayFixedDates, MovedHolidaysFrom2000) {
  TableHolidayRules rules;
  EXPECT_EQ(rules.IsHoliday(1999, 1, 15), 1);
  EXPECT_EQ(rules.IsHoliday(2000, 1, 15), 0);
  EXPECT_EQ(rules.IsHoliday(1999, 10, 10), 1);
  EXPECT_EQ(rules.IsHoliday(2000, 10, 10), 0);
  EXPECT_EQ(rules.IsHoliday(2000, 7, 20), 1);  // 海の日 stands after 体育の日 in the table
  EXPECT_EQ(rules.IsHoliday(2000, 12, 23), 1);
  EXPECT_EQ(rules.IsHoliday(2000, 12, 24), 0);
  EXPECT_EQ(IsDayAfterHoliday(1995, 1, 16), 2);
  EXPECT_EQ(IsDayAfterHoliday(2006, 1, 16), 0);
  EXPECT_EQ(IsDayAfterHoliday(1999, 10, 11), 2);
  EXPECT_EQ(IsDayAfterHoliday(2000, 10, 11), 0);
  EXPECT_EQ(IsDayAfterHoliday(2000, 5, 6), 2);
}

// Draws every day of a month as the grid does and returns the days drawn as holidays with the
// name each shows.
std::vector<std::pair<int, std::string>> DrawMonth(HolidayRules& rules, int year, int month) {
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::vector<std::pair<int, std::string>> out;
  for (int d = 1; d <= kDays[month - 1]; ++d) {
    bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (month == 2 && d == 29 && !leap) break;
    DayHoliday h = rules.DrawDay(year, month, d);
    if (h.holiday) out.emplace_back(d, Utf8(h.name));
  }
  return out;
}

using Days = std::vector<std::pair<int, std::string>>;

TEST(HolidayDisplayRule, ComingOfAgeDayMovesToSecondMonday) {
  TableHolidayRules rules;
  EXPECT_EQ(DrawMonth(rules, 1999, 1), (Days{{1, "元旦"}, {15, "成人の日"}}));
  EXPECT_EQ(DrawMonth(rules, 2000, 1), (Days{{1, "元旦"}, {10, "成人の日"}}));
  EXPECT_EQ(rules.State().second_monday, 10);
  EXPECT_EQ(DrawMonth(rules, 2001, 1), (Days{{1, "元旦"}, {8, "成人の日"}}));
  // Other holidays are untouched after a second-Monday month.
  EXPECT_EQ(DrawMonth(rules, 2001, 2), (Days{{11, "建国記念の日"}, {12, ""}}));  // a Sunday
  // 15 January 2006 is a Sunday, but 16 January no longer follows a holiday.
  EXPECT_EQ(DrawMonth(rules, 2006, 1), (Days{{1, "元旦"}, {2, ""}, {9, "成人の日"}}));
}

TEST(HolidayDisplayRule, SportsDayMovesToSecondMonday) {
  TableHolidayRules rules;
  EXPECT_EQ(DrawMonth(rules, 2000, 10), (Days{{9, "体育の日"}}));
  EXPECT_EQ(rules.State().second_monday, 9);
  // 1 October 2005 is a Saturday: the second Monday is the 10th again.
  EXPECT_EQ(DrawMonth(rules, 2005, 10), (Days{{10, "体育の日"}}));
  // Up to 1999 the 10th, and a Sunday 10th gives a substitute Monday (10 October 1999).
  EXPECT_EQ(DrawMonth(rules, 1999, 10), (Days{{10, "体育の日"}, {11, ""}}));
}

TEST(HolidayDisplayRule, SubstituteDaysOff) {
  TableHolidayRules rules;
  // 15 January 1995 is a Sunday.
  EXPECT_EQ(DrawMonth(rules, 1995, 1), (Days{{1, "元旦"}, {2, ""}, {15, "成人の日"}, {16, ""}}));
  // 21 March 1999, the vernal equinox, is a Sunday.
  EXPECT_EQ(DrawMonth(rules, 1999, 3), (Days{{21, "春分の日"}, {22, ""}}));
  // 3 May 2009 is a Sunday: the Monday 4th keeps its own name, and only a Monday can be a
  // substitute day, so the Wednesday 6th stays ordinary.
  EXPECT_EQ(DrawMonth(rules, 2009, 5),
            (Days{{3, "憲法記念日"}, {4, "国民の休日"}, {5, "子供の日"}}));
  // 5 May 2013 is a Sunday: Monday the 6th is a substitute day without a name.
  EXPECT_EQ(DrawMonth(rules, 2013, 5),
            (Days{{3, "憲法記念日"}, {4, "国民の休日"}, {5, "子供の日"}, {6, ""}}));
  // A Monday after an ordinary Sunday is nothing.
  EXPECT_EQ(DrawMonth(rules, 2009, 6), Days{});
}

TEST(HolidayDisplayRule, EquinoxesFollowTheYearDrawn) {
  TableHolidayRules rules;
  EXPECT_EQ(rules.IsHoliday(2012, 9, 22), 0);  // entries start at 21 March and 23 September
  EXPECT_EQ(rules.IsHoliday(2012, 9, 23), 1);
  EXPECT_EQ(rules.State().autumnal_day, 0);
  EXPECT_EQ(DrawMonth(rules, 2012, 9), (Days{{15, "敬老の日"}, {22, "秋分の日"}}));
  EXPECT_EQ(rules.State().vernal_day, 20);
  EXPECT_EQ(rules.State().autumnal_day, 22);
  EXPECT_EQ(DrawMonth(rules, 2092, 3), (Days{{19, "春分の日"}}));
  // 1979's autumnal equinox is the 24th; the 23rd is an ordinary Sunday then.
  EXPECT_EQ(DrawMonth(rules, 1979, 9), (Days{{15, "敬老の日"}, {24, "秋分の日"}}));
  // Outside the table the days last drawn stay.
  EXPECT_EQ(DrawMonth(rules, 2100, 9), (Days{{15, "敬老の日"}, {24, "秋分の日"}}));
  EXPECT_EQ(rules.State().autumnal_day, 24);
}

TEST(HolidayDisplayRule, OutsideTheTableNoFirstOfMarchHoliday) {
  TableHolidayRules rules;
  // 1 March 2100 is a Monday; nothing was drawn before, so the entries' 21 March (a Sunday)
  // stands and its Monday follows, while the 1st stays ordinary.
  ASSERT_EQ(WeekdayOf(2100, 3, 1), 1);
  EXPECT_EQ(DrawMonth(rules, 2100, 3), (Days{{21, "春分の日"}, {22, ""}}));
}

TEST(HolidayWriter, TargetsFromTheDrawnState) {
  TableHolidayRules rules;
  auto names = [](const std::vector<HolidayTarget>& targets) {
    std::vector<std::pair<int, std::string>> out;
    for (const HolidayTarget& t : targets) out.emplace_back(t.day, Utf8(t.name));
    return out;
  };
  // Nothing drawn yet: no equinox and no second Monday to write.
  EXPECT_EQ(names(rules.WriterTargets(2000, 3)), Days{});
  EXPECT_EQ(names(rules.WriterTargets(2000, 1)), (Days{{1, "元旦"}}));
  DrawMonth(rules, 2000, 1);
  EXPECT_EQ(names(rules.WriterTargets(2000, 1)), (Days{{1, "元旦"}, {10, "成人の日"}}));
  DrawMonth(rules, 1979, 9);
  EXPECT_EQ(names(rules.WriterTargets(1979, 9)), (Days{{15, "敬老の日"}}));
  DrawMonth(rules, 2000, 5);
  EXPECT_EQ(names(rules.WriterTargets(2000, 5)),
            (Days{{3, "憲法記念日"}, {4, "国民の休日"}, {5, "こどもの日"}}));
  EXPECT_EQ(names(rules.WriterTargets(2000, 4)), (Days{{29, "みどりの日"}}));
  EXPECT_EQ(names(rules.WriterTargets(2000, 6)), Days{});
}

TEST(HolidayCalendarWindow, ListFollowsTheDisplayedMonth) {
  TableHolidayRules rules;
  std::vector<std::string> list = rules.InitialCalendarWindowList();
  ASSERT_EQ(list.size(), 15u);
  EXPECT_EQ(Utf8(list[2]), "2,11,建国の日");
  EXPECT_EQ(Utf8(list[8]), "7,20,海の日");
  rules.UpdateCalendarWindowList(list, 2000, 1);
  EXPECT_EQ(Utf8(list[1]), "1,10,成人の日");
  rules.UpdateCalendarWindowList(list, 2000, 10);
  EXPECT_EQ(Utf8(list[11]), "10,9,体育の日");
  EXPECT_EQ(Utf8(list[1]), "1,10,成人の日");  // other months keep what was last written
  rules.UpdateCalendarWindowList(list, 2012, 9);
  EXPECT_EQ(Utf8(list[10]), "9,22,秋分の日");
  EXPECT_EQ(Utf8(list[3]), "3,21,春分の日");
  rules.UpdateCalendarWindowList(list, 2092, 3);
  EXPECT_EQ(Utf8(list[3]), "3,19,春分の日");
  rules.UpdateCalendarWindowList(list, 2100, 3);  // outside the table: unchanged
  EXPECT_EQ(Utf8(list[3]), "3,19,春分の日");
  rules.UpdateCalendarWindowList(list, 1999, 1);
  EXPECT_EQ(Utf8(list[1]), "1,15,成人の日");
  EXPECT_EQ(list.size(), 15u);
}

TEST(HolidayDateColour, RestDaySwitchesOverrideInOrder) {
  DayHoliday holiday{true, HolidayKind::kTable, {}};
  DayHoliday ordinary;
  RestDays s;
  EXPECT_EQ(DateTextColour(holiday, 3, s), kDateBlack);  // holidays not counted as rest days
  s.holidays_are_rest = true;
  EXPECT_EQ(DateTextColour(holiday, 3, s), kDateRed);
  s.holidays_are_rest = false;
  s.sunday_only = true;
  EXPECT_EQ(DateTextColour(holiday, 3, s), kDateBlack);
  EXPECT_EQ(DateTextColour(ordinary, 0, s), kDateRed);
  EXPECT_EQ(DateTextColour(ordinary, 6, s), kDateBlue);
  s.two_day_weekend = true;
  EXPECT_EQ(DateTextColour(ordinary, 6, s), kDateRed);
  s = {};
  s.fixed_rest_days = true;
  s.weekdays[3] = true;
  EXPECT_EQ(DateTextColour(ordinary, 3, s), kDateRed);
  EXPECT_EQ(DateTextColour(ordinary, 7, s), kDateBlack);  // no weekday before 1582
}

}  // namespace
}  // namespace calendar
