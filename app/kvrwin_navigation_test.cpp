// The main window's keys, commands and mouse rules in both grids and both display modes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "app/kvrwin_test_fixture.h"
#include "platform/qt_text.h"
#include "platform/string_grid.h"
#include "test_support/fake_calendar_port.h"
#include "widgets/marquee_label.h"

namespace {

struct CountingEntry : daydata::DayEntryPort {
  int opened = 0;
  void OpenDayEntry() override { ++opened; }
};

class KvrwinNavigationTest : public KvrwinTest {
 protected:
  void SetUp() override {
    window_ = Open();
    window_->SetCalendar(&calendar_);
    window_->SetDayEntry(&entry_);
    window_->show();
  }
  // Shows the full month with the cursor on `day` and the calendar on the same date.
  void ShowDay(int y, int m, int d) {
    window_->LeaveHalfMonth();
    window_->SetDate(QDate(y, m, d));
    calendar_.Model().GoToDate(y, m, d);
    if (d <= 16) {
      window_->SelectGridRow(1, d - 1);
    } else {
      window_->SelectGridRow(2, d - 17);
    }
  }
  void Key(int grid, Qt::Key key) {
    QTest::keyClick(grid == 1 ? window_->StringGrid1 : window_->StringGrid2, key);
  }
  int FocusedGrid() const {
    if (window_->StringGrid1->Focused()) return 1;
    return window_->StringGrid2->Focused() ? 2 : 0;
  }
  QDate Shown() const { return window_->ShownDate(); }
  QDate CalendarDate() const { return QDate(calendar_.Year(), calendar_.Month(), calendar_.Day()); }

