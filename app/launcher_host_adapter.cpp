#include "app/launcher_host_adapter.h"

#include "app/app_context.h"
#include "app/kvrwin.h"
#include "platform/file_system.h"

namespace app {

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

bool LauncherHostAdapter::ReportedWrite(const std::function<void()>& write) {
  return context_.Reported(&window_, write);
}

void LauncherHostAdapter::LauncherLaunched() {
  window_.SetDate(window_.ShownDate());
}

}  // namespace app
