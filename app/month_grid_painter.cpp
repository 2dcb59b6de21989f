#include "app/month_grid_painter.h"

#include <QFontMetrics>
#include <QPainter>

#include "month/row_heights.h"
#include "platform/fitted_text.h"
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
  QString text = platform::ToQString(month::CellPart(shown.text));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  texts_[grid][row] = {platform::ToQColor(shown.colour), text};
}

void MonthGridPainter::PaintDate(QPainter& painter, const QRect& cell, const PaintedDate& date,
                                 const QFont& days_font, const QColor& today_colour) const {
  if (!date.has_day) return;
  if (date.today) painter.fillRect(cell, today_colour);
  const DateLines lines = LayDate(cell, date, days_font);
  if (lines.date.text.isEmpty()) return;
  painter.setFont(days_font);
  // A holiday's date is in the holiday's colour, drawn once: twice would be twice in a PDF's
  // text.
  painter.setPen(date.holiday_name.isEmpty() ? date.date_colour : date.holiday_colour);
  platform::DrawLines(painter, {lines.date});
  if (!lines.rokuyou.text.isEmpty()) {
    painter.setFont(RokuyouFont(days_font));
    painter.setPen(date.rokuyou_colour);
    platform::DrawLines(painter, {lines.rokuyou});
    painter.setFont(days_font);
  }
  if (!lines.holiday.text.isEmpty()) {
    painter.setPen(date.holiday_colour);
    platform::DrawLines(painter, {lines.holiday});
  }
}

QString MonthGridPainter::HolidayHint(const QRect& cell, const PaintedDate& date,
                                      const QFont& days_font) const {
  if (!date.has_day || date.holiday_name.isEmpty()) return {};
  return LayDate(cell, date, days_font).holiday.text == date.holiday_name ? QString()
                                                                          : date.holiday_name;
}

MonthGridPainter::DateLines MonthGridPainter::LayDate(const QRect& cell, const PaintedDate& date,
                                                      const QFont& days_font) {
  // The date on the first line with the rokuyou after it in a smaller font, the holiday's
  // name on the second line: each cut to the column (the name with "…"), never wrapped onto
  // a line the row does not have.
  DateLines lines;
  const QRect text_rect = TextRect(cell, days_font);
  const int line_height = platform::LineHeight(days_font);
  if (text_rect.height() < line_height) return lines;
  const QFontMetricsF metrics(days_font);
  const double baseline = text_rect.top() + metrics.ascent();
  lines.date = {QPointF(text_rect.left(), baseline),
                platform::FitOneLine(date.date_text, days_font, text_rect.width(), false)};
  if (!date.rokuyou_text.isEmpty() && lines.date.text == date.date_text) {
    const QFont small = RokuyouFont(days_font);
    const int x = QFontMetrics(days_font).horizontalAdvance(date.date_text);
    lines.rokuyou = {QPointF(text_rect.left() + x, text_rect.top() + QFontMetricsF(small).ascent()),
                     platform::FitOneLine(date.rokuyou_text, small, text_rect.width() - x, false)};
  }
  if (!date.holiday_name.isEmpty() && text_rect.height() >= 2 * line_height) {
    lines.holiday = {QPointF(text_rect.left(), baseline + line_height),
                     platform::FitOneLine(date.holiday_name, days_font, text_rect.width(), true)};
  }
  return lines;
}

QFont MonthGridPainter::RokuyouFont(const QFont& days_font) {
  QFont small = days_font;
  small.setPointSize(7);
  return small;
}

void MonthGridPainter::PaintText(QPainter& painter, const QRect& cell, const PaintedText& text,
                                 const QFont& font, const QColor& fill) const {
  painter.fillRect(cell, fill);
  if (text.text.isEmpty()) return;
  painter.setFont(font);
  painter.setPen(text.colour);
  platform::DrawLines(painter, TextLines(cell, text, font));
}

std::vector<platform::FittedLine> MonthGridPainter::TextLines(const QRect& cell,
                                                              const PaintedText& text,
                                                              const QFont& font) {
  return platform::FitLines(text.text, font, TextRect(cell, font), platform::LineHeight(font));
}

}  // namespace app
