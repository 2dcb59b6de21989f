// TKvrwin: the window's least height follows the rows that its fonts need.
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "app/kvrwin.h"
#include "month/row_heights.h"
#include "platform/line_height.h"
#include "platform/string_grid.h"
#include "platform/window_area.h"
#include "settings/window_fit.h"
#include "widgets/grad_box.h"

namespace app {

using month::ClientHeightFor;
using month::kCellMargin;

void TKvrwin::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  LayoutRows();
}

void TKvrwin::FitWindowToRows(int row_height, bool status_shown) {
  // A window that is not shown keeps its placement as stored; showEvent fits it before it is
  // mapped.
  if (!isVisible()) return;
  const int chrome = height() - GradBox1->height();  // menu bar
  const int frame = frameGeometry().height() - height();
  int least = chrome + tool_bar_extra_ + ClientHeightFor(row_height, status_shown);
  // Never taller than the screen: there the rows and their fonts shrink (LayoutRows).
  if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    least = std::min(least, s->availableGeometry().height() - frame);
  if (minimumHeight() != least) setMinimumHeight(least);
  KeepFrameOnScreen();
}

void TKvrwin::KeepFrameOnScreen() {
  // Grown downwards, or placed before its frame was known, the window is moved (and if need
  // be shrunk) so that its frame, bottom rows and status line stay on the screen.
  const QScreen* s = screen();
  if (!s || isMaximized() || isFullScreen()) return;
  const QRect free = platform::WindowArea(*s), outer = frameGeometry(), inner = geometry();
  const settings::WindowRect fitted =
      settings::FitOnScreen({outer.x(), outer.y(), outer.width(), outer.height()},
                            {free.x(), free.y(), free.width(), free.height()});
  if (fitted == settings::WindowRect{outer.x(), outer.y(), outer.width(), outer.height()}) return;
  setGeometry(fitted.x + inner.x() - outer.x(), fitted.y + inner.y() - outer.y(),
              fitted.width - (outer.width() - inner.width()),
              fitted.height - (outer.height() - inner.height()));
}

int TKvrwin::MostClientHeight() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!isVisible() || !s) return 1 << 20;
  return s->availableGeometry().height() - (frameGeometry().height() - GradBox1->height());
}

QFont TKvrwin::ShownFont(const QFont& font) const {
  if (font_scale_ >= 1.0) return font;
  // Line heights do not shrink in proportion to the point size: smaller still until two
  // lines fit the row.
  const int room = (StringGrid1->DefaultRowHeight() - 2 * kCellMargin) / 2;
  QFont shown = ScaledFont(font, font_scale_);
  for (int i = 0; i < 8 && platform::LineHeight(shown) > room; ++i) shown = ScaledFont(shown, 0.92);
  return shown;
}

QFont TKvrwin::ScaledFont(const QFont& font, double scale) {
  if (scale >= 1.0) return font;
  QFont scaled = font;
  if (font.pointSizeF() > 0)
    scaled.setPointSizeF(std::max(font.pointSizeF() * scale, 5.0));
  else
    scaled.setPixelSize(std::max(static_cast<int>(font.pixelSize() * scale), 6));
  return scaled;
}

}  // namespace app
