#include "app/month_grid_painter.h"

#include <QFontMetrics>
#include <QPainter>

#include "month/row_heights.h"
#include "platform/line_height.h"
#include "platform/qt_text.h"
#include "platform/system_colours.h"

namespace app {

using month::DateCell;
using month::DateColumn;
using month::ShownText;
using month::WholeLinesHeight;

namespace {

// The text rectangle: the cell less two pixels at the left, the top and the bottom, cut to
// the whole lines of `font` that fit, so that no line is shown in part.
QRect TextRect(const QRect& cell, const QFont& font) {
  QRect rect = cell.adjusted(2, 2, 0, -2);
  rect.setHeight(WholeLinesHeight(rect.height(), platform::LineHeight(font)));
  return rect;
}

constexpr int kWrap = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

}  // namespace

void MonthGridPainter::SetDates(const DateColumn& column) {
  for (int grid = 0; grid < 2; ++grid) {
    const auto& cells = grid == 0 ? column.left : column.right;
    for (int row = 0; row < 16; ++row) {
      const DateCell& c = cells[static_cast<size_t>(row)];
      PaintedDate& p = dates_[grid][row];
      p.has_day = c.has_day;
      p.today = c.today;
      p.date_text = platform::ToQString(c.date_text);
      p.rokuyou_text = platform::ToQString(c.rokuyou_text);
      p.holiday_name = platform::ToQString(c.holiday_name);
      p.date_colour = platform::ToQColor(c.date_colour);
      p.rokuyou_colour = platform::ToQColor(c.rokuyou_colour);
      p.holiday_colour = platform::ToQColor(c.holiday_colour);
    }
  }
}

void MonthGridPainter::SetText(int grid, int row, const ShownText& shown) {
  QString text = platform::ToQString(shown.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  texts_[grid][row] = {platform::ToQColor(shown.colour), text};
}

void MonthGridPainter::PaintDate(QPainter& painter, const QRect& cell, const PaintedDate& date,
                                 const QFont& days_font, const QColor& today_colour) const {
  if (!date.has_day) return;
  if (date.today) painter.fillRect(cell, today_colour);
  const QRect text_rect = TextRect(cell, days_font);
  if (text_rect.isEmpty()) return;
  painter.setFont(days_font);
  painter.setPen(date.date_colour);
  painter.drawText(text_rect, kWrap, date.date_text);
  if (!date.rokuyou_text.isEmpty()) {
    QFont small = days_font;
    small.setPointSize(7);
    const int x = QFontMetrics(days_font).horizontalAdvance(date.date_text);
    painter.setFont(small);
    painter.setPen(date.rokuyou_colour);
    painter.drawText(text_rect.adjusted(x, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     date.rokuyou_text);
    painter.setFont(days_font);
  }
  if (!date.holiday_name.isEmpty()) {
    // The date in the holiday's colour, the name on the line below, on that one line: a name
    // wider than the column is elided rather than wrapped onto a line the row does not have.
    painter.setPen(date.holiday_colour);
    painter.drawText(text_rect, kWrap, date.date_text);
    const QRect name_rect = text_rect.adjusted(0, platform::LineHeight(days_font), 0, 0);
    if (!name_rect.isEmpty()) {
      const QString name =
          QFontMetrics(days_font).elidedText(date.holiday_name, Qt::ElideRight, name_rect.width());
      painter.drawText(name_rect, Qt::AlignLeft | Qt::AlignTop, name);
    }
  }
}

void MonthGridPainter::PaintText(QPainter& painter, const QRect& cell, const PaintedText& text,
                                 const QFont& font, const QColor& fill) const {
  painter.fillRect(cell, fill);
  if (text.text.isEmpty()) return;
  painter.setFont(font);
  painter.setPen(text.colour);
  const QRect text_rect = TextRect(cell, font);
  if (!text_rect.isEmpty()) painter.drawText(text_rect, kWrap, text.text);
}

}  // namespace app
