// SpecialDayHostAdapter: the main window as the options dialog's page "特別日" sees it: its
// folders, the year and month on display, today's year, the half-month switch, the month rebuild
// and the birthday suffix setting.
#pragma once

#include "options/yearly_day_host.h"

namespace app {

class AppContext;
class TKvrwin;

class SpecialDayHostAdapter final : public options::SpecialDayHost {
 public:
  SpecialDayHostAdapter(AppContext& context, TKvrwin& window)
      : context_(context), window_(window) {}

  std::filesystem::path SpecialStartupDir() const override;
  std::filesystem::path SpecialDataDir() const override;
  int SpecialShownYear() const override;
  int SpecialShownMonth() const override;
  int SpecialCurrentYear() override;
  bool SpecialHalfMonth() const override;
  void SpecialRebuildMonth() override;
  int ReadBirthdaySuffix(int current) const override;
  void WriteBirthdaySuffix(int index) override;
  QString SpecialHelpFile() const override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
