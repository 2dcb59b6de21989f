#include "calendar/calendar_ex.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

#include "platform/system_colours.h"

namespace calendar {

TCalendarEx::TCalendarEx(QWidget* parent) : QWidget(parent) {
  setObjectName("CalendarEx");
  setFocusPolicy(Qt::StrongFocus);
  model_.OnRedraw = [this] { update(); };
  model_.OnChange = [this] {
    if (OnChange) OnChange();
  };
}

QRect TCalendarEx::CellRect(int column, int row) const {
  const int line = model_.GridLineWidth();
  return {column * (layout_.column_width + line), row * (layout_.row_height + line),
          layout_.column_width, layout_.row_height};
}

bool TCalendarEx::CellAt(const QPoint& point, int& column, int& row) const {
  const int line = model_.GridLineWidth();
  const int w = layout_.column_width + line, h = layout_.row_height + line;
  if (w <= 0 || h <= 0 || point.x() < 0 || point.y() < 0) return false;
  column = point.x() / w;
  row = point.y() / h;
  return column < CalendarExModel::kColumns && row < CalendarExModel::kRows;
}

void TCalendarEx::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layout_ = CalendarExModel::Layout(width(), height(), model_.GridLineWidth());
  // Seven whole rows and columns: the control gives back what does not divide by seven.
  if (layout_.shrink_width > 0 || layout_.shrink_height > 0)
    resize(width() - layout_.shrink_width, height() - layout_.shrink_height);
}

void TCalendarEx::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor window = palette().color(QPalette::Base);
  const QColor face = platform::ToQColor(platform::kClBtnFace);
  painter.fillRect(rect(), palette().color(QPalette::Mid));  // the grid lines
  painter.setFont(font());
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  const int selected_column = model_.SelectedColumn(), selected_row = model_.SelectedRow();
  for (int row = 0; row < CalendarExModel::kRows; ++row) {
    for (int column = 0; column < CalendarExModel::kColumns; ++column) {
      const QRect cell = CellRect(column, row);
      const QColor colour = platform::ToQColor(model_.CellColour(column, row));
      QString text;
      if (row == 0) {
        // Sunday first; the locale counts Monday as 1 and Sunday as 7.
        text = japanese.dayName(column == 0 ? 7 : column, QLocale::ShortFormat);
      } else {
        text = QString::fromStdString(model_.CellText(column, row));
      }
      const bool selected = row == selected_row && column == selected_column;
      painter.fillRect(cell, row == 0 ? face : selected ? colour : window);
      painter.setPen(selected ? window : colour);
      const QSize size = painter.fontMetrics().size(Qt::TextSingleLine, text);
      const int x = cell.left() + (cell.width() - size.width()) / 2;
      const int y = cell.top() + (cell.height() - size.height()) / 2;
      painter.drawText(QRect(QPoint(x, y), size), Qt::TextSingleLine, text);
      if (selected && hasFocus()) {
        painter.setPen(QPen(window, 1, Qt::DotLine));
        painter.drawRect(cell.adjusted(1, 1, -2, -2));
      }
    }
  }
}

void TCalendarEx::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) return;
  int column = 0, row = 0;
  if (!CellAt(event->position().toPoint(), column, row)) return;
  model_.Click(column, row);
  if (OnClick) OnClick();
}

void TCalendarEx::mouseDoubleClickEvent(QMouseEvent* event) {
  QWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick();
}

void TCalendarEx::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  if (OnKeyDown) OnKeyDown(key, event->modifiers());
  switch (key) {
    case 0:
      return;
    case Qt::Key_Left:
      model_.MoveSelection(-1, 0);
      return;
    case Qt::Key_Right:
      model_.MoveSelection(+1, 0);
      return;
    case Qt::Key_Up:
      model_.MoveSelection(0, -1);
      return;
    case Qt::Key_Down:
      model_.MoveSelection(0, +1);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace calendar
