#include "app/month_grid_painter.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>

#include <cmath>

#include "platform/fonts.h"
#include "platform/line_height.h"

namespace {

TEST(MonthGridPainter, ADateCellShowsWhatFitsAndHintsAtACutHolidayName) {
  const QFont font(platform::kGothicFace, 10);
  const QFontMetricsF metrics(font);
  const int line = platform::LineHeight(font);
  app::PaintedDate holiday;
  holiday.has_day = true;
  holiday.date_text = QStringLiteral("11 木");
  holiday.rokuyou_text = QStringLiteral("(大安)");
  holiday.holiday_name = QStringLiteral("建国記念の日");
  app::PaintedDate plain = holiday;
  plain.holiday_name.clear();
  const int name_width =
      static_cast<int>(std::ceil(metrics.horizontalAdvance(holiday.holiday_name)));
  struct Case {
    const app::PaintedDate* date;
    QRect cell;
    QString hint;
  };
  const Case cases[] = {
      // Wide enough for the name: no hint.
      {&holiday, QRect(0, 0, name_width + 10, 2 * line + 4), QString()},
      // Too narrow: the name is cut with "…", the hint has it whole.
      {&holiday, QRect(0, 0, name_width / 2, 2 * line + 4), holiday.holiday_name},
      // Too low for the second line: the name is not shown at all.
      {&holiday, QRect(0, 0, name_width + 10, line + 4), holiday.holiday_name},
      {&plain, QRect(0, 0, 20, 2 * line + 4), QString()},
  };
  app::MonthGridPainter painter;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell.width());
    EXPECT_EQ(painter.HolidayHint(c.cell, *c.date, font), c.hint);
    const auto lines = app::MonthGridPainter::LayDate(c.cell, *c.date, font);
    for (const platform::FittedLine* l : {&lines.date, &lines.holiday}) {
      if (l->text.isEmpty()) continue;
      EXPECT_GE(l->baseline.x(), c.cell.left());
      EXPECT_LE(l->baseline.x() + metrics.horizontalAdvance(l->text), c.cell.right() + 1)
          << l->text.toStdString();
      EXPECT_LE(l->baseline.y() + metrics.descent(), c.cell.bottom() + 1) << l->text.toStdString();
    }
    EXPECT_EQ(lines.holiday.text.isEmpty(),
              c.date->holiday_name.isEmpty() || c.cell.height() < 2 * line + 4);
  }
}

}  // namespace
