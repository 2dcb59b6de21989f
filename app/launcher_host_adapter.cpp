#include "app/launcher_host_adapter.h"

#include "app/kvrwin.h"
#include "daydata/day_store.h"

namespace app {

settings::TIniGT& LauncherHostAdapter::LauncherSettings() {
  return context_.Settings();
}

std::filesystem::path LauncherHostAdapter::LauncherStartupDir() const {
  return context_.StartupDir();
}

QString LauncherHostAdapter::LauncherHelpFile() const {
  return context_.HelpFile();
}

QWidget* LauncherHostAdapter::LauncherWindow() {
  return &window_;
}

std::filesystem::path LauncherHostAdapter::LauncherWorkingFolder() const {
  return daydata::DayStore(context_.DataDir(), {})
      .ReadFolder(std::to_string(window_.cursor_.Year()));
}

void LauncherHostAdapter::LauncherLaunched() {
  window_.SetDate(window_.ShownDate());
}

}  // namespace app
