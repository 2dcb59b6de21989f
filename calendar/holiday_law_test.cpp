#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "calendar/astronomy.h"
#include "calendar/calendar_math.h"
#include "calendar/chosen_holiday_rules.h"
#include "calendar/holiday_law.h"
#include "calendar/law_holiday_rules.h"
#include "platform/cp932.h"

namespace calendar {
namespace {

std::string NameOn(int year, int month, int day) {
  for (const LawHoliday& h : LawHolidaysOf(year)) {
    if (h.month == month && h.day == day) return cp932::ToUtf8(h.name);
  }
  return "";
}

// One day on each side of every change of the law: the name the day has, "" for none.
struct Pin {
  int year, month, day;
  const char* name;
};
constexpr Pin kPins[] = {
    {1948, 5, 5, ""},  // before the law took effect on 20 July 1948
    {1948, 11, 3, "文化の日"},
    {1966, 2, 11, ""},  // 建国記念の日 from 1967
    {1967, 2, 11, "建国記念の日"},
    {1965, 9, 15, ""},  // 敬老の日 and 体育の日 from 1966
    {1966, 9, 15, "敬老の日"},
    {1965, 10, 10, ""},
    {1966, 10, 10, "体育の日"},
    {1973, 2, 12, ""},            // 2-11 a Sunday, before the substitute day of 1973-04-12
    {1973, 4, 30, "休日"},        // 4-29 a Sunday, the first substitute day
    {1985, 5, 4, ""},             // a day between holidays counts from 1985-12-27
    {1988, 5, 4, "休日"},         // the first one kept
    {1987, 5, 4, "休日"},         // a Monday: the substitute for 5-3, not a day between
    {1988, 4, 29, "天皇誕生日"},  // 1989 law
    {1989, 4, 29, "みどりの日"},
    {1988, 12, 23, ""},
    {1989, 12, 23, "天皇誕生日"},
    {1995, 7, 20, ""},  // 海の日 from 1996
    {1996, 7, 20, "海の日"},
    {1999, 1, 15, "成人の日"},  // second Mondays from 2000
    {2000, 1, 15, ""},
    {2000, 1, 10, "成人の日"},
    {1999, 10, 10, "体育の日"},
    {2000, 10, 9, "体育の日"},
    {2002, 7, 20, "海の日"},  // third Mondays from 2003
    {2003, 7, 21, "海の日"},
    {2002, 9, 15, "敬老の日"},
    {2003, 9, 15, "敬老の日"},  // 2003-09-15 is the third Monday itself
    {2004, 9, 20, "敬老の日"},
    {2004, 9, 15, ""},
    {2009, 9, 22, "休日"},  // between 敬老の日 and 秋分の日
    {2015, 9, 22, "休日"},
    {2026, 9, 22, "休日"},
    {2006, 4, 29, "みどりの日"},  // 2007: 昭和の日, みどりの日 on 5-4
    {2007, 4, 29, "昭和の日"},
    {2006, 5, 4, "休日"},
    {2007, 5, 4, "みどりの日"},
    {2002, 5, 6, "休日"},  // 5-5 a Sunday: the Monday
    {2008, 5, 6, "休日"},  // 5-4 a Sunday: the next day that is not a holiday
    {2015, 8, 11, ""},     // 山の日 from 2016
    {2016, 8, 11, "山の日"},
    {2018, 12, 23, "天皇誕生日"},  // none in 2019, 2-23 from 2020
    {2019, 12, 23, ""},
    {2019, 2, 23, ""},
    {2020, 2, 23, "天皇誕生日"},
    {2019, 4, 30, "休日"},
    {2019, 5, 1, "休日（祝日扱い）"},
    {2019, 5, 2, "休日"},
    {2019, 10, 22, "休日（祝日扱い）"},
    {2019, 10, 14, "体育の日（スポーツの日）"},
    {2020, 7, 20, ""},  // the Games: 2020 and 2021 only
    {2020, 7, 23, "海の日"},
    {2020, 7, 24, "スポーツの日"},
    {2020, 8, 10, "山の日"},
    {2020, 10, 12, ""},
    {2021, 7, 19, ""},
    {2021, 7, 22, "海の日"},
    {2021, 7, 23, "スポーツの日"},
    {2021, 8, 8, "山の日"},
    {2021, 8, 9, "休日"},
    {2021, 8, 11, ""},
    {2022, 7, 18, "海の日"},
    {2022, 10, 10, "スポーツの日"},
    {1959, 4, 10, "結婚の儀"},  // one-off days
    {1960, 4, 10, ""},
    {1989, 2, 24, "大喪の礼"},
    {1990, 11, 12, "即位礼正殿の儀"},
    {1993, 6, 9, "結婚の儀"},
    {2012, 9, 22, "秋分の日"},
    {2092, 3, 19, "春分の日"},
};

TEST(HolidayLaw, EachChangeOnBothSidesOfItsDate) {
  for (const Pin& pin : kPins) {
    EXPECT_EQ(NameOn(pin.year, pin.month, pin.day), pin.name)
        << pin.year << "-" << pin.month << "-" << pin.day;
  }
}

// Every holiday of 1970-2027 against the published list; the list names a substitute day
// "<holiday> 振替休日", which the Cabinet Office and this program call "休日".
TEST(HolidayLaw, EveryDayOf1970To2027AsPublished) {
  std::ifstream file(MIRUNE_CALENDAR_TESTDATA "/holidays_1970_2027.tsv");
  ASSERT_TRUE(file) << "test data missing";
  std::map<int, std::map<std::string, std::string>> published;  // year -> date -> name
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    std::string name = line.substr(tab + 1);
    if (name.ends_with(" 振替休日")) name = "休日";
    published[std::stoi(line.substr(0, 4))][line.substr(0, tab)] = name;
  }
  ASSERT_EQ(published.size(), 58u);
  for (int year = 1970; year <= 2027; ++year) {
    std::map<std::string, std::string> computed;
    for (const LawHoliday& h : LawHolidaysOf(year)) {
      char date[16];
      std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, h.month, h.day);
      computed[date] = cp932::ToUtf8(h.name);
    }
    EXPECT_EQ(computed, published[year]) << year;
  }
}

