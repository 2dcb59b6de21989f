#include "clock/clock_format.h"
#include "clock/alarm_time.h"

#include <gtest/gtest.h>

namespace timeclock {
namespace {

LocalTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return LocalTime{y, mo, d, h, mi, s};
}

struct TimeCase {
  TStyle style;
  LocalTime at;
  const char* text;
};

TEST(ClockFormatTime, EveryStyleMorningNoonAndNight) {
  const TimeCase cases[] = {
      {TStyle::ts12Hours, At(1999, 5, 23, 14, 5, 9), "PM 02:05:09"},
      {TStyle::ts12Hours, At(1999, 5, 23, 0, 5, 9), "AM 12:05:09"},
      {TStyle::ts12Hours, At(1999, 5, 23, 12, 0, 0), "PM 12:00:00"},
      {TStyle::ts12Hours, At(1999, 5, 23, 11, 59, 59), "AM 11:59:59"},
      {TStyle::ts12HoursJ, At(1999, 5, 23, 14, 5, 9), "午後02時05分09秒"},
      {TStyle::ts12HoursJ, At(1999, 5, 23, 9, 30, 0), "午前09時30分00秒"},
      {TStyle::ts24Hours, At(1999, 5, 23, 14, 5, 9), "14:05:09"},
      {TStyle::ts24Hours, At(1999, 5, 23, 0, 0, 0), "00:00:00"},
      {TStyle::ts24HoursJ, At(1999, 5, 23, 14, 5, 9), "14時 05分 09秒"},
      {TStyle::ts24HoursJ, At(1999, 5, 23, 23, 59, 59), "23時 59分 59秒"},
  };
  for (const TimeCase& c : cases) {
    EXPECT_EQ(FormatTime(c.style, "", c.at), c.text) << static_cast<int>(c.style);
  }
  EXPECT_EQ(FormatTime(TStyle::tsCustom, "", At(1999, 5, 23, 14)), "");
  EXPECT_EQ(FormatTime(TStyle::tsCustom, "h:nn", At(1999, 5, 23, 7, 3)), "7:03");
}

struct DateCase {
  TDateStyle style;
  LocalTime at;
  const char* text;
};

TEST(ClockFormatDate, EveryStyleAndTheErasAtTheirBoundaries) {
  const DateCase cases[] = {
      {TDateStyle::dsShort, At(1999, 5, 23), "99/05/23"},
      {TDateStyle::dsShort, At(2007, 1, 2), "07/01/02"},
      {TDateStyle::dsJap, At(1999, 5, 23), "1999年5月23日"},
      {TDateStyle::dsJapW, At(1999, 5, 23), "1999年5月23日(日)"},
      {TDateStyle::dsGengo, At(1999, 5, 23), "平成11年5月23日"},
      {TDateStyle::dsGengoW, At(1999, 5, 23), "平成11年5月23日(日)"},
      // The last day of Heisei and the first of Reiwa, written 元年, and Reiwa's second year.
      {TDateStyle::dsGengo, At(2019, 4, 30), "平成31年4月30日"},
      {TDateStyle::dsGengoW, At(2019, 4, 30), "平成31年4月30日(火)"},
      {TDateStyle::dsGengo, At(2019, 5, 1), "令和元年5月1日"},
      {TDateStyle::dsGengoW, At(2019, 5, 1), "令和元年5月1日(水)"},
      {TDateStyle::dsGengo, At(2019, 12, 31), "令和元年12月31日"},
      {TDateStyle::dsGengo, At(2020, 1, 1), "令和2年1月1日"},
      {TDateStyle::dsGengoW, At(2020, 1, 1), "令和2年1月1日(水)"},
      {TDateStyle::dsGengo, At(1989, 1, 7), "昭和64年1月7日"},
      {TDateStyle::dsGengo, At(1989, 1, 8), "平成元年1月8日"},
      {TDateStyle::dsGengoW, At(2026, 12, 31), "令和8年12月31日(木)"},
      {TDateStyle::dsGengoW, At(2027, 1, 1), "令和9年1月1日(金)"},
  };
  for (const DateCase& c : cases) {
    EXPECT_EQ(FormatDate(c.style, c.at), c.text)
        << static_cast<int>(c.style) << " " << c.at.year << "-" << c.at.month << "-" << c.at.day;
  }
}

TEST(ClockFormatLetters, QuotesMinutesAfterHoursAndUnknownLetters) {
  const LocalTime t = At(2028, 2, 29, 9, 7, 5);
  const struct {
    const char* format;
    const char* text;
  } cases[] = {
      {"yyyy/mm/dd", "2028/02/29"},
      {"hh:mm", "09:07"},  // m after h is the minute
      {"m/d h:n:s", "2/29 9:7:5"},
      {"\"yyyy\"yyyy", "yyyy2028"},
      {"'d'd", "d29"},
      {"d\"日(", "29日("},  // an unclosed quote copies the rest
      {"aaaa ddd dddd", "火曜日 火 火曜日"},
      {"am/pm a/p AM/PM", "am a AM"},
      {"gg ee年", "令和 10年"},
      {"xq# ", "xq# "},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, t), c.text) << c.format;
  EXPECT_EQ(EraYear(At(2019, 5, 1), true), "元");
  EXPECT_EQ(EraYear(At(2020, 5, 1), true), "02");
}

}  // namespace
}  // namespace timeclock

TEST(AlarmInput, TypedTimesStayWithin0000And2359) {
  using timeclock::AlarmInput;
  struct Case {
    const char* typed;
    int cursor;
    AlarmInput judged;
    const char* becomes;
    int cursor_after;
  };
  const Case cases[] = {
      {"", 0, AlarmInput::kComplete, "", 0},
      {"2", 1, AlarmInput::kPartial, "2", 1},
      {"23", 2, AlarmInput::kPartial, "23", 2},
      {"235", 3, AlarmInput::kPartial, "23:5", 4},
      {"23:59", 5, AlarmInput::kComplete, "23:59", 5},
      {"7:30", 4, AlarmInput::kComplete, "7:30", 4},
      {"0:00", 4, AlarmInput::kComplete, "0:00", 4},
      {":30", 0, AlarmInput::kPartial, ":30", 0},
      {"7:", 2, AlarmInput::kPartial, "7:", 2},
      {"25", 2, AlarmInput::kInvalid, "25", 2},
      {"25:", 3, AlarmInput::kInvalid, "25:", 3},
      {"24:00", 5, AlarmInput::kInvalid, "24:00", 5},
      {"12:6", 4, AlarmInput::kInvalid, "12:6", 4},
      {"12:345", 6, AlarmInput::kInvalid, "12:345", 6},
      {"123:4", 3, AlarmInput::kInvalid, "123:4", 3},
      {"759", 3, AlarmInput::kInvalid, "75:9", 4},
      {"1:2:3", 5, AlarmInput::kInvalid, "1:2:3", 5},
      {"1a", 2, AlarmInput::kInvalid, "1a", 2},
      {"12:05", 1, AlarmInput::kComplete, "12:05", 1},
  };
  for (const Case& c : cases) {
    std::string text = c.typed;
    int cursor = c.cursor;
    EXPECT_EQ(timeclock::JudgeAlarmInput(text, cursor), c.judged) << c.typed;
    EXPECT_EQ(text, c.becomes) << c.typed;
    EXPECT_EQ(cursor, c.cursor_after) << c.typed;
  }
}
