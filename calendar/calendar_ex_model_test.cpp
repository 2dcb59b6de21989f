#include "calendar/calendar_ex_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/calendar_math.h"
#include "calendar/comma_text.h"
#include "platform/cp932.h"

namespace calendar {
namespace {

std::vector<std::string> Cp932List(std::initializer_list<const char*> utf8) {
  std::vector<std::string> list;
  for (const char* text : utf8) list.push_back(cp932::FromUtf8(text));
  return list;
}

std::string Utf8(const std::string& cp932_text) {
  return cp932::ToUtf8(cp932_text);
}

TEST(CalendarMathDayAt, MonthStartingOnSunday) {
  CalendarExModel c(2015, 2, 1);  // 28 days, the 1st a Sunday
  EXPECT_EQ(c.FirstWeekday(), 1);
  EXPECT_EQ(c.DayAt(3, 0), 0);
  EXPECT_EQ(c.DayAt(0, 1), 1);
  EXPECT_EQ(c.DayAt(6, 4), 28);
  EXPECT_EQ(c.DayAt(0, 5), 201);
  EXPECT_EQ(c.DayAt(6, 6), 214);
  EXPECT_EQ(c.SelectedColumn(), 0);
  EXPECT_EQ(c.SelectedRow(), 1);
}

TEST(CalendarMathDayAt, NeighbourDaysAcrossTheYear) {
  CalendarExModel january(2016, 1, 1);  // the 1st a Friday
  EXPECT_EQ(january.DayAt(0, 1), 127);  // 27 December
  EXPECT_EQ(january.DayAt(4, 1), 131);
  EXPECT_EQ(january.DayAt(5, 1), 1);
  EXPECT_EQ(january.SelectedColumn(), 5);
  CalendarExModel march(2016, 3, 31);  // previous month: a leap February
  EXPECT_EQ(march.DayAt(0, 1), 128);
  EXPECT_EQ(march.DayAt(1, 1), 129);
  EXPECT_EQ(march.DayAt(2, 1), 1);
  EXPECT_EQ(march.SelectedColumn(), 4);
  EXPECT_EQ(march.SelectedRow(), 5);
  EXPECT_EQ(march.DayAt(5, 5), 201);
}

TEST(CalendarMathDayAt, NeighbourCellsAreGreyAndBlankWithoutShowNeighbor) {
  CalendarExModel c(2015, 8, 10);  // the 1st a Saturday
  EXPECT_EQ(c.DayAt(0, 1), 126);
  EXPECT_EQ(c.CellText(0, 1), "26");
  EXPECT_EQ(c.CellColour(0, 1), c.Colour(CalendarExModel::kNeighborDayColour));
  EXPECT_FALSE(c.IsSelectable(0, 1));
  c.SetShowNeighbor(false);
  EXPECT_EQ(c.CellText(0, 1), "");
  EXPECT_EQ(c.CellText(6, 1), "1");
  int changes = 0;
  c.OnChange = [&] { ++changes; };
  c.Click(0, 1);  // a neighbour cell: the date stays
  EXPECT_EQ(c.Day(), 10);
  EXPECT_EQ(changes, 1);
  c.Click(6, 1);
  EXPECT_EQ(c.Day(), 1);
  EXPECT_EQ(c.SelectedColumn(), 6);
}

TEST(CalendarMathDayFlags, FourthOfMayAfterListedThirdOfMay) {
  CalendarExModel c(2009, 5, 4);  // a Monday
  c.SetTypeOfDayList(Cp932List({"5,3,憲法記念日", "5,4,国民の休日", "5,5,こどもの日"}));
  unsigned flags = c.DayFlags(2009, 5, 4);
  EXPECT_TRUE(flags & CalendarExModel::kSubstituteFlag);
  EXPECT_FALSE(flags & CalendarExModel::kHolidayFlag);
  EXPECT_EQ(Utf8(c.TypeOfDayText()), "振替休日");
  EXPECT_EQ(c.CellColour(c.SelectedColumn(), c.SelectedRow()),
            c.Colour(CalendarExModel::kHolidayColour));
  // The same 4 May on a Tuesday is the listed holiday.
  c.GoToDate(2010, 5, 4);
  EXPECT_EQ(Utf8(c.TypeOfDayText()), "国民の休日");
  // Without the control's own rule the listed name stands, and an unlisted Monday is plain.
  c.SetAutoSubstitute(false);
  EXPECT_EQ(c.DayFlags(2009, 5, 4), CalendarExModel::kHolidayFlag);
  EXPECT_EQ(c.DayFlags(2020, 5, 4), CalendarExModel::kHolidayFlag);
  c.SetTypeOfDayList(Cp932List({"12,31,大晦日"}));
  EXPECT_EQ(c.DayFlags(2001, 1, 1), 0u);
}

TEST(CalendarMathDayFlags, SubstituteAcrossMonthAndYear) {
  CalendarExModel c(2001, 1, 1);  // a Monday
  c.SetTypeOfDayList(Cp932List({"12,31,大晦日"}));
  EXPECT_EQ(c.DayFlags(2001, 1, 1), CalendarExModel::kSubstituteFlag);
  EXPECT_EQ(Utf8(c.TypeOfDayText()), "振替休日");
  // A listed Saturday does not make the Sunday a day off.
  EXPECT_EQ(c.DayFlags(2000, 12, 31), CalendarExModel::kSundayFlag | CalendarExModel::kHolidayFlag);
  c.SetTypeOfDayList(Cp932List({"4,30,X"}));
  EXPECT_EQ(c.DayFlags(2007, 5, 1), 0u);                                // 1 May 2007, a Tuesday
  EXPECT_EQ(c.DayFlags(2006, 5, 1), CalendarExModel::kSubstituteFlag);  // Monday after 30 April
}

TEST(CalendarMathDayFlags, EquinoxByFormula) {
  CalendarExModel c(2000, 3, 20);
  EXPECT_EQ(Utf8(c.TypeOfDayText()), "春分の日");
  EXPECT_EQ(c.CellColour(c.SelectedColumn(), c.SelectedRow()),
            c.Colour(CalendarExModel::kHolidayColour));
  c.GoToDate(2012, 9, 22);  // a Saturday
  EXPECT_EQ(Utf8(c.TypeOfDayText()), "秋分の日");
  c.SetAutoEquinox(false);
  EXPECT_EQ(c.TypeOfDayText(), "");
  EXPECT_EQ(c.CellColour(c.SelectedColumn(), c.SelectedRow()),
            c.Colour(CalendarExModel::kSaturdayColour));
}

TEST(CalendarMathTypeOfDayText, OrderAndQuoting) {
  CalendarExModel c(2000, 1, 10);
  c.SetAutoEquinox(false);
  c.SetTypeOfDayList(Cp932List({"1,10,成人の日", "1 10 \"Second Name\""}));
  c.SetSpecialDayList(Cp932List({"1,10,\"Party, late\"", "1,10,say \"\"hi\"\"", "2,10,x"}));
  // Special days first, then holidays; names with blanks, commas or quotes are quoted.
  EXPECT_EQ(Utf8(c.TypeOfDayText()), "\"Party, late\",say,成人の日,\"Second Name\"");
  c.SetSpecialDayList(Cp932List({"1,10,\"a \"\"quoted\"\" name\""}));
  EXPECT_EQ(Utf8(c.TypeOfDayText()), "\"a \"\"quoted\"\" name\",成人の日,\"Second Name\"");
  EXPECT_EQ(c.CellColour(c.SelectedColumn(), c.SelectedRow()),
            c.Colour(CalendarExModel::kSpecialDayColour));
  c.GoNextDay();
  EXPECT_EQ(c.TypeOfDayText(), "");
}

TEST(CalendarMathTypeOfDayText, CommaTextRules) {
  EXPECT_EQ(SplitCommaText("1,15,成人の日"), (std::vector<std::string>{"1", "15", "成人の日"}));
  EXPECT_EQ(SplitCommaText("  1 , 2,,\"a\"\"b\" c,"),
            (std::vector<std::string>{"1", "2", "", "a\"b", "c", ""}));
  EXPECT_EQ(SplitCommaText(""), std::vector<std::string>{});
  EXPECT_EQ(JoinCommaText({""}), "\"\"");
  EXPECT_EQ(JoinCommaText({"a", "b c", "d,e", "f\"g"}), "a,\"b c\",\"d,e\",\"f\"\"g\"");
}

TEST(CalendarMathTypeOfDayText, MalformedListTexts) {
  CalendarExModel c(2000, 1, 10);
  c.SetTypeOfDayList(Cp932List({"x,10,bad"}));
  EXPECT_THROW(c.DayFlags(2000, 1, 10), EConvertError);
  c.SetTypeOfDayList(Cp932List({"1"}));
  EXPECT_THROW(c.DayFlags(2000, 1, 10), EListIndexError);
  c.SetTypeOfDayList(Cp932List({"1,10"}));  // enough for the flags, not for the name
  EXPECT_TRUE(c.DayFlags(2000, 1, 10) & CalendarExModel::kHolidayFlag);
  EXPECT_THROW(c.TypeOfDayText(), EListIndexError);
}

TEST(CalendarMathMoves, MonthAndYearSteps) {
  CalendarExModel c(2000, 1, 31);
  int changes = 0;
  c.OnChange = [&] { ++changes; };
  c.GoNextMonth();
  EXPECT_EQ(c.Month(), 2);
  EXPECT_EQ(c.Day(), 29);
  EXPECT_EQ(changes, 1);
  c.GoToDate(2001, 1, 31);
  c.GoNextMonth();
  EXPECT_EQ(c.Day(), 28);
  c.GoToDate(2001, 12, 15);
  changes = 0;
  c.GoNextMonth();  // the year and then the month change
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(c.Year(), 2002);
  EXPECT_EQ(c.Month(), 1);
  c.GoPrevMonth();
  EXPECT_EQ(c.Year(), 2001);
  EXPECT_EQ(c.Month(), 12);
  c.GoToDate(2000, 2, 29);
  c.GoNextYear();
  EXPECT_EQ(c.Day(), 28);
  EXPECT_EQ(c.FirstWeekday(), CalendarWeekday(2001, 2, 1));
}

TEST(CalendarMathMoves, DaySteps) {
  CalendarExModel c(2000, 12, 31);
  c.GoNextDay();
  EXPECT_EQ(c.Year(), 2001);
  EXPECT_EQ(c.Month(), 1);
  EXPECT_EQ(c.Day(), 1);
  c.GoPrevDay();
  EXPECT_EQ(c.Year(), 2000);
  EXPECT_EQ(c.Month(), 12);
  EXPECT_EQ(c.Day(), 31);
  c.GoToDate(2000, 3, 1);
  c.GoPrevDay();
  EXPECT_EQ(c.Month(), 2);
  EXPECT_EQ(c.Day(), 29);
  EXPECT_EQ(c.SelectedColumn(), 2);  // a Tuesday
}

TEST(CalendarMathMoves, OutOfRangeDayIsIgnored) {
  CalendarExModel c(2000, 4, 12);
  int changes = 0;
  c.OnChange = [&] { ++changes; };
  c.SetDay(0);
  c.SetDay(31);
  c.SetDay(32);
  EXPECT_EQ(c.Day(), 12);
  EXPECT_EQ(changes, 0);
  c.SetDay(30);
  EXPECT_EQ(c.Day(), 30);
  EXPECT_EQ(changes, 1);
  c.SetMonth(13);
  c.SetMonth(0);
  EXPECT_EQ(c.Month(), 4);
  EXPECT_EQ(changes, 1);
}

TEST(CalendarMathMoves, GregorianGapMonth) {
  CalendarExModel c(1582, 9, 30);
  // September's trailing cells neighbour the skipped days of October; they are merely grey.
  for (int row = 1; row < 7; ++row) {
    for (int col = 0; col < 7; ++col) EXPECT_NO_THROW(c.CellColour(col, row));
  }
  c.GoNextDay();
  EXPECT_EQ(c.Month(), 10);
  EXPECT_EQ(c.DayOfWeek(), 2);  // 1 October 1582, a Monday
  c.SetDay(10);
  EXPECT_THROW(c.DayOfWeek(), EJuliusError);
  EXPECT_THROW(c.TypeOfDayText(), EJuliusError);
}

TEST(CalendarMathLayout, CellsFillTheClientArea) {
  CalendarExModel::CellLayout l = CalendarExModel::Layout(500, 300, 1);
  EXPECT_EQ(l.column_width, 70);
  EXPECT_EQ(l.shrink_width, 3);
  EXPECT_EQ(l.row_height, 41);
  EXPECT_EQ(l.shrink_height, 6);
}

}  // namespace
}  // namespace calendar
