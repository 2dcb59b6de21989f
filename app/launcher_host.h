// LauncherHost: what the launcher buttons need of the main window: putting the working folder
// back, redrawing after a launch, and the report of a failed settings write.
#pragma once

#include <functional>

class QWidget;

namespace app {

class LauncherHost {
 public:
  virtual ~LauncherHost() = default;
  // Back to the data folder and the shown year's folder after the file dialog moved away.
  virtual void LauncherRestoreFolder() = 0;
  // After a successful launch: the shown date is set again, which reloads the month.
  virtual void LauncherLaunched() = 0;
  // Parent of the menu, the dialog and the messages.
  virtual QWidget* LauncherWindow() = 0;
  // Runs a write to the settings file; when it fails (std::system_error) the host reports it
  // to the user. False when it failed.
  virtual bool ReportedWrite(const std::function<void()>& write) = 0;
};

}  // namespace app
