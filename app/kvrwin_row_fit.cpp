// TKvrwin: the window's least height follows the rows that its fonts need.
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "app/kvrwin.h"
#include "widgets/grad_box.h"

namespace app {

void TKvrwin::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  LayoutRows();
}

void TKvrwin::FitWindowToRows(int row_height, bool status_shown) {
  // A window that is not shown keeps its placement as stored; showEvent fits it before it is
  // mapped.
  if (!isVisible()) return;
  const int chrome = height() - GradBox1->height();  // menu bar and frame
  int least = chrome + ClientHeightFor(row_height, status_shown);
  // Never taller than the screen: there the user's fonts must give way.
  if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    least = std::min(least, s->availableGeometry().height());
  if (minimumHeight() != least) setMinimumHeight(least);
}

}  // namespace app
