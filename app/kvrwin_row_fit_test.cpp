// The main window shows every day of the month and the status line whatever cell font the
// options allow, on a screen that is too small for the larger ones.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QScreen>

#include "app/kvrwin_test_fixture.h"
#include "platform/fonts.h"
#include "platform/string_grid.h"
#include "settings/ini_gt.h"
#include "widgets/grad_box.h"
#include "widgets/marquee_label.h"

namespace {

using KvrwinRowFitTest = KvrwinTest;

QRect InWindow(const QWidget& widget, const QWidget& window) {
  return QRect(widget.mapTo(&window, QPoint(0, 0)), widget.size());
}

TEST_F(KvrwinRowFitTest, AllDaysAndTheStatusLineShowAtEachFontSize) {
  for (const int points : {9, 12, 14, 18}) {
    SCOPED_TRACE(points);
    {
      auto window = Open();
      const QFont font(platform::kGothicFace, points);
      window->SettingsFile().WriteFont(settings::keys::DaysFont, font);
      window->SettingsFile().WriteFont(settings::keys::YoteiFont, font);
    }
    // As after a restart with the font chosen.
    auto window = Open();
    window->show();
    QApplication::processEvents();
    const QRect free = window->screen()->availableGeometry();
    EXPECT_TRUE(free.contains(window->frameGeometry()))
        << "free " << free.width() << "x" << free.height() << " window "
        << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    const QRect client = window->GradBox1->rect();
    const QRect panel = InWindow(*window->Panel4, *window->GradBox1);
    for (platform::TStringGrid* grid : {window->StringGrid1, window->StringGrid2}) {
      int rows = 0;
      for (int row = 0; row < 16; ++row) rows += grid->RowHeight(row);
      // Every row within the grid, the grid within its frame, the frame within the window.
      EXPECT_LE(rows, grid->height());
      EXPECT_TRUE(panel.contains(InWindow(*grid, *window->GradBox1)));
      EXPECT_GT(grid->RowHeight(15), 4);
    }
    EXPECT_TRUE(client.contains(panel));
    const QRect status = InWindow(*window->MarqueeLabel1, *window->GradBox1);
    EXPECT_TRUE(window->MarqueeLabel1->isVisible());
    EXPECT_TRUE(client.contains(status))
        << status.x() << "," << status.y() << " " << status.width() << "x" << status.height()
        << " in " << client.width() << "x" << client.height();
    EXPECT_GE(status.top(), panel.bottom());
  }
}

}  // namespace
