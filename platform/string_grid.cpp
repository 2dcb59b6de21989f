#include "platform/string_grid.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QToolTip>

#include <algorithm>

namespace platform {

TStringGrid::TStringGrid(QWidget* parent) : QWidget(parent) {
  // Tab focus only: a click takes the focus in mousePressEvent, after the cell under the
  // pointer is known (the toolkit would give it before the press is delivered).
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted, nothing to erase first
  SetColCount(2);
  SetRowCount(16);
}

void TStringGrid::SetRowCount(int rows) {
  rows = std::max(rows, 1);
  row_heights_.resize(static_cast<size_t>(rows), default_row_height_);
  cells_.resize(static_cast<size_t>(rows));
  for (auto& row : cells_) row.resize(col_widths_.size());
  row_ = std::min(row_, rows - 1);
  update();
}

void TStringGrid::SetColCount(int cols) {
  cols = std::max(cols, 1);
  col_widths_.resize(static_cast<size_t>(cols), default_col_width_);
  for (auto& row : cells_) row.resize(static_cast<size_t>(cols));
  col_ = std::clamp(col_, fixed_cols_, std::max(fixed_cols_, cols - 1));
  update();
}

void TStringGrid::SetFixedCols(int n) {
  fixed_cols_ = std::clamp(n, 0, ColCount() - 1);
  col_ = std::max(col_, fixed_cols_);
  update();
}

void TStringGrid::SetDefaultRowHeight(int height) {
  default_row_height_ = std::max(height, 1);
  std::fill(row_heights_.begin(), row_heights_.end(), default_row_height_);
  update();
}

void TStringGrid::SetRowHeight(int row, int height) {
  if (row < 0 || row >= RowCount()) return;
  height = std::max(height, 0);
  if (row_heights_[static_cast<size_t>(row)] == height) return;
  row_heights_[static_cast<size_t>(row)] = height;
  update();
}

void TStringGrid::SetColWidth(int col, int width) {
  if (col < 0 || col >= ColCount()) return;
  col_widths_[static_cast<size_t>(col)] = std::max(width, 0);
  update();
}

void TStringGrid::SetRow(int row) {
  row = std::clamp(row, 0, RowCount() - 1);
  if (row == row_) return;
  row_ = row;
  update();
  emit RowChanged(row_);
}

void TStringGrid::SetCol(int col) {
  col = std::clamp(col, fixed_cols_, ColCount() - 1);
  if (col == col_) return;
  col_ = col;
  update();
}

QString TStringGrid::Cell(int col, int row) const {
  if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount()) return {};
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void TStringGrid::SetCell(int col, int row, const QString& text) {
  if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount()) return;
  QString& cell = cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
  if (cell == text) return;
  cell = text;
  update(CellRect(col, row));
}

void TStringGrid::SetFixedColor(const QColor& colour) {
  if (fixed_color_ == colour) return;
  fixed_color_ = colour;
  update();
}

void TStringGrid::SetColor(const QColor& colour) {
  if (color_ == colour) return;
  color_ = colour;
  update();
}

QRect TStringGrid::CellRect(int col, int row) const {
  if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount()) return {};
  int x = 0;
  for (int c = 0; c < col; ++c) x += col_widths_[static_cast<size_t>(c)] + kLineWidth;
  int y = 0;
  for (int r = 0; r < row; ++r) y += row_heights_[static_cast<size_t>(r)] + kLineWidth;
  return QRect(x, y, col_widths_[static_cast<size_t>(col)], row_heights_[static_cast<size_t>(row)]);
}

bool TStringGrid::MouseToCell(const QPoint& point, int& col, int& row) const {
  int y = 0;
  row = -1;
  for (int r = 0; r < RowCount(); ++r) {
    int h = row_heights_[static_cast<size_t>(r)] + kLineWidth;
    if (point.y() >= y && point.y() < y + h) {
      row = r;
      break;
    }
    y += h;
  }
  int x = 0;
  col = -1;
  for (int c = 0; c < ColCount(); ++c) {
    int w = col_widths_[static_cast<size_t>(c)] + kLineWidth;
    if (point.x() >= x && point.x() < x + w) {
      col = c;
      break;
    }
    x += w;
  }
  return row >= 0 && col >= 0;
}

int TStringGrid::VisibleRowCount() const {
  int y = 0, count = 0;
  for (int h : row_heights_) {
    y += h + kLineWidth;
    if (y > height() + kLineWidth) break;
    ++count;
  }
  return std::max(count, 1);
}

bool TStringGrid::Focused() const {
  return window()->focusWidget() == this;
}

