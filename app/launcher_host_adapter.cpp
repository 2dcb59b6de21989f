#include "app/launcher_host_adapter.h"

#include "app/app_context.h"
#include "app/kvrwin.h"
#include "daydata/day_store.h"

namespace app {

QWidget* LauncherHostAdapter::LauncherWindow() {
  return &window_;
}

std::filesystem::path LauncherHostAdapter::LauncherWorkingFolder() const {
  return daydata::DayStore(context_.DataDir(), {})
      .ReadFolder(std::to_string(window_.cursor_.Year()));
}

bool LauncherHostAdapter::ReportedWrite(const std::function<void()>& write) {
  return context_.Reported(&window_, write);
}

void LauncherHostAdapter::LauncherLaunched() {
  window_.SetDate(window_.ShownDate());
}

}  // namespace app
