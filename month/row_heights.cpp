#include "month/row_heights.h"

#include <algorithm>

namespace month {
namespace {

// Client height that is not the grids': tool bar, title and frame, and the status line.
int ReservedHeight(bool status_shown) {
  return status_shown ? 120 : 92;
}

}  // namespace

int MinimumRowHeight(const GridLines& lines) {
  return 2 * kCellMargin + 2 * std::max({lines.date_line, lines.text_line, 1});
}

int RowHeightFor(int client_height, bool status_shown, const GridLines& lines) {
  const int share = (client_height - ReservedHeight(status_shown)) / kRowsPerGrid;
  return std::max(share, MinimumRowHeight(lines));
}

int RowShare(int client_height, bool status_shown) {
  return std::max((client_height - ReservedHeight(status_shown)) / kRowsPerGrid, 1);
}

double FontScaleFor(int row_height, const GridLines& lines) {
  const int needed = MinimumRowHeight(lines);
  if (row_height >= needed) return 1.0;
  return static_cast<double>(std::max(row_height - 2 * kCellMargin, 1)) /
         (needed - 2 * kCellMargin);
}

int ClientHeightFor(int row_height, bool status_shown) {
  return kRowsPerGrid * row_height + ReservedHeight(status_shown);
}

int WholeLinesHeight(int height, int line) {
  if (line <= 0 || height <= 0) return 0;
  return height / line * line;
}

}  // namespace month
