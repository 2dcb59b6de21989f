#include "platform/fitted_text.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>

#include "platform/fonts.h"
#include "platform/line_height.h"

namespace {

QStringList Texts(const std::vector<platform::FittedLine>& lines) {
  QStringList texts;
  for (const auto& line : lines) texts << line.text;
  return texts;
}

TEST(FittedText, KeepsTheWholeLinesThatFitAndWrapsLongWordsAnywhere) {
  const QFont font(platform::kGothicFace, 10);
  const QFontMetricsF metrics(font);
  const int line = platform::LineHeight(font);
  // Four ideographs wide, whatever the face's advance.
  const int width = static_cast<int>(metrics.horizontalAdvance(QStringLiteral("予定予定"))) + 1;
  struct Case {
    QString text;
    int lines_of_room;
    QStringList expected;
  };
  const Case cases[] = {
      {QStringLiteral("打ち合わせ会議"), 2, {QStringLiteral("打ち合わ"), QStringLiteral("せ会議")}},
      // The line that does not fit whole is left out, not drawn in part.
      {QStringLiteral("打ち合わせ会議"), 1, {QStringLiteral("打ち合わ")}},
      {QStringLiteral("会議"), 0, {}},
      // Line breaks are kept; an empty line in the middle keeps its place, trailing ones go.
      {QStringLiteral("会\n\n議\n\n"), 4, {QStringLiteral("会"), QString(), QStringLiteral("議")}},
      {QStringLiteral("会 \n議"), 2, {QStringLiteral("会"), QStringLiteral("議")}},
      {QString(), 3, {}},
  };
  for (const Case& c : cases) {
    const QRect rect(10, 20, width, c.lines_of_room * line + line / 2);
    const auto lines = platform::FitLines(c.text, font, rect, line);
    EXPECT_EQ(Texts(lines), c.expected) << c.text.toStdString();
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_DOUBLE_EQ(lines[i].baseline.x(), rect.left());
      EXPECT_DOUBLE_EQ(lines[i].baseline.y(), rect.top() + metrics.ascent() + int(i) * line);
      EXPECT_LE(lines[i].baseline.y() + metrics.descent(), rect.bottom() + 1);
    }
  }

  // A word longer than the cell is broken anywhere: no line is wider than the cell and no
  // character is lost when there are lines enough.
  const QString url = QStringLiteral("https://example.com/meeting/room/2026/12/24/agenda");
  const auto lines = platform::FitLines(url, font, QRect(0, 0, width, 40 * line), line);
  ASSERT_GT(lines.size(), 1u);
  EXPECT_EQ(Texts(lines).join(QString()), url);
  for (const auto& l : lines) EXPECT_LE(metrics.horizontalAdvance(l.text), width);
}

TEST(FittedText, OneLineIsCutToTheWidthWithOrWithoutAnEllipsis) {
  const QFont font(platform::kGothicFace, 10);
  const QFontMetricsF metrics(font);
  const QString name = QStringLiteral("休日（祝日扱い）");
  const int whole = static_cast<int>(std::ceil(metrics.horizontalAdvance(name)));
  const int three = static_cast<int>(metrics.horizontalAdvance(QStringLiteral("休日（"))) + 1;
  struct Case {
    int width;
    bool ellipsis;
    QString expected;
  };
  const Case cases[] = {
      {whole, true, name},
      {whole - 2, false, QStringLiteral("休日（祝日扱い")},
      {three, false, QStringLiteral("休日（")},
      {static_cast<int>(metrics.horizontalAdvance(QStringLiteral("休日…"))) + 1, true,
       QStringLiteral("休日…")},
      {1, true, QString()},
      {0, false, QString()},
  };
  for (const Case& c : cases) {
    const QString fitted = platform::FitOneLine(name, font, c.width, c.ellipsis);
    EXPECT_EQ(fitted, c.expected) << c.width;
    EXPECT_LE(metrics.horizontalAdvance(fitted), std::max(c.width, 0));
  }
}

}  // namespace
