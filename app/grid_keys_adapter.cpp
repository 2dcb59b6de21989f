#include "app/grid_keys_adapter.h"

#include "app/kvrwin.h"
#include "platform/string_grid.h"

namespace app {

const month::MonthCursor& GridKeysAdapter::Cursor() const {
  return window_.cursor_;
}

int GridKeysAdapter::Row(int grid) const {
  return window_.Grid(grid)->Row();
}

void GridKeysAdapter::SelectRow(int grid, int row) {
  window_.SelectGridRow(grid, row);
}

void GridKeysAdapter::SetRow(int grid, int row) {
  window_.Grid(grid)->SetRow(row);
}

void GridKeysAdapter::StepMonth(int n) {
  window_.StepMonth(n);
}

void GridKeysAdapter::PrevHalfMonth() {
  window_.PrevHalfMonth();
}

void GridKeysAdapter::NextHalfMonth() {
  window_.NextHalfMonth();
}

calendar::CalendarPort& GridKeysAdapter::Calendar() {
  return *window_.calendar_;
}

}  // namespace app
