// TCalendarEx: the month calendar control, a 7 x 7 owner-drawn grid of the weekday header and
// six weeks. Every rule (dates, cells, day types, colours, moves) is in CalendarExModel; the
// control paints the model and turns mouse and keys into its calls.
#pragma once

#include <QWidget>

#include <functional>

#include "calendar/calendar_ex_model.h"

namespace calendar {

class TCalendarEx : public QWidget {
  Q_OBJECT

 public:
  explicit TCalendarEx(QWidget* parent = nullptr);

  CalendarExModel& Model() { return model_; }
  const CalendarExModel& Model() const { return model_; }
  int Year() const { return model_.Year(); }
  int Month() const { return model_.Month(); }
  int Day() const { return model_.Day(); }

  // The cell's rectangle in the control.
  QRect CellRect(int column, int row) const;
  // The cell under a point, or false outside the cells.
  bool CellAt(const QPoint& point, int& column, int& row) const;

  // Raised after every change of the date or of the lists.
  std::function<void()> OnChange;
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  // Raised before the control's own key handling; a handler that sets the key to 0 ends it.
  std::function<void(int& key, Qt::KeyboardModifiers modifiers)> OnKeyDown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  CalendarExModel model_;
  CalendarExModel::CellLayout layout_{};
};

}  // namespace calendar