  std::unique_ptr<TestKvrwin> window_;
  test_support::FakeCalendarPort calendar_;
  CountingEntry entry_;
};

TEST_F(KvrwinNavigationTest, MonthAndYearStepsKeepTheDayInsideTheMonth) {
  window_->SetDate(QDate(2023, 1, 31));
  window_->StepMonth(+1);
  EXPECT_EQ(Shown(), QDate(2023, 2, 28));
  window_->SetDate(QDate(2024, 1, 31));
  window_->StepMonth(+1);
  EXPECT_EQ(Shown(), QDate(2024, 2, 29));
  window_->SetDate(QDate(2023, 3, 31));
  window_->StepMonth(-1);
  EXPECT_EQ(Shown(), QDate(2023, 2, 28));
  window_->SetDate(QDate(2000, 2, 29));
  window_->NextYear();
  EXPECT_EQ(Shown(), QDate(2001, 2, 28));
  window_->SetDate(QDate(2000, 2, 29));
  window_->PrevYear();
  EXPECT_EQ(Shown(), QDate(1999, 2, 28));
  window_->SetDate(QDate(2026, 12, 31));
  window_->StepMonth(+1);
  EXPECT_EQ(Shown(), QDate(2027, 1, 31));
  EXPECT_EQ(window_->Cursor().DatePart(4), -1);
}

TEST_F(KvrwinNavigationTest, EnterOpensTheDayAndNothingPastTheMonthsEnd) {
  ShowDay(2026, 4, 20);  // April has 30 days
  Key(2, Qt::Key_Return);
  EXPECT_EQ(entry_.opened, 1);
  EXPECT_EQ(window_->ShownDay(), "20");
  window_->SelectGridRow(2, 14);  // day 31
  Key(2, Qt::Key_Return);
  EXPECT_EQ(entry_.opened, 1);
  // Half display of 17 April to 16 May: the left grid's day 31 of April is refused too.
  window_->NextHalfMonth();
  window_->SelectGridRow(1, 14);
  Key(1, Qt::Key_Return);
  EXPECT_EQ(entry_.opened, 1);
  window_->SelectGridRow(2, 3);
  Key(2, Qt::Key_Return);
  EXPECT_EQ(entry_.opened, 2);
  EXPECT_EQ(window_->ShownMonth(), "5");
  EXPECT_EQ(window_->ShownDay(), "4");
}

TEST_F(KvrwinNavigationTest, HalfMonthDateHandedOverAcrossTheYearEnd) {
  ShowDay(2026, 12, 20);
  window_->NextHalfMonth();  // 17-31 December | 1-16 January
  EXPECT_EQ(window_->Panel1->text(),
            QStringLiteral("2026年12月後半") + QString(12, ' ') + QStringLiteral("2027年1月前半"));
  EXPECT_TRUE(window_->OpenDayEntry(2, 0));
  EXPECT_EQ(window_->ShownYear(), "2027");
  EXPECT_EQ(window_->ShownMonth(), "1");
  EXPECT_EQ(window_->ShownDay(), "1");
  ShowDay(2027, 1, 3);
  window_->PrevHalfMonth();  // 17-31 December | 1-16 January
  EXPECT_EQ(window_->Panel1->text(),
            QStringLiteral("2026年12月後半") + QString(12, ' ') + QStringLiteral("2027年1月前半"));
  EXPECT_TRUE(window_->OpenDayEntry(1, 14));
  EXPECT_EQ(window_->ShownYear(), "2026");
  EXPECT_EQ(window_->ShownMonth(), "12");
  EXPECT_EQ(window_->ShownDay(), "31");
}

TEST_F(KvrwinNavigationTest, LeftFromDayFiveInMarchShowsTheHalfMonthBefore) {
  ShowDay(2026, 3, 5);
  Key(1, Qt::Key_Left);
  EXPECT_EQ(window_->HalfMonth(), 1);
  EXPECT_TRUE(window_->Cursor().FirstHalfShown());
  EXPECT_EQ(window_->Cursor().Layout().left.month, 2);
  EXPECT_EQ(window_->Cursor().Layout().right.month, 3);
  EXPECT_EQ(FocusedGrid(), 2);
  EXPECT_EQ(window_->StringGrid2->Row(), 4);
  EXPECT_EQ(window_->Cursor().RowDay(2, 4), 5);
  // Left again: back to the full display of February.
  Key(2, Qt::Key_Right);
  EXPECT_EQ(window_->HalfMonth(), 0);
  EXPECT_EQ(Shown().month(), 3);
}

TEST_F(KvrwinNavigationTest, RightFromDaySixteenOfAThirtyDayMonth) {
  ShowDay(2026, 6, 16);
  Key(1, Qt::Key_Right);
  EXPECT_EQ(FocusedGrid(), 2);
  EXPECT_EQ(window_->StringGrid2->Row(), 13);  // day 30
  EXPECT_EQ(calendar_.Day(), 30);
}

TEST_F(KvrwinNavigationTest, DownAndUpRunAcrossBothGridsAndMonths) {
  ShowDay(2026, 6, 16);
  Key(1, Qt::Key_Down);
  EXPECT_EQ(FocusedGrid(), 2);
  EXPECT_EQ(window_->StringGrid2->Row(), 0);
  EXPECT_EQ(calendar_.Day(), 17);
  Key(2, Qt::Key_Up);  // back to the 16th
  EXPECT_EQ(FocusedGrid(), 1);
  EXPECT_EQ(window_->StringGrid1->Row(), 15);
  EXPECT_EQ(calendar_.Day(), 16);
  ShowDay(2026, 6, 30);
  Key(2, Qt::Key_Down);  // past the month's last day
  EXPECT_EQ(Shown().month(), 7);
  EXPECT_EQ(FocusedGrid(), 1);
  EXPECT_EQ(window_->StringGrid1->Row(), 0);
  EXPECT_EQ(CalendarDate(), QDate(2026, 7, 1));
  Key(1, Qt::Key_Up);  // before the 1st
  EXPECT_EQ(Shown().month(), 6);
  EXPECT_EQ(FocusedGrid(), 2);
  EXPECT_EQ(window_->StringGrid2->Row(), 13);
  EXPECT_EQ(CalendarDate(), QDate(2026, 6, 30));
  // Inside a grid the calendar follows the day.
  ShowDay(2026, 6, 5);
  Key(1, Qt::Key_Down);
  EXPECT_EQ(window_->StringGrid1->Row(), 5);
  EXPECT_EQ(calendar_.Day(), 6);
}

TEST_F(KvrwinNavigationTest, HalfMonthKeysCrossTheMonthBoundary) {
  ShowDay(2026, 3, 5);
  window_->PrevHalfMonth();       // 17-28 February | 1-16 March
  window_->SelectGridRow(1, 11);  // 28 February
  calendar_.Model().GoToDate(2026, 2, 28);
  Key(1, Qt::Key_Down);
  EXPECT_EQ(FocusedGrid(), 2);
  EXPECT_EQ(window_->StringGrid2->Row(), 0);
  EXPECT_EQ(CalendarDate(), QDate(2026, 3, 1));
  Key(2, Qt::Key_Up);  // back to the left month's last day
  EXPECT_EQ(FocusedGrid(), 1);
  EXPECT_EQ(window_->StringGrid1->Row(), 11);
  EXPECT_EQ(CalendarDate(), QDate(2026, 2, 28));
  window_->SelectGridRow(2, 15);  // 16 March
  calendar_.Model().GoToDate(2026, 3, 16);
  Key(2, Qt::Key_Down);  // on to 17 March, the left grid of the next half-month
  EXPECT_EQ(window_->Cursor().Layout().left.month, 3);
  EXPECT_EQ(window_->Cursor().Layout().left.first_day, 17);
  EXPECT_EQ(FocusedGrid(), 1);
  EXPECT_EQ(window_->StringGrid1->Row(), 0);
  EXPECT_EQ(calendar_.Day(), 17);
}

TEST_F(KvrwinNavigationTest, PageKeysStepMonthsAndMoveTheCalendar) {
  ShowDay(2026, 5, 20);
  Key(2, Qt::Key_PageDown);
  EXPECT_EQ(Shown().month(), 6);
  EXPECT_EQ(calendar_.Month(), 6);
  Key(2, Qt::Key_PageUp);
  Key(2, Qt::Key_PageUp);
  EXPECT_EQ(Shown().month(), 4);
  EXPECT_EQ(calendar_.Month(), 4);
}

TEST_F(KvrwinNavigationTest, CommandsLeaveHalfMonthDisplayAndTellTheCalendar) {
  ShowDay(2026, 5, 20);
  window_->NextHalfMonth();
  int told = calendar_.DatesTold();
  window_->NextMonthCommand(true);
  EXPECT_EQ(window_->HalfMonth(), 0);
  EXPECT_EQ(Shown(), QDate(2026, 6, 20));
  EXPECT_EQ(calendar_.Month(), 6);
  EXPECT_EQ(calendar_.DatesTold(), told + 1);
  window_->PrevMonthCommand(false);  // the menu item leaves the calendar alone
  EXPECT_EQ(calendar_.Month(), 6);
  window_->NextYearCommand();
  EXPECT_EQ(Shown(), QDate(2027, 5, 20));
  EXPECT_EQ(calendar_.Year(), 2027);
  window_->ThisMonth();
  EXPECT_EQ(Shown(), QDate::currentDate());
  EXPECT_EQ(CalendarDate(), QDate::currentDate());
  const int today = QDate::currentDate().day();
  EXPECT_EQ(FocusedGrid(), today <= 16 ? 1 : 2);
  EXPECT_EQ(today <= 16 ? window_->StringGrid1->Row() : window_->StringGrid2->Row(),
            today <= 16 ? today - 1 : today - 17);
  window_->CalendarToggle(true);
  EXPECT_TRUE(calendar_.Minimised());
  EXPECT_EQ(settings::IniStore(Ini()).ReadInteger(test_support::Sjis("カレンダー表示"),
                                                  "CalendarOnOff", 0),
            1);
}

TEST_F(KvrwinNavigationTest, MouseOpensByDoubleOrSingleClick) {
  ShowDay(2026, 5, 3);
  QRect cell = window_->StringGrid1->CellRect(1, 4);
  QTest::mouseDClick(window_->StringGrid1, Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(entry_.opened, 1);
  EXPECT_EQ(window_->ShownDay(), "5");
  ChangeSettings(*window_, [](month::MainSettings& s) { s.single_double = true; });
  QTest::mouseDClick(window_->StringGrid1, Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(entry_.opened, 1);  // double clicks are ignored then
  QTest::mouseClick(window_->StringGrid1, Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(entry_.opened, 2);
}

TEST_F(KvrwinNavigationTest, EnlargedCursorRowFollowsTheCursor) {
  ChangeSettings(*window_, [](month::MainSettings& s) { s.cursor_wide = 1; });
  ChangeSettings(*window_, [](month::MainSettings& s) { s.cursor_wide_position = 3; });
  ShowDay(2026, 5, 3);
  platform::TStringGrid* grid = window_->StringGrid1;
  const int normal = grid->DefaultRowHeight();
  EXPECT_EQ(grid->RowHeight(2), 3 * normal);
  Key(1, Qt::Key_Down);
  EXPECT_EQ(grid->RowHeight(2), normal);
  EXPECT_EQ(grid->RowHeight(3), 3 * normal);
  window_->SelectGridRow(2, 4);  // the left grid loses the focus: first row, default heights
  EXPECT_EQ(grid->Row(), 0);
  EXPECT_EQ(grid->RowHeight(0), normal);
  EXPECT_EQ(window_->StringGrid2->RowHeight(4), 3 * normal);
}

TEST_F(KvrwinNavigationTest, EscapeClosesTheWindow) {
  ShowDay(2026, 5, 20);
  Key(2, Qt::Key_Escape);
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(KvrwinTest, StatusLineSettingsAreMendedAndStored) {
  test_support::WriteBytes(Start() / "maxims.txt", test_support::Sjis("一\r\n二\r\n三\r\n"));
  settings::IniStore ini(Ini());
  ini.WriteString(test_support::Sjis("流れ文字表示"), "KakuGenFile",
                  (Start() / "maxims.txt").string());
  ini.WriteInteger(test_support::Sjis("流れ文字表示"), "Speed", 0);
  auto window = Open();
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(ini.ReadInteger(test_support::Sjis("流れ文字表示"), "Speed", -1), 400);
  EXPECT_EQ(ini.ReadInteger(test_support::Sjis("ステータスバーフォント"), "MarqueeWordColor", -1),
            0x00FFFF);
  EXPECT_EQ(window->MaximLines(), QStringList({"一", "二", "三"}));
  EXPECT_TRUE(window->MarqueeLabel1->Running());
  EXPECT_EQ(window->MarqueeLabel1->Steps(), 400);
}

}  // namespace