// The almanac makers' equinox formula and the Sun's own passage through 0 and 180 degrees agree
// on every year the formula is given for; each checks the other.
TEST(HolidayLaw, EquinoxFormulaMatchesTheSun) {
  for (int year = 1900; year <= 2099; ++year) {
    int vernal = 0, autumnal = 0;
    LawEquinoxDays(year, vernal, autumnal);
    auto day_of = [&](int month, double longitude, int guess) {
      double at = astronomy::SolarLongitudeInstant(
          longitude, astronomy::JapanMidnight(DayNumber(year, month, guess)));
      return astronomy::JapanDayNumber(at) - DayNumber(year, month, 1) + 1;
    };
    EXPECT_EQ(vernal, day_of(3, 0, 20)) << year;
    EXPECT_EQ(autumnal, day_of(9, 180, 23)) << year;
  }
}

TEST(LawHolidayRules, GridWriterAndCalendarWindow) {
  LawHolidayRules rules;
  DayHoliday d = rules.DrawDay(2026, 5, 6);
  EXPECT_TRUE(d.holiday);
  EXPECT_EQ(d.kind, HolidayKind::kSubstitute);
  EXPECT_EQ(cp932::ToUtf8(d.name), "休日");
  EXPECT_FALSE(rules.DrawDay(2026, 12, 23).holiday);
  EXPECT_EQ(rules.IsHoliday(2026, 5, 6), 0);
  EXPECT_EQ(rules.IsHoliday(2026, 5, 5), 1);
  rules.DrawDay(2026, 9, 1);
  EXPECT_EQ(rules.State().autumnal_day, 23);

  // The writer takes named holidays only: 9-22 of 2026 is a day off between two of them.
  std::vector<std::string> written;
  for (const HolidayTarget& t : rules.WriterTargets(2026, 9)) {
    written.push_back(std::to_string(t.day) + cp932::ToUtf8(t.name));
  }
  EXPECT_EQ(written, (std::vector<std::string>{"21敬老の日", "23秋分の日"}));

  // The window lists the shown year with every day off, so the control adds none of its own.
  EXPECT_TRUE(rules.CalendarWindowListHasDaysOff());
  std::vector<std::string> list = rules.InitialCalendarWindowList();
  rules.UpdateCalendarWindowList(list, 2026, 5);
  std::vector<std::string> may;
  for (const std::string& text : list) {
    if (text.starts_with("5,")) may.push_back(cp932::ToUtf8(text));
  }
  EXPECT_EQ(may, (std::vector<std::string>{"5,3,憲法記念日", "5,4,みどりの日", "5,5,こどもの日",
                                           "5,6,振替休日"}));
  rules.UpdateCalendarWindowList(list, 2027, 1);
  for (const std::string& text : list) EXPECT_NE(text, cp932::FromUtf8("5,6,振替休日"));
  rules.UpdateCalendarWindowList(list, 2023, 1);  // 1-1 a Sunday
  EXPECT_EQ(cp932::ToUtf8(list.at(0)), "1,1,元日");
  EXPECT_EQ(cp932::ToUtf8(list.at(1)), "1,2,振替休日");
  EXPECT_EQ(cp932::ToUtf8(list.at(2)), "1,9,成人の日");
  rules.UpdateCalendarWindowList(list, 2026, 9);
  EXPECT_NE(std::find(list.begin(), list.end(), cp932::FromUtf8("9,22,国民の休日")), list.end());
}

TEST(ChosenHolidayRules, FollowsTheChoice) {
  ChosenHolidayRules rules;
  EXPECT_EQ(cp932::ToUtf8(rules.DrawDay(2026, 1, 1).name), "元日");
  rules.Choose(HolidayRulesChoice::kTable);
  EXPECT_EQ(cp932::ToUtf8(rules.DrawDay(2026, 1, 1).name), "元旦");
  EXPECT_TRUE(rules.DrawDay(2026, 12, 23).holiday);
  EXPECT_EQ(HolidayRulesFromSetting(7), HolidayRulesChoice::kLaw);
}

}  // namespace
}  // namespace calendar
