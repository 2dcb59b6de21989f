#include "platform/fitted_text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace platform {
namespace {

QString WithoutTrailingBlanks(QString line) {
  while (!line.isEmpty() && (line.back().isSpace() || line.back() == QChar::LineSeparator))
    line.chop(1);
  return line;
}

// Drops whole characters (a surrogate pair together) from the end until `text` fits.
QString CutToWidth(QString text, const QFontMetricsF& metrics, double width) {
  while (!text.isEmpty() && metrics.horizontalAdvance(text) > width) {
    text.chop(text.size() >= 2 && text.back().isLowSurrogate() ? 2 : 1);
  }
  return text;
}

}  // namespace

std::vector<FittedLine> FitLines(const QString& text, const QFont& font, const QRect& rect,
                                 int line_height) {
  std::vector<FittedLine> lines;
  if (text.isEmpty() || rect.width() <= 0 || line_height <= 0) return lines;
  const int room = rect.height() / line_height;
  if (room <= 0) return lines;
  QString laid = text;
  laid.replace(QLatin1Char('\n'), QChar::LineSeparator);
  QTextLayout layout(laid, font);
  QTextOption option(Qt::AlignLeft);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  const QFontMetricsF metrics(font);
  layout.beginLayout();
  for (int n = 0; n < room; ++n) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(rect.width());
    QString shown = WithoutTrailingBlanks(laid.mid(line.textStart(), line.textLength()));
    shown = CutToWidth(shown, metrics, rect.width());
    lines.push_back({QPointF(rect.left(), rect.top() + n * line_height + metrics.ascent()), shown});
  }
  layout.endLayout();
  // A text that ends in line breaks has empty lines last: nothing to draw there.
  while (!lines.empty() && lines.back().text.isEmpty()) lines.pop_back();
  return lines;
}

QString FitOneLine(const QString& text, const QFont& font, int width, bool ellipsis) {
  if (width <= 0) return {};
  const QFontMetricsF metrics(font);
  if (metrics.horizontalAdvance(text) <= width) return text;
  if (!ellipsis) return CutToWidth(text, metrics, width);
  const QString dots(QChar(0x2026));
  const QString kept = CutToWidth(text, metrics, width - metrics.horizontalAdvance(dots));
  return metrics.horizontalAdvance(dots) <= width ? kept + dots : QString();
}

void DrawLines(QPainter& painter, const std::vector<FittedLine>& lines) {
  const QPaintEngine* engine = painter.paintEngine();
  const bool to_paper =
      engine && (engine->type() == QPaintEngine::Picture || engine->type() == QPaintEngine::Pdf);
  const QFontMetricsF metrics(painter.font());
  for (const FittedLine& line : lines) {
    if (line.text.isEmpty()) continue;
    if (!to_paper) {
      painter.drawText(line.baseline, line.text);
      continue;
    }
    // A PDF's text map names each glyph by the character the font maps to it. A digit shaped
    // within a Latin word ("room/2026", "A 12") takes another glyph, which no character maps
    // to, and the digits were lost from the copied or searched text. On paper each character
    // is drawn on its own, at the place the whole line gives it, with the font's own glyph.
    for (int i = 0; i < line.text.size();) {
      const int length = line.text[i].isHighSurrogate() && i + 1 < line.text.size() ? 2 : 1;
      const double x = metrics.horizontalAdvance(line.text.left(i));
      painter.drawText(line.baseline + QPointF(x, 0), line.text.mid(i, length));
      i += length;
    }
  }
}

}  // namespace platform
