#include "platform/string_grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

namespace {

TEST(StringGrid, GeometryFollowsRowHeightsAndWidths) {
  platform::TStringGrid grid;
  grid.SetDefaultRowHeight(20);
  grid.SetColWidth(0, 80);
  grid.SetColWidth(1, 300);
  EXPECT_EQ(grid.CellRect(1, 2), QRect(81, 42, 300, 20));
  grid.SetRowHeight(1, 60);  // an enlarged row pushes the rows below it down
  EXPECT_EQ(grid.CellRect(0, 2), QRect(0, 82, 80, 20));
  EXPECT_EQ(grid.GridHeight(), 15 * 21 + 61);
  int col, row;
  ASSERT_TRUE(grid.MouseToCell(QPoint(100, 50), col, row));
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 1);
}

TEST(StringGrid, OwnerSeesKeysFirstAndMayEatThem) {
  QWidget window;
  auto* grid = new platform::TStringGrid(&window);
  grid->resize(400, 400);
  window.show();
  grid->setFocus();
  int seen = 0;
  bool eat = false;
  QObject::connect(grid, &platform::TStringGrid::KeyDown, [&](int& key, Qt::KeyboardModifiers) {
    seen = key;
    if (eat) key = 0;
  });
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(seen, int(Qt::Key_Down));
  EXPECT_EQ(grid->Row(), 1);
  eat = true;
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(grid->Row(), 1);
  eat = false;
  grid->SetRow(15);
  QTest::keyClick(grid, Qt::Key_Down);  // stays on the last row
  EXPECT_EQ(grid->Row(), 15);
  QTest::keyClick(grid, Qt::Key_Left);  // the fixed column cannot be entered
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_TRUE(grid->Focused());
}

TEST(StringGrid, ClicksSelectScheduleCellsOnly) {
  QWidget window;
  auto* grid = new platform::TStringGrid(&window);
  grid->resize(400, 400);
  grid->SetDefaultRowHeight(20);
  grid->SetColWidth(0, 80);
  window.show();
  int double_clicks = 0;
  QObject::connect(grid, &platform::TStringGrid::DblClick, [&] { ++double_clicks; });
  QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(100, 3 * 21 + 5));
  EXPECT_EQ(grid->Row(), 3);
  QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(10, 6 * 21 + 5));  // fixed column
  EXPECT_EQ(grid->Row(), 3);
  QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(100, 5));
  EXPECT_EQ(double_clicks, 1);
}

TEST(StringGrid, TheOwnersHintForTheCellUnderThePointerIsItsToolTip) {
  QWidget window;
  auto* grid = new platform::TStringGrid(&window);
  grid->resize(300, 400);
  grid->SetDefaultRowHeight(20);
  grid->SetColWidth(0, 80);
  grid->SetColWidth(1, 1000);  // wider than the grid: only what is seen is the cell
  window.show();
  QRect asked;
  QObject::connect(grid, &platform::TStringGrid::CellHint,
                   [&](int col, int row, const QRect& rect, QString& hint) {
                     asked = rect;
                     if (col == 0 && row == 2) hint = QStringLiteral("休日（祝日扱い）");
                   });
  struct Case {
    QPoint at;
    QString tip;
    QRect cell;
  };
  const Case cases[] = {
      {{40, 2 * 21 + 5}, QStringLiteral("休日（祝日扱い）"), QRect(0, 42, 80, 20)},
      {{40, 3 * 21 + 5}, QString(), QRect(0, 63, 80, 20)},
      {{200, 2 * 21 + 5}, QString(), QRect(81, 42, 300 - 81, 20)},
  };
  for (const Case& c : cases) {
    QHelpEvent help(QEvent::ToolTip, c.at, grid->mapToGlobal(c.at));
    QApplication::sendEvent(grid, &help);
    EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), c.tip) << c.at.y();
    EXPECT_EQ(asked, c.cell);
    QToolTip::hideText();
    QTest::qWaitFor([] { return !QToolTip::isVisible(); });
  }
}

}  // namespace
