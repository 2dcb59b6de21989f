// The main window's side of the launcher buttons.
#include "app/kvrwin.h"
#include "platform/file_system.h"

namespace app {

TIniGT& TKvrwin::LauncherSettings() {
  return *IniGT1;
}

std::filesystem::path TKvrwin::LauncherStartupDir() const {
  return StartupDir;
}

QString TKvrwin::LauncherHelpFile() const {
  return HelpFile;
}

QWidget* TKvrwin::LauncherWindow() {
  return this;
}

void TKvrwin::LauncherRestoreFolder() {
  // The data folder first, then the shown year's folder inside it; one more try if that fails.
  for (int attempt = 0; attempt < 2; ++attempt) {
    platform::SetCurrentDir(DataDir);
    if (platform::SetCurrentDir(DataDir / std::to_string(ShownDate.year()))) return;
  }
}

void TKvrwin::LauncherLaunched() {
  SetDate(ShownDate);
}

}  // namespace app
