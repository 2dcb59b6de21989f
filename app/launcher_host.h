// LauncherHost: what the launcher buttons need of the main window: the folder a launched
// program starts in, redrawing after a launch, and the report of a failed settings write.
#pragma once

#include <filesystem>
#include <functional>

class QWidget;

namespace app {

class LauncherHost {
 public:
  virtual ~LauncherHost() = default;
  // The folder a launched program starts in: the one the shown year's days are read from.
  virtual std::filesystem::path LauncherWorkingFolder() const = 0;
  // After a successful launch: the shown date is set again, which reloads the month.
  virtual void LauncherLaunched() = 0;
  // Parent of the menu, the dialog and the messages.
  virtual QWidget* LauncherWindow() = 0;
  // Runs a write to the settings file; when it fails (std::system_error) the host reports it
  // to the user. False when it failed.
  virtual bool ReportedWrite(const std::function<void()>& write) = 0;
};

}  // namespace app
