#include "app/launcher_host_adapter.h"

#include "app/kvrwin.h"
#include "platform/file_system.h"

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

void LauncherHostAdapter::LauncherRestoreFolder() {
  // The data folder first, then the shown year's folder inside it; one more try if that fails.
  const std::filesystem::path& data_dir = context_.DataDir();
  for (int attempt = 0; attempt < 2; ++attempt) {
    platform::SetCurrentDir(data_dir);
    if (platform::SetCurrentDir(data_dir / std::to_string(window_.cursor_.Year()))) return;
  }
}

void LauncherHostAdapter::LauncherLaunched() {
  window_.SetDate(window_.ShownDate());
}

}  // namespace app
