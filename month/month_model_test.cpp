#include "month/month_model.h"

#include <gtest/gtest.h>

#include "calendar/chosen_holiday_rules.h"
#include "calendar/lunar_almanac.h"
#include "platform/file_system.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::Sjis;

namespace {

month::DateColumn Column(const month::MonthView& view, const month::MainSettings& settings,
                         month::Today today = {1990, 1, 1}) {
  calendar::ChosenHolidayRules rules;
  calendar::LunarAlmanac lunar;
  month::ApplyCalendarChoices(settings, rules, lunar);
  return month::BuildDateColumn(view, today, settings, rules, lunar);
}

month::MonthView Full(int y, int m) {
  return {y, m, 1, false, false, false};
}

TEST(MonthModel, RowAssignmentInBothModes) {
  month::MonthView feb = Full(2023, 2);
  month::DateColumn c = Column(feb, {});
  EXPECT_EQ(c.left[0].day, 1);
  EXPECT_EQ(c.left[15].day, 16);
  EXPECT_EQ(c.right[11].day, 28);
  EXPECT_FALSE(c.right[12].has_day);
  EXPECT_FALSE(c.right[15].has_day);
  // 3 December, first half: 17-30 November left, 1-16 December right.
  month::MonthView dec{2026, 12, 3, true, true, false};
  c = Column(dec, {});
  EXPECT_EQ(c.left[0].month, 11);
  EXPECT_EQ(c.left[13].day, 30);
  EXPECT_FALSE(c.left[14].has_day);
  EXPECT_EQ(c.right[0].month, 12);
  EXPECT_EQ(c.right[15].day, 16);
  // January, first half: the left grid is December of the year before.
  c = Column({2027, 1, 5, true, true, false}, {});
  EXPECT_EQ(c.left[0].year, 2026);
  EXPECT_EQ(c.left[14].day, 31);
}

TEST(MonthModel, Titles) {
  EXPECT_EQ(month::MonthTitle(Full(2026, 3), ""), Sjis("2026年 3月のスケジュ－ル"));
  EXPECT_EQ(month::MonthTitle({2026, 12, 3, true, true, false}, ""),
            Sjis("2026年11月後半") + std::string(12, ' ') + Sjis("2026年12月前半"));
  EXPECT_EQ(month::MonthTitle({2026, 12, 20, true, false, true}, ""),
            Sjis("2026年12月後半") + std::string(12, ' ') + Sjis("2027年1月前半"));
  EXPECT_EQ(month::MonthTitle({2027, 1, 3, true, true, false}, ""),
            Sjis("2026年12月後半") + std::string(12, ' ') + Sjis("2027年1月前半"));
  EXPECT_EQ(month::MonthTitle({2027, 1, 3, true, true, true}, "kept"), "kept");
}

TEST(MonthModel, DefaultPdfNames) {
  struct Case {
    month::MonthView view;
    const char* name;
  } cases[] = {
      {{2026, 12, 9}, "予定表_2026-12.pdf"},
      {{2026, 3, 31}, "予定表_2026-03.pdf"},
      {{987, 1, 1}, "予定表_0987-01.pdf"},
      {{2026, 12, 20, true, false, true}, "予定表_2026-12後半_2027-01前半.pdf"},
      {{2027, 1, 3, true, true, false}, "予定表_2026-12後半_2027-01前半.pdf"},
      {{2026, 6, 3, true, true, false}, "予定表_2026-05後半_2026-06前半.pdf"},
      {{2026, 6, 3, true, false, false}, "予定表_2026-06.pdf"},  // neither half: the month
  };
  for (const Case& c : cases) EXPECT_EQ(month::DefaultPdfName(c.view), c.name);
}

TEST(MonthModel, DateTextRokuyouAndToday) {
  month::MainSettings s;
  s.rokuyou = 1;
  month::DateColumn c = Column(Full(2000, 1), s, {2000, 1, 5});
  EXPECT_EQ(c.left[0].date_text, Sjis(" 1 土"));
  EXPECT_EQ(c.left[0].rokuyou_text, Sjis(" (大安)"));
  EXPECT_EQ(c.left[0].rokuyou_colour, 0x008000u);
  EXPECT_TRUE(c.left[4].today);
  EXPECT_FALSE(c.left[3].today);
  // With the table and the series: no rokuyou outside 1976-2075; the date and holiday are
  // still there.
  s.syukucolor = 1;
  s.holiday_rules = 1;
  s.lunar_method = 1;
  for (int year : {1975, 2076}) {
    c = Column(Full(year, 1), s);
    EXPECT_TRUE(c.left[0].rokuyou_text.empty()) << year;
    EXPECT_EQ(c.left[0].holiday_name, Sjis("元旦")) << year;
  }
  // By default the law and the accurate method, which reaches 1901-2099.
  s.holiday_rules = 0;
  s.lunar_method = 0;
  c = Column(Full(1975, 1), s);
  EXPECT_EQ(c.left[0].rokuyou_text, Sjis(" (大安)"));  // lunar 1974-11-19
  EXPECT_EQ(c.left[0].holiday_name, Sjis("元日"));
  EXPECT_TRUE(Column(Full(2100, 1), s).left[0].rokuyou_text.empty());
  // 2021-02-03 begins 立春 a minute before midnight.
  EXPECT_EQ(Column(Full(2021, 2), s).left[2].rokuyou_text, Sjis(" (先負)立春"));
}

TEST(MonthModel, HolidayColoursNeedHolidaysAsRestDays) {
  month::MainSettings s;
  s.syukucolor = 1;
  // January 2001: the 1st is a Monday, the 8th the second Monday.
  month::DateColumn c = Column(Full(2001, 1), s);
  EXPECT_EQ(c.left[7].date_colour, 0u);
  EXPECT_EQ(c.left[7].holiday_name, Sjis("成人の日"));
  EXPECT_EQ(c.left[7].holiday_colour, c.left[7].date_colour);
  s.rest_days.holidays_are_rest = true;
  c = Column(Full(2001, 1), s);
  EXPECT_EQ(c.left[7].date_colour, 0x0000FFu);
  EXPECT_EQ(c.left[7].holiday_colour, 0x0000FFu);
  EXPECT_EQ(c.left[0].date_colour, 0x0000FFu);
  EXPECT_EQ(c.left[1].date_colour, 0u);
}

TEST(MonthModel, WeeklyRestDayRulesApplyInOrder) {
  month::MainSettings s;
  s.rest_days.sunday_only = true;
  // 3 November 2021 (文化の日) is a Wednesday: black while holidays are no rest days.
  month::DateColumn c = Column(Full(2021, 11), s);
  EXPECT_EQ(c.left[2].date_colour, 0u);
  EXPECT_EQ(c.left[6].date_colour, 0x0000FFu);  // Sunday 7th
  EXPECT_EQ(c.left[5].date_colour, 0xFF0000u);  // Saturday 6th
  s.rest_days.two_day_weekend = true;           // a later rule: Saturday red too
  c = Column(Full(2021, 11), s);
  EXPECT_EQ(c.left[5].date_colour, 0x0000FFu);
  s = {};
  s.rest_days.fixed_rest_days = true;
  s.rest_days.weekdays[3] = true;  // Wednesdays
  c = Column(Full(2021, 11), s);
  EXPECT_EQ(c.left[2].date_colour, 0x0000FFu);
  EXPECT_EQ(c.left[6].date_colour, 0u);
}

TEST(MonthModel, SummariesFollowYearFoldersAndColourLines) {
  test_support::TempDir dir;
  const fs::path cwd = fs::current_path();
  fs::create_directories(dir.path() / "2026");
  fs::create_directories(dir.path() / "2027");
  test_support::WriteBytes(dir.path() / "2026" / "KVR20261220.dat",
                           "1\r\n" + Sjis("会議") + "\r\n");
  test_support::WriteBytes(dir.path() / "2027" / "KVR20270105.dat", "5\r\nx\r\n");
  test_support::WriteBytes(dir.path() / "2026" / "KVR20260230.dat", "stray\r\n");
  std::array<daydata::TLightStrings, 33> lists;
  std::string folder =
      month::LoadDaySummaries(dir.path(), {2026, 12, 20, true, false, true}, lists);
  EXPECT_EQ(folder, "2026");
  month::ShownText red = month::ShownTextOf(lists[20]);
  EXPECT_EQ(red.colour, 0x0000FFu);
  EXPECT_EQ(red.text, Sjis("会議") + "\r\n");
  month::ShownText kept = month::ShownTextOf(lists[5]);  // from next year's folder
  EXPECT_EQ(kept.colour, 0u);
  EXPECT_EQ(kept.text, "5\r\nx\r\n");
  // Days past the month's end are looked up like any other.
  month::LoadDaySummaries(dir.path(), Full(2026, 2), lists);
  EXPECT_EQ(lists[30].Count(), 1);
  EXPECT_EQ(lists[20].Count(), 0);
  // No year folder: files are looked up in the data folder itself.
  test_support::WriteBytes(dir.path() / "KVR19990107.dat", "flat\r\n");
  EXPECT_EQ(month::LoadDaySummaries(dir.path(), Full(1999, 1), lists), "1999");
  EXPECT_EQ(lists[7].Count(), 1);
  // First half of January: December is read last, and its year is the one returned.
  EXPECT_EQ(month::LoadDaySummaries(dir.path(), {2027, 1, 3, true, true, false}, lists), "2026");
  EXPECT_EQ(month::ShownTextOf(lists[20]).text, Sjis("会議") + "\r\n");
  EXPECT_EQ(lists[5].Count(), 2);
  // Every file is named by its whole path: the working folder is neither used nor moved.
  EXPECT_EQ(fs::current_path(), cwd);
}

}  // namespace

