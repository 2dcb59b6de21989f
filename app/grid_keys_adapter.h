// GridKeysAdapter: the main window's two grids as the arrow-key rules see them: the cursor, the
// grids' rows, the month and half-month steps and the calendar that follows.
#pragma once

#include "month/grid_keys.h"

namespace app {

class TKvrwin;

class GridKeysAdapter final : public month::GridKeyTarget {
 public:
  explicit GridKeysAdapter(TKvrwin& window) : window_(window) {}

  const month::MonthCursor& Cursor() const override;
  int Row(int grid) const override;
  void SelectRow(int grid, int row) override;
  void SetRow(int grid, int row) override;
  void StepMonth(int n) override;
  void PrevHalfMonth() override;
  void NextHalfMonth() override;
  calendar::CalendarPort& Calendar() override;

 private:
  TKvrwin& window_;
};

}  // namespace app