int TStringGrid::GridHeight() const {
  int total = 0;
  for (int h : row_heights_) total += h + kLineWidth;
  return total;
}

void TStringGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // The cells cover the grid's area but for the one-pixel grid lines between them: only the
  // cells, the lines and what lies below the last row are painted (every pixel painted once
  // more costs a month switch its time).
  const int grid_height = std::min(height(), GridHeight());
  if (grid_height < height()) {
    painter.fillRect(QRect(0, grid_height, width(), height() - grid_height),
                     palette().color(QPalette::Window));
  }
  canvas_ = &painter;
  for (int row = 0; row < RowCount(); ++row) {
    for (int col = 0; col < ColCount(); ++col) {
      const QRect cell = ShownCellRect(col, row);
      if (cell.isEmpty() || !event->rect().intersects(cell)) continue;
      int state = 0;
      if (col < fixed_cols_) state |= kFixed;
      if (row == row_ && col == col_) state |= kSelected | (Focused() ? kFocused : 0);
      painter.save();
      painter.setClipRect(cell);
      painter.fillRect(cell, (state & kFixed) ? fixed_color_ : color_);
      emit DrawCell(col, row, cell, state);
      painter.restore();
    }
  }
  canvas_ = nullptr;
  // The lines last: a PDF viewer that snaps a cell's fill to whole pixels at a small zoom
  // would otherwise paint the cell over the thin line beside it. They are strokes, not
  // one-pixel fills: scaled below a pixel (a preview, a PDF at a small zoom) a stroke is still
  // drawn a pixel wide, where a fill vanished from every row whose line fell between pixels.
  // On paper the pen keeps the width of a screen pixel.
  QPen pen(QColor(0x80, 0x80, 0x80), kLineWidth);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  const QColor line_colour = pen.color();
  int y = 0;
  for (int h : row_heights_) {
    y += h;
    if (y >= grid_height) break;
    painter.drawLine(QLineF(0, y + 0.5, width(), y + 0.5));
    y += kLineWidth;
  }
  int x = 0;
  for (int w : col_widths_) {
    x += w;
    if (x >= width()) break;
    painter.drawLine(QLineF(x + 0.5, 0, x + 0.5, grid_height));
    x += kLineWidth;
  }
  // Right of the last column.
  if (x < width()) painter.fillRect(QRect(x, 0, width() - x, grid_height), line_colour);
}

bool TStringGrid::event(QEvent* event) {
  // The arrow keys and Tab belong to the grid, not to focus navigation.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  }
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    int col, row;
    QString hint;
    if (MouseToCell(help->pos(), col, row)) emit CellHint(col, row, ShownCellRect(col, row), hint);
    if (hint.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), hint, this, ShownCellRect(col, row));
    }
    return true;
  }
  return QWidget::event(event);
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
  int key = event->key();
  emit KeyDown(key, event->modifiers());
  switch (key) {
    case Qt::Key_Up:
      SetRow(row_ - 1);
      break;
    case Qt::Key_Down:
      SetRow(row_ + 1);
      break;
    case Qt::Key_PageUp:
      SetRow(row_ - VisibleRowCount());
      break;
    case Qt::Key_PageDown:
      SetRow(row_ + VisibleRowCount());
      break;
    case Qt::Key_Left:
      SetCol(col_ - 1);
      break;
    case Qt::Key_Right:
      SetCol(col_ + 1);
      break;
    default:
      break;
  }
  event->accept();
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
  // The cell is found before the grid takes the focus: the owner may change row heights when
  // the focus arrives (an enlarged cursor row), and the click belongs to the row the user saw.
  int col, row;
  const bool on_cell = event->button() == Qt::LeftButton &&
                       MouseToCell(event->position().toPoint(), col, row) && col >= fixed_cols_;
  setFocus(Qt::MouseFocusReason);
  if (on_cell) {
    SetCol(col);
    SetRow(row);
  }
  if (event->button() == Qt::RightButton) emit RightClick(event->globalPosition().toPoint());
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(event->button(), event->position().toPoint());
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The double click opens the cell under the pointer, even when its first click was lost.
  int col, row;
  if (MouseToCell(event->position().toPoint(), col, row) && col >= fixed_cols_) {
    SetCol(col);
    SetRow(row);
  }
  emit DblClick();
}

void TStringGrid::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  emit FocusChanged(true);
}

void TStringGrid::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
  // Losing the window's active state is no loss of the grid's focus.
  if (!Focused()) emit FocusChanged(false);
}

}  // namespace platform
