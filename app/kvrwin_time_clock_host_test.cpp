// The main window as the clock window's host: at midnight across month and year ends, in both
// display modes, today's cell, the shown month, the cursor and the calendar come to the new
// day, and 今月 goes there too, also when no clock window saw midnight.
#include <gtest/gtest.h>

#include "app/kvrwin_test_fixture.h"
#include "clock/clock_label.h"
#include "clock/time_clock.h"
#include "platform/string_grid.h"
#include "test_support/fake_calendar_port.h"
#include "test_support/fake_time_source.h"

namespace {

using test_support::FakeTimeSource;

// The calendar window's "today" is the fake clock's.
class FakeClockCalendar : public test_support::FakeCalendarPort {
 public:
  explicit FakeClockCalendar(const FakeTimeSource& clock) : clock_(clock) {}
  void GoToday() override {
    const timeclock::LocalTime now = clock_.Now();
    Model().GoToDate(now.year, now.month, now.day);
  }

 private:
  const FakeTimeSource& clock_;
};

// Reads what the grids paint.
class ProbedKvrwin : public TestKvrwin {
 public:
  using TestKvrwin::TestKvrwin;
  // Each cell marked as today, as grid * 100 + row.
  std::vector<int> TodayCells() const {
    std::vector<int> cells;
    for (int g = 0; g < 2; ++g) {
      for (int row = 0; row < 16; ++row) {
        if (painter_.Date(g, row).today) cells.push_back((g + 1) * 100 + row);
      }
    }
    return cells;
  }
  int CursorCell() const {
    if (StringGrid1->Focused()) return 100 + StringGrid1->Row();
    if (StringGrid2->Focused()) return 200 + StringGrid2->Row();
    return -1;
  }
};

class KvrwinClockHostTest : public KvrwinTest {
 protected:
  std::unique_ptr<ProbedKvrwin> OpenProbed() {
    auto window = std::make_unique<ProbedKvrwin>(NewContext());
    messages_.removeAll(
        QStringLiteral("注意|設定ダイアログでスクロール文字用ファイルを選択して下さい."));
    contexts_.back()->SetTime(clock_);
    window->SetCalendar(&calendar_);
    window->show();
    return window;
  }
  FakeTimeSource clock_;
  FakeClockCalendar calendar_{clock_};
};

struct MidnightCase {
  timeclock::LocalTime before;  // one second before midnight
  QDate after;
  int half_month;
  int cell;  // today's cell and the cursor, grid * 100 + row
};

const MidnightCase kCases[] = {
    {{2027, 1, 31, 23, 59, 59}, QDate(2027, 2, 1), 0, 100},
    {{2027, 2, 28, 23, 59, 59}, QDate(2027, 3, 1), 0, 100},
    {{2028, 2, 28, 23, 59, 59}, QDate(2028, 2, 29), 0, 212},
    {{2028, 2, 29, 23, 59, 59}, QDate(2028, 3, 1), 0, 100},
    {{2026, 12, 31, 23, 59, 59}, QDate(2027, 1, 1), 0, 100},
    {{2026, 12, 16, 23, 59, 59}, QDate(2026, 12, 17), 0, 200},
    // Half-month display: the half holding today is shown, today on the right grid's top row.
    {{2026, 12, 31, 23, 59, 59}, QDate(2027, 1, 1), 1, 200},
    {{2027, 1, 16, 23, 59, 59}, QDate(2027, 1, 17), 1, 100},
};

void ExpectOn(ProbedKvrwin& window, const FakeClockCalendar& calendar, const MidnightCase& c,
              const char* when) {
  const QDate d = c.after;
  SCOPED_TRACE(QString("%1 %2").arg(when, d.toString(Qt::ISODate)).toStdString());
  EXPECT_EQ(window.Today(), d);
  EXPECT_EQ(window.CursorDay(), d.day());
  EXPECT_EQ(window.ShownDate(), d);
  EXPECT_EQ(window.ShownYear(), QString::number(d.year()));
  EXPECT_EQ(window.ShownMonth(), QString::number(d.month()));
  EXPECT_EQ(window.TodayCells(), std::vector<int>{c.cell});
  EXPECT_EQ(window.CursorCell(), c.cell);
  EXPECT_EQ(QDate(calendar.Year(), calendar.Month(), calendar.Day()), d);
}

TEST_F(KvrwinClockHostTest, MidnightBringsTheMainWindowAndTheCalendarToTheNewDay) {
  for (const MidnightCase& c : kCases) {
    clock_.Set(c.before);
    auto window = OpenProbed();
    window->SettingsFile().WriteString(settings::keys::Alarm0, "00:00");
    window->LeaveHalfMonth();
    if (c.half_month != 0) window->PrevHalfMonth();
    window->Hosts().clock.ClockSetToday(c.before.year, c.before.month, c.before.day);
    window->BuildMonth();
    timeclock::TTimeClock clock(window->Hosts().clock, window->SettingsFile(), window->DataDir(),
                                QString(), clock_);
    messages_.clear();
    for (int s = 0; s < 3; ++s) {
      clock_.Advance(1);
      clock.ClockLabel1->Refresh();
    }
    // The status line restarts at 00:00 too and asks for a maxims file.
    messages_.removeAll(
        QStringLiteral("注意|設定ダイアログでスクロール文字用ファイルを選択して下さい."));
    EXPECT_EQ(messages_, QStringList({"Time|日付が変更されました"}));
    ExpectOn(*window, calendar_, c, "midnight");
    // 今月 in full-month display.
    window->ThisMonth();
    if (c.half_month == 0) ExpectOn(*window, calendar_, c, "this month");
    EXPECT_EQ(window->ShownDate(), c.after);
  }
}

TEST_F(KvrwinClockHostTest, ThisMonthTakesTheNewDayWhenNoClockSawMidnight) {
  clock_.Set({2026, 12, 31, 23, 59, 50});
  auto window = OpenProbed();
  window->Hosts().clock.ClockSetToday(2026, 12, 31);
  window->BuildMonth();
  clock_.Advance(20);
  window->ThisMonth();
  EXPECT_EQ(window->Today(), QDate(2027, 1, 1));
  EXPECT_EQ(window->CursorDay(), 1);
  EXPECT_EQ(window->ShownDate(), QDate(2027, 1, 1));
  EXPECT_EQ(window->TodayCells(), std::vector<int>{100});
  EXPECT_EQ(window->CursorCell(), 100);
}

TEST_F(KvrwinClockHostTest, SettingsAndTheSoundPathGoThroughTheMainWindow) {
  auto window = OpenProbed();
  {
    timeclock::TTimeClock clock(window->Hosts().clock, window->SettingsFile(), window->DataDir(),
                                QString(), clock_);
    clock.move(40, 50);
  }
  settings::TIniGT ini;
  ini.SetFileName(QString::fromStdString(Ini().string()));
  EXPECT_EQ(ini.Store().ReadInteger(settings::SectionBytes(settings::keys::ClockPlacement),
                                    "clockpos.X", -1),
            40);
  timeclock::TimeClockHost& host = window->Hosts().clock;
  EXPECT_EQ(host.RememberedSoundPath(), "");
  host.RememberSoundPath("bell.wav");
  EXPECT_EQ(host.RememberedSoundPath(), "bell.wav");
}

}  // namespace