namespace {

// The two calendar choices come from the settings file; a file without them, or with a value
// other than 0 and 1, gets the law and the accurate method.
TEST(MonthModel, CalendarChoicesFromTheSettingsFile) {
  test_support::TempDir dir;
  const fs::path ini = dir.path() / "vuruva.ini";
  struct Case {
    const char* body;
    calendar::HolidayRulesChoice rules;
    calendar::LunarMethod method;
  };
  const Case kCases[] = {
      {"", calendar::HolidayRulesChoice::kLaw, calendar::LunarMethod::kAccurate},
      {"HolidayRules=1\r\nLunarMethod=1\r\n", calendar::HolidayRulesChoice::kTable,
       calendar::LunarMethod::kSeries},
      {"HolidayRules=0\r\nLunarMethod=7\r\n", calendar::HolidayRulesChoice::kLaw,
       calendar::LunarMethod::kAccurate},
  };
  for (const Case& c : kCases) {
    test_support::WriteBytes(ini, "[" + Sjis("休日及び六曜") + "]\r\n" + c.body);
    month::MainSettings settings;
    month::ReadMainSettings(settings::IniStore(ini), settings);
    calendar::ChosenHolidayRules rules(calendar::HolidayRulesChoice::kTable);
    calendar::LunarAlmanac lunar(calendar::LunarMethod::kSeries);
    month::ApplyCalendarChoices(settings, rules, lunar);
    EXPECT_EQ(rules.Choice(), c.rules) << c.body;
    EXPECT_EQ(lunar.Method(), c.method) << c.body;
  }
}

// The rest-day switches come from their keys, each read with the value held so far as its
// default; only 1 is on, so a hand-edited 7 turns a switch off as it always did.
TEST(MonthModel, RestDaysFromTheSettingsFile) {
  using namespace settings::keys;
  test_support::TempDir dir;
  const fs::path ini = dir.path() / "vuruva.ini";
  const auto line = [](const settings::Key& key, int value) {
    return "[" + Sjis(std::string(key.section)) + "]\r\n" + std::string(key.name) + "=" +
           std::to_string(value) + "\r\n";
  };
  calendar::RestDays sunday_and_tuesday;
  sunday_and_tuesday.sunday_only = true;
  sunday_and_tuesday.weekdays[2] = true;
  calendar::RestDays read_on;
  read_on.two_day_weekend = true;
  read_on.fixed_rest_days = true;
  read_on.weekdays[3] = true;
  read_on.holidays_are_rest = true;
  struct Case {
    std::string body;
    calendar::RestDays held, read;
  };
  const Case kCases[] = {
      {"", {}, {}},
      {"", sunday_and_tuesday, sunday_and_tuesday},
      {line(Syu2Color, 1) + line(SiteiColor, 1) + line(RestDay[3], 1) + line(SyukukyuColor, 1),
       {},
       read_on},
      {line(Syu1Color, 0) + line(RestDay[2], 0), sunday_and_tuesday, {}},
      {line(Syu1Color, 7) + line(RestDay[2], -1), sunday_and_tuesday, {}},
  };
  for (const Case& c : kCases) {
    test_support::WriteBytes(ini, c.body);
    month::MainSettings settings;
    settings.rest_days = c.held;
    month::ReadMainSettings(settings::IniStore(ini), settings);
    EXPECT_TRUE(settings.rest_days == c.read) << c.body;
  }
}

TEST(MonthModel, CellPartKeepsWhatACellCanShow) {
  auto lines = [](int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "line\r\n";
    return text;
  };
  const std::string kanji = Sjis("予");  // two bytes
  std::string many_kanji;
  while (many_kanji.size() < 40000) many_kanji += kanji;
  struct Case {
    std::string text;
    size_t kept;
  } cases[] = {
      {"", 0},
      {lines(3), lines(3).size()},
      {lines(150), lines(100).size()},
      {std::string(40000, 'a'), month::kCellBytes},
      {many_kanji, month::kCellBytes},
      {"x" + many_kanji, month::kCellBytes - 1},  // the character across the limit goes whole
  };
  for (const Case& c : cases) EXPECT_EQ(month::CellPart(c.text).size(), c.kept) << c.text.size();
}

}  // namespace
