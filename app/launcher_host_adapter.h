// LauncherHostAdapter: the main window as the launcher buttons see it: the settings file, the
// start-up folder, the help file, the folder a launched program starts in and the redraw after
// a launch.
#pragma once

#include "app/launcher_host.h"

namespace app {

class AppContext;
class TKvrwin;

class LauncherHostAdapter final : public LauncherHost {
 public:
  LauncherHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  settings::TIniGT& LauncherSettings() override;
  std::filesystem::path LauncherStartupDir() const override;
  QString LauncherHelpFile() const override;
  std::filesystem::path LauncherWorkingFolder() const override;
  void LauncherLaunched() override;
  QWidget* LauncherWindow() override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
