// TStringGrid: the owner-drawn string grid of the Windows toolkit that the month view is built
// on: rows and columns with texts, fixed leading columns, a default row height with per-row
// heights, a current cell, grid lines and no scroll bars. The owner paints every cell in
// DrawCell and sees keys before the grid's own arrow and page handling runs.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

class QPainter;

namespace platform {

class TStringGrid : public QWidget {
  Q_OBJECT

 public:
  // State bits of a cell being drawn, as the toolkit passes them.
  enum DrawState { kSelected = 1, kFocused = 2, kFixed = 4 };

  explicit TStringGrid(QWidget* parent = nullptr);

  int RowCount() const { return static_cast<int>(row_heights_.size()); }
  void SetRowCount(int rows);
  int ColCount() const { return static_cast<int>(col_widths_.size()); }
  void SetColCount(int cols);
  int FixedCols() const { return fixed_cols_; }
  void SetFixedCols(int n);

  int DefaultRowHeight() const { return default_row_height_; }
  // Sets every row to the new height, as the toolkit does.
  void SetDefaultRowHeight(int height);
  int RowHeight(int row) const { return row_heights_.at(static_cast<size_t>(row)); }
  void SetRowHeight(int row, int height);
  int ColWidth(int col) const { return col_widths_.at(static_cast<size_t>(col)); }
  void SetColWidth(int col, int width);
  int DefaultColWidth() const { return default_col_width_; }

  int Row() const { return row_; }
  void SetRow(int row);
  int Col() const { return col_; }
  void SetCol(int col);

  QString Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& text);

  QColor FixedColor() const { return fixed_color_; }
  void SetFixedColor(const QColor& colour);
  QColor Color() const { return color_; }
  void SetColor(const QColor& colour);

  // The rectangle of a cell in widget coordinates (empty when it is out of view).
  QRect CellRect(int col, int row) const;
  // The part of the cell inside the grid: what is seen of a column wider than the grid.
  QRect ShownCellRect(int col, int row) const { return CellRect(col, row) & rect(); }
  // The cell under a point; false outside every cell.
  bool MouseToCell(const QPoint& point, int& col, int& row) const;
  // The rows that fit, counted from the first.
  int VisibleRowCount() const;
  // The sum of the row heights and the grid lines between them.
  int GridHeight() const;

  // Whether the grid is its window's focused control, active window or not (the toolkit's
  // Focused, which the drawing of the month grids asks).
  bool Focused() const;

  // The painter the owner draws with during DrawCell.
  QPainter* Canvas() const { return canvas_; }

 signals:
  // `rect` is the part of the cell that is seen (ShownCellRect): nothing is to be drawn
  // outside it, not even under the clip, as a PDF would keep hidden text.
  void DrawCell(int col, int row, const QRect& rect, int state);
  // `key` may be set to 0 to keep the grid from handling the key itself.
  void KeyDown(int& key, Qt::KeyboardModifiers modifiers);
  void DblClick();
  void MouseUp(Qt::MouseButton button, const QPoint& point);
  void RightClick(const QPoint& global_point);
  void RowChanged(int row);
  // Asked when the pointer rests on a cell: `hint` set to a text shows it as the cell's tool
  // tip (a text the cell shows cut, for instance); left empty shows none.
  void CellHint(int col, int row, const QRect& rect, QString& hint);
  void FocusChanged(bool focused);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool event(QEvent* event) override;

 private:
  static constexpr int kLineWidth = 1;

  std::vector<int> row_heights_;
  std::vector<int> col_widths_;
  std::vector<std::vector<QString>> cells_;  // [row][col]
  int fixed_cols_ = 1;
  int default_row_height_ = 24;
  int default_col_width_ = 64;
  int row_ = 0;
  int col_ = 1;
  QColor fixed_color_{0xF0, 0xF0, 0xF0};
  QColor color_{Qt::white};
  QPainter* canvas_ = nullptr;
};

}  // namespace platform
