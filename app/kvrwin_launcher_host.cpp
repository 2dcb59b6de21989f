// The main window's side of the launcher buttons.
#include "app/kvrwin.h"
#include "platform/file_system.h"

namespace app {

settings::TIniGT& TKvrwin::LauncherSettings() {
  return *IniGT1;
}

std::filesystem::path TKvrwin::LauncherStartupDir() const {
  return startup_dir_;
}

QString TKvrwin::LauncherHelpFile() const {
  return help_file_;
}

QWidget* TKvrwin::LauncherWindow() {
  return this;
}

void TKvrwin::LauncherRestoreFolder() {
  // The data folder first, then the shown year's folder inside it; one more try if that fails.
  for (int attempt = 0; attempt < 2; ++attempt) {
    platform::SetCurrentDir(data_dir_);
    if (platform::SetCurrentDir(data_dir_ / std::to_string(cursor_.Year()))) return;
  }
}

void TKvrwin::LauncherLaunched() {
  SetDate(ShownDate());
}

}  // namespace app
