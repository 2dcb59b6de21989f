// LauncherHostAdapter: the main window as the launcher buttons see it: the folder a launched
// program starts in, the redraw after a launch and the report of a failed settings write.
#pragma once

#include "app/launcher_host.h"

namespace app {

class AppContext;
class TKvrwin;

class LauncherHostAdapter final : public LauncherHost {
 public:
  LauncherHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  std::filesystem::path LauncherWorkingFolder() const override;
  void LauncherLaunched() override;
  QWidget* LauncherWindow() override;
  bool ReportedWrite(const std::function<void()>& write) override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
