// LauncherHost: what the launcher buttons need of the main window: its settings, the start-up
// folder, the help file, the folder a launched program starts in, and redrawing after a launch.
#pragma once

#include <QString>

#include <filesystem>

class QWidget;

namespace settings {
class TIniGT;
}

namespace app {

class LauncherHost {
 public:
  virtual ~LauncherHost() = default;
  virtual settings::TIniGT& LauncherSettings() = 0;
  virtual std::filesystem::path LauncherStartupDir() const = 0;
  virtual QString LauncherHelpFile() const = 0;
  // The folder a launched program starts in: the one the shown year's days are read from.
  virtual std::filesystem::path LauncherWorkingFolder() const = 0;
  // After a successful launch: the shown date is set again, which reloads the month.
  virtual void LauncherLaunched() = 0;
  // Parent of the menu, the dialog and the messages.
  virtual QWidget* LauncherWindow() = 0;
};

}  // namespace app
