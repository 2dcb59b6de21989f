// Paints the cells of the month grids from the month model: the date column with today's
// fill, rokuyou and holiday name, and the schedule column with the day's text in its colour.
// The texts are converted for the screen once per month build, not at every paint.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <array>
#include <vector>

#include "month/main_settings.h"
#include "month/month_model.h"
#include "platform/fitted_text.h"

class QPainter;

namespace app {

struct PaintedDate {
  bool has_day = false;
  bool today = false;
  QString date_text, rokuyou_text, holiday_name;
  QColor date_colour, rokuyou_colour, holiday_colour;
};

struct PaintedText {
  QColor colour;
  QString text;
};

class MonthGridPainter {
 public:
  // Takes the model's cells for both grids (left = 0, right = 1).
  void SetDates(const month::DateColumn& column);
  void SetText(int grid, int row, const month::ShownText& shown);
  const PaintedDate& Date(int grid, int row) const { return dates_[grid][row]; }
  const PaintedText& Text(int grid, int row) const { return texts_[grid][row]; }

  void PaintDate(QPainter& painter, const QRect& cell, const PaintedDate& date,
                 const QFont& days_font, const QColor& today_colour) const;
  // `fill` is the grid colour or the cursor colour.
  void PaintText(QPainter& painter, const QRect& cell, const PaintedText& text, const QFont& font,
                 const QColor& fill) const;
  // The whole holiday name when the date cell shows it cut or not at all, else empty.
  QString HolidayHint(const QRect& cell, const PaintedDate& date, const QFont& days_font) const;

  // What the cells show, line by line: only text that lies whole inside the cell is drawn.
  struct DateLines {
    platform::FittedLine date, rokuyou, holiday;
  };
  static DateLines LayDate(const QRect& cell, const PaintedDate& date, const QFont& days_font);
  static std::vector<platform::FittedLine> TextLines(const QRect& cell, const PaintedText& text,
                                                     const QFont& font);

 private:
  static QFont RokuyouFont(const QFont& days_font);

  std::array<std::array<PaintedDate, 16>, 2> dates_;
  std::array<std::array<PaintedText, 16>, 2> texts_;
};

}  // namespace app
