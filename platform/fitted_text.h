// Text laid out in a rectangle and cut to what the rectangle shows. A cell's text is drawn
// only as far as it is seen: text hidden under a clip rectangle would still be text in a
// PDF's text layer, where a reader or a search finds it beside the wrong cell.
#pragma once

#include <QPointF>
#include <QRect>
#include <QString>

#include <vector>

class QFont;
class QPainter;

namespace platform {

// One line as it is drawn: where its baseline starts and its characters.
struct FittedLine {
  QPointF baseline;
  QString text;
};

// The lines of `text` (a '\n' breaks a line) wrapped to the width of `rect`, at word
// boundaries where the line has one and anywhere else, `line_height` apart from the top of
// `rect`, as many as fit its height whole. A character wider than `rect` on its own is left
// out. Trailing blanks of a line are dropped.
std::vector<FittedLine> FitLines(const QString& text, const QFont& font, const QRect& rect,
                                 int line_height);

// `text` on one line cut to `width` pixels of `font`: with "…" at its end when `ellipsis`,
// else cut off after the last character that fits. Empty when nothing fits.
QString FitOneLine(const QString& text, const QFont& font, int width, bool ellipsis);

// Draws `lines` in the painter's current font and pen.
void DrawLines(QPainter& painter, const std::vector<FittedLine>& lines);

}  // namespace platform
