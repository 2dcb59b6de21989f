// YearlyDayHostAdapter: the main window as the options dialog's page "特別日" sees it: the year
// and month on display, today's year, the half-month switch and the month rebuild.
#pragma once

#include "options/yearly_day_host.h"

namespace app {

class TKvrwin;

class YearlyDayHostAdapter final : public options::SpecialDayHost {
 public:
  explicit YearlyDayHostAdapter(TKvrwin& window) : window_(window) {}

  int SpecialShownYear() const override;
  int SpecialShownMonth() const override;
  int SpecialCurrentYear() override;
  bool SpecialHalfMonth() const override;
  void SpecialRebuildMonth() override;

 private:
  TKvrwin& window_;
};

}  // namespace app
