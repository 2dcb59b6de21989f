// The arrow keys of both grids, row by row as the key tables give them, on a model of the main
// window: a month cursor, two grid rows with the focus, and the calendar control's model.
#include "month/grid_keys.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "calendar/calendar_ex_model.h"

namespace month {
namespace {

// Each call that changes something is also written to `log`, for the trace test below.
std::string Note(const char* format, int a = 0, int b = 0) {
  char text[32];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

class FakeCalendar : public CalendarPort {
 public:
  calendar::CalendarExModel model{2026, 3, 1};
  std::string log;
  int Year() const override { return model.Year(); }
  int Month() const override { return model.Month(); }
  int Day() const override { return model.Day(); }
  void SetDay(int day) override {
    log += Note(" cal%d", day);
    model.SetDay(day);
  }
  void GoToDate(int y, int m, int d) override { model.GoToDate(y, m, d); }
  void GoNextMonth() override {
    log += " cal>";
    model.GoNextMonth();
  }
  void GoPrevMonth() override {
    log += " cal<";
    model.GoPrevMonth();
  }
  void GoNextYear() override { model.GoNextYear(); }
  void GoPrevYear() override { model.GoPrevYear(); }
  void GoToday() override { model.GoToday(); }
  void ShowDate(int, int, int) override {}
  void SetMinimised(bool) override {}
};

// The main window as far as the keys see it. The grid without the focus keeps its cursor on
// the first row, and the grid that got the key moves its own cursor by one row afterwards.
class FakeWindow : public GridKeyTarget {
 public:
  MonthCursor cursor;
  int rows[3] = {0, 0, 0};
  int focused = 1;
  FakeCalendar calendar;

  const MonthCursor& Cursor() const override { return cursor; }
  int Row(int grid) const override { return rows[grid]; }
  void SelectRow(int grid, int row) override {
    calendar.log += Note(" sel%d:%d", grid, row);
    focused = grid;
    rows[grid] = row;
    rows[3 - grid] = 0;
  }
  void SetRow(int grid, int row) override {
    calendar.log += Note(" row%d:%d", grid, row);
    rows[grid] = row;
  }
  void StepMonth(int n) override {
    calendar.log += Note(" month%+d", n);
    cursor.StepMonth(n);
  }
  void PrevHalfMonth() override {
    calendar.log += " half<";
    cursor.PrevHalfMonth();
  }
  void NextHalfMonth() override {
    calendar.log += " half>";
    cursor.NextHalfMonth();
  }
  CalendarPort& Calendar() override { return calendar; }

  void Press(int grid, GridKey key) {
    ApplyGridKey(*this, grid, key);
    if (key == GridKey::kUp) rows[grid] = std::max(0, rows[grid] - 1);
    if (key == GridKey::kDown) rows[grid] = std::min(15, rows[grid] + 1);
  }
};

struct Case {
  const char* what;
  // Start: the shown month, mode (0 full, 1 first half, 2 second half), the grid and row of the
  // cursor, and the calendar's date.
  int year, month, mode, grid, row, cal_year, cal_month, cal_day;
  GridKey key;
  // Result: the shown month, mode, the focused grid and its row, and the calendar's date.
  int want_year, want_month, want_mode, want_grid, want_row, want_cal_month, want_cal_day;
};

constexpr GridKey U = GridKey::kUp, D = GridKey::kDown, L = GridKey::kLeft, R = GridKey::kRight;

// Months: March 2026 has 31 days, April 30, February 28.
const Case kCases[] = {
    // Left grid, full month.
    {"left Right: same row in the right grid", 2026, 3, 0, 1, 5, 2026, 3, 6, R, 2026, 3, 0, 2, 5, 3,
     22},
    {"left Right from day 16 of a 30-day month: day 30", 2026, 4, 0, 1, 15, 2026, 4, 16, R, 2026, 4,
     0, 2, 13, 4, 30},
    {"left Left from day 5: the half before, day 5 in the right grid", 2026, 3, 0, 1, 4, 2026, 3, 5,
     L, 2026, 3, 1, 2, 4, 3, 5},
    {"left Up inside the grid: the calendar follows", 2026, 3, 0, 1, 5, 2026, 3, 6, U, 2026, 3, 0,
     1, 4, 3, 5},
    {"left Up at day 1: last day of the month before", 2026, 3, 0, 1, 0, 2026, 3, 1, U, 2026, 2, 0,
     2, 11, 2, 28},
    {"left Down at day 16: day 17", 2026, 3, 0, 1, 15, 2026, 3, 16, D, 2026, 3, 0, 2, 0, 3, 17},
    {"left Up with the calendar elsewhere leaves its day", 2026, 3, 0, 1, 5, 2025, 7, 9, U, 2026, 3,
     0, 1, 4, 7, 9},
    // Left grid, half month (second half: left = this month's 17..).
    {"half left Right: next month's first day in the calendar", 2026, 3, 2, 1, 3, 2026, 3, 20, R,
     2026, 3, 2, 2, 3, 4, 4},
    {"half left Down on the left month's last day: right grid row 0", 2026, 3, 2, 1, 14, 2026, 3,
     31, D, 2026, 3, 2, 2, 0, 4, 1},
    {"half left Up at row 0: a month back, right grid row 15", 2026, 3, 2, 1, 0, 2026, 3, 17, U,
     2026, 2, 2, 2, 15, 3, 16},
    {"half left Left: full display of the left grid's month", 2026, 3, 1, 1, 5, 2026, 2, 22, L,
     2026, 2, 0, 2, 5, 2, 22},
    // Right grid, full month.
    {"right Left: same row in the left grid", 2026, 3, 0, 2, 5, 2026, 3, 22, L, 2026, 3, 0, 1, 5, 3,
     6},
    {"right Right: the half after, focus in the left grid", 2026, 3, 0, 2, 5, 2026, 3, 22, R, 2026,
     3, 2, 1, 5, 3, 22},
    {"right Up at day 17: day 16", 2026, 3, 0, 2, 0, 2026, 3, 17, U, 2026, 3, 0, 1, 15, 3, 16},
    {"right Down on the last day: the next month's first", 2026, 4, 0, 2, 13, 2026, 4, 30, D, 2026,
     5, 0, 1, 0, 5, 1},
    {"right Down inside the grid", 2026, 3, 0, 2, 3, 2026, 3, 20, D, 2026, 3, 0, 2, 4, 3, 21},
    // Right grid, half month (first half: right = this month's 1..16).
    {"half right Left: a month back, cursor day in the calendar", 2026, 3, 1, 2, 13, 2026, 3, 14, L,
     2026, 3, 1, 1, 11, 2, 28},
    {"half right Up at row 0: the left month's last day", 2026, 3, 1, 2, 0, 2026, 3, 1, U, 2026, 3,
     1, 1, 11, 2, 28},
    {"half right Down at row 15: a month on, left grid row 0", 2026, 3, 1, 2, 15, 2026, 3, 16, D,
     2026, 4, 1, 1, 0, 3, 17},
};

TEST(GridKeys, EveryRowOfTheKeyTables) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    FakeWindow w;
    w.cursor = MonthCursor(c.year, c.month, 10);
    w.cursor.SetHalfMonth(c.mode != 0);
    w.cursor.SetHalves(c.mode == 1, c.mode == 2);
    w.SelectRow(c.grid, c.row);
    w.calendar.model.GoToDate(c.cal_year, c.cal_month, c.cal_day);
    w.Press(c.grid, c.key);
    EXPECT_EQ(w.cursor.Year(), c.want_year);
    EXPECT_EQ(w.cursor.Month(), c.want_month);
    const int mode = !w.cursor.HalfMonth() ? 0 : w.cursor.FirstHalfShown() ? 1 : 2;
    EXPECT_EQ(mode, c.want_mode);
    EXPECT_EQ(w.focused, c.want_grid);
    EXPECT_EQ(w.rows[w.focused], c.want_row);
    EXPECT_EQ(w.calendar.Month(), c.want_cal_month);
    EXPECT_EQ(w.calendar.Day(), c.want_cal_day);
  }
}

// Every arrow key in both grids and all three display modes, pressed on the rows at the ends of
// each half and of months of 28 to 31 days, with the calendar on the grid's month or elsewhere:
// the calls the key makes on the window, in order, against testdata/grid_keys_trace.txt. One
// line per month, mode, grid, key and calendar, then the trace of each row. On a mismatch the
// lines as they came out are written next to the test's temporary files for a diff.
TEST(GridKeys, TraceOfEveryKeyOnTheEdgeRows) {
  // Between them, in all modes, left and right months of every length and both year ends.
  const int months[][2] = {{2026, 1}, {2024, 2}, {2026, 2}, {2024, 3},
                           {2026, 3}, {2026, 4}, {2026, 5}, {2026, 12}};
  const char* const mode_names[] = {"full", "half1", "half2"};
  const char* const key_names[] = {"Up", "Down", "Left", "Right"};
  std::vector<std::string> lines;
  for (const auto& [year, month] : months) {
    for (int mode : {0, 1, 2}) {
      for (int grid : {1, 2}) {
        for (GridKey key : {U, D, L, R}) {
          for (bool own : {true, false}) {
            std::string line = Note("%d-%02d ", year, month) + mode_names[mode] +
                               (grid == 1 ? " L " : " R ") + key_names[static_cast<int>(key)] +
                               (own ? " own" : " away");
            for (int row : {0, 1, 11, 12, 13, 14, 15}) {
              FakeWindow w;
              w.cursor = MonthCursor(year, month, 10);
              w.cursor.SetHalfMonth(mode != 0);
              w.cursor.SetHalves(mode == 1, mode == 2);
              w.SelectRow(grid, row);
              const GridMonth shown = w.cursor.MonthOf(grid);
              if (own) w.calendar.model.GoToDate(shown.year, shown.month, 10);
              if (!own) w.calendar.model.GoToDate(2025, 7, 9);
              w.calendar.log.clear();
              ApplyGridKey(w, grid, key);
              line += Note(" | %d:", row) + w.calendar.log;
            }
            lines.push_back(line);
          }
        }
      }
    }
  }

  std::ifstream file(MIRUNE_MONTH_TESTDATA "/grid_keys_trace.txt");
  std::vector<std::string> want;
  for (std::string line; std::getline(file, line);) want.push_back(line);
  EXPECT_FALSE(want.empty()) << "testdata/grid_keys_trace.txt is missing";
  EXPECT_EQ(lines.size(), want.size());
  int mismatches = 0;
  for (size_t i = 0; i < std::min(lines.size(), want.size()) && mismatches < 10; ++i) {
    EXPECT_EQ(lines[i], want[i]);
    mismatches += lines[i] != want[i];
  }
  if (lines != want) {
    const std::string path = testing::TempDir() + "grid_keys_trace.txt";
    std::ofstream out(path);
    for (const std::string& line : lines) out << line << '\n';
    ADD_FAILURE() << "the lines as they came out: " << path;
  }
}

TEST(GridKeys, EveryGridModeAndArrowHasOneRule) {
  for (int grid : {1, 2}) {
    for (bool half : {false, true}) {
      for (GridKey key : {U, D, L, R}) {
        int found = 0;
        for (const grid_keys::Rule& rule : grid_keys::Rules())
          found += rule.grid == grid && rule.half_month == half && rule.key == key;
        EXPECT_EQ(found, 1) << grid << half << static_cast<int>(key);
      }
    }
  }
}

TEST(MonthCursor, StepsKeepTheDayInsideTheMonth) {
  struct {
    int y, m, d;
    void (MonthCursor::*step)();
    int want_y, want_m, want_d;
  } const cases[] = {
      {2026, 1, 31, &MonthCursor::NextHalfMonth, 2026, 1, 31},
      {2000, 2, 29, &MonthCursor::NextYear, 2001, 2, 28},
      {2000, 2, 29, &MonthCursor::PrevYear, 1999, 2, 28},
      {2024, 2, 29, &MonthCursor::NextYear, 2025, 2, 28},
  };
  for (const auto& c : cases) {
    MonthCursor cursor(c.y, c.m, c.d);
    (cursor.*c.step)();
    EXPECT_EQ(cursor.DatePart(1), c.want_y);
    EXPECT_EQ(cursor.DatePart(2), c.want_m);
    EXPECT_EQ(cursor.DatePart(3), c.want_d);
  }
  MonthCursor jan(2026, 1, 31);
  jan.StepMonth(+1);
  EXPECT_EQ(jan.Day(), 28);
  MonthCursor march(2024, 3, 31);
  march.StepMonth(-1);
  EXPECT_EQ(march.Day(), 29);
  MonthCursor december(2026, 12, 31);
  december.StepMonth(+1);
  EXPECT_EQ(december.Year() * 100 + december.Month(), 202701);
}

TEST(MonthCursor, RowsAndDaysAgreeInBothModes) {
  MonthCursor cursor(2026, 4, 1);  // 30 days
  EXPECT_EQ(cursor.RowDay(1, 0), 1);
  EXPECT_EQ(cursor.RowDay(2, 13), 30);
  EXPECT_EQ(cursor.RowDay(2, 14), -1);
  EXPECT_EQ(MonthCursor::FullMonthRowOf(16), (GridRow{1, 15}));
  EXPECT_EQ(MonthCursor::FullMonthRowOf(17), (GridRow{2, 0}));
  EXPECT_EQ(MonthCursor::FullMonthRowOf(32), GridRow{});
  cursor.SetHalfMonth(true);
  cursor.SetHalves(true, false);  // 17-31 March | 1-16 April
  EXPECT_EQ(cursor.RowDay(1, 14), 31);
  EXPECT_EQ(cursor.RowDay(2, 0), 1);
  EXPECT_EQ(cursor.RowOfDay(5), (GridRow{2, 4}));
  EXPECT_EQ(cursor.RowOfDay(20), (GridRow{1, 3}));
  cursor.PrevHalfMonth();  // back to the full display of March
  EXPECT_FALSE(cursor.HalfMonth());
  EXPECT_EQ(cursor.Month(), 3);
}

TEST(MonthCursor, ShowDayPutsTheDayWhereItsRowIs) {
  struct Case {
    bool half;
    int year, month, day;
    GridRow at;
    int shown_year, shown_month, shown_day;  // the shown date afterwards
  } cases[] = {
      {false, 1999, 1, 5, {1, 4}, 1999, 1, 5},
      {false, 1999, 1, 31, {2, 14}, 1999, 1, 31},
      {false, 1999, 2, 30, {2, 13}, 1999, 2, 28},  // a file named after a day February lacks
      {true, 1999, 1, 5, {2, 4}, 1999, 1, 5},
      {true, 1999, 1, 31, {1, 14}, 1999, 2, 28},  // reached through February, kept within it
      {true, 1999, 12, 20, {1, 3}, 2000, 1, 20},  // through January of the next year
      {false, 1999, 13, 5, {}, 2026, 6, 10},      // no such day: nothing changes
      {true, 1999, 1, 0, {}, 2026, 6, 10},
  };
  for (const Case& c : cases) {
    MonthCursor cursor(2026, 6, 10);
    cursor.SetHalfMonth(c.half);
    cursor.SetHalves(false, c.half);
    EXPECT_EQ(cursor.ShowDay(c.year, c.month, c.day), c.at) << c.month << "/" << c.day;
    EXPECT_EQ(cursor.Year() * 10000 + cursor.Month() * 100 + cursor.Day(),
              c.shown_year * 10000 + c.shown_month * 100 + c.shown_day)
        << c.month << "/" << c.day;
    // Shown, the day's row stands for it in the grid that shows its month.
    if (c.at.grid != 0 && c.day <= 28) {
      const GridMonth shown = cursor.MonthOf(c.at.grid);
      EXPECT_EQ(shown.year * 100 + shown.month, c.year * 100 + c.month);
      EXPECT_EQ(cursor.DayOfRow(c.at.grid, c.at.row), c.day);
    }
  }
}

}  // namespace
}  // namespace month
