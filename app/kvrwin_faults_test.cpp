// Faults a new user met in the main window: clicks into the other grid with an enlarged cursor
// row, lines cut off at the bottom of the rows, the focus after the data-folder list, and
// controls that showed a state nothing acted on.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include "app/kvrwin_test_fixture.h"
#include "daydata/day_store.h"
#include "platform/string_grid.h"
#include "test_support/fake_calendar_port.h"

using test_support::Sjis;

namespace {

struct CountingEntry : daydata::DayEntryPort {
  int opened = 0;
  void OpenDayEntry() override { ++opened; }
};

class KvrwinFaultTest : public KvrwinTest {
 protected:
  void SetUp() override {
    window_ = Open();
    window_->SetCalendar(&calendar_);
    window_->SetDayEntry(&entry_);
    window_->show();
    // Focus changes reach the grids, as they do on the desktop, only in the active window.
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  platform::TStringGrid* Grid(int grid) const {
    return grid == 1 ? window_->StringGrid1 : window_->StringGrid2;
  }

  std::unique_ptr<TestKvrwin> window_;
  test_support::FakeCalendarPort calendar_;
  CountingEntry entry_;
};

// The click lands in a grid without the focus, whose first row grows to three rows as soon as
// the grid takes the focus: the day the user pointed at must open all the same.
TEST_F(KvrwinFaultTest, FirstClickIntoTheOtherGridOpensTheDayUnderThePointer) {
  struct Case {
    bool half;      // half-month display of December 2026, previous month's half on the left
    bool single;    // single click opens, else double click
    int from_grid;  // the grid that has the cursor before the click
    int grid, row;  // where the user clicks
    QDate opened;
  } cases[] = {
      {false, true, 1, 2, 1, QDate(2026, 12, 18)},  {false, true, 2, 1, 6, QDate(2026, 12, 7)},
      {true, true, 2, 1, 5, QDate(2026, 11, 22)},   {true, true, 1, 2, 9, QDate(2026, 12, 10)},
      {false, false, 1, 2, 4, QDate(2026, 12, 21)},
  };
  for (const Case& c : cases) {
    ChangeSettings(*window_, [&](month::MainSettings& s) {
      s.cursor_wide = 1;
      s.cursor_wide_position = 3;
      s.single_double = c.single;
    });
    window_->LeaveHalfMonth();
    window_->SetDate(QDate(2026, 12, 10));
    if (c.half) window_->PrevHalfMonth();
    window_->SelectGridRow(c.from_grid, 3);
    const QPoint at = Grid(c.grid)->CellRect(1, c.row).center();
    const int before = entry_.opened;
    if (c.single) {
      QTest::mouseClick(Grid(c.grid), Qt::LeftButton, {}, at);
    } else {
      QTest::mouseDClick(Grid(c.grid), Qt::LeftButton, {}, at);
    }
    EXPECT_EQ(entry_.opened, before + 1) << c.opened.toString().toStdString();
    EXPECT_EQ(QDate(window_->ShownYear().toInt(), window_->ShownMonth().toInt(),
                    window_->ShownDay().toInt()),
              c.opened);
    EXPECT_EQ(Grid(c.grid)->Row(), c.row);
  }
}

// Whether anything is drawn in the bottom rows of pixels of a cell: ink there is a line of
// text cut off by the cell's edge (whole lines end in the blank part of their descent).
bool InkIn(const QImage& image, const QRect& area) {
  const QRect inside = area & image.rect();
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) return true;
    }
  }
  return false;
}
bool InkAtTheBottom(const QImage& image, const QRect& cell) {
  return InkIn(image, QRect(cell.left() + 2, cell.bottom() - 2, cell.width() - 2, 3));
}

TEST_F(KvrwinFaultTest, TwoLineDayTextsAndHolidayNamesAreDrawnWhole) {
  settings::IniStore ini(Ini());
  ini.WriteInteger(Sjis("祝祭日表示"), "Syukucolor", 1);
  daydata::DayStore store(window_->DataDir(), window_->StartupDir());
  for (int day = 1; day <= 31; ++day) {
    store.SaveDay(store.DayFilePath(2026, 5, day), Sjis("会議の準備をする\r\n資料を印刷する"), "0");
  }
  window_.reset();
  fs::current_path(Start());
  SetUp();
  window_->SetDate(QDate(2026, 5, 3));  // 3 to 6 May are holidays
  for (int g = 1; g <= 2; ++g) {
    const QImage image = Grid(g)->grab().toImage();
    for (int row = 0; row < 15; ++row) {
      EXPECT_FALSE(InkAtTheBottom(image, Grid(g)->CellRect(1, row))) << g << " " << row;
      EXPECT_FALSE(InkAtTheBottom(image, Grid(g)->CellRect(0, row))) << g << " " << row;
    }
  }
  // The second lines are there: the day text's and the holiday name below 3 May.
  const QImage left = Grid(1)->grab().toImage();
  for (int col : {0, 1}) {
    const QRect cell = Grid(1)->CellRect(col, 2);
    EXPECT_TRUE(InkIn(left, cell.adjusted(2, cell.height() / 2, 0, -3))) << col;
  }
}

TEST_F(KvrwinFaultTest, GridWithTheCursorGetsTheFocusBackWhenTheFolderListCloses) {
  window_->SetDate(QDate(2026, 12, 10));
  window_->SelectGridRow(2, 4);
  window_->SpeedButton27->setChecked(true);
  window_->DirectoryListBox1->setFocus();  // the user picks folders in the list
  EXPECT_FALSE(window_->StringGrid2->Focused());
  window_->SpeedButton27->setChecked(false);
  EXPECT_TRUE(window_->StringGrid2->Focused());
  EXPECT_EQ(window_->StringGrid2->Row(), 4);
}

}  // namespace
