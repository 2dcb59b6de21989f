#include "app/app_context.h"

#include "clock/time_source.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "platform/install_layout.h"
#include "platform/message_box.h"
#include "settings/ini_gt.h"
#include "settings/settings_location.h"
#include "settings/starter_settings.h"

namespace fs = std::filesystem;

namespace app {

namespace {

// An older settings file of the start-up folder is taken over once. An existing new file is
// never overwritten by it.
void TakeOverOldSettingsFile(const fs::path& startup_dir, const fs::path& settings_file) {
  const fs::path old_file = startup_dir / settings::kOldSettingsFileName;
  const int attributes = platform::FileAttributes(old_file);
  if (attributes < 0 ||
      (attributes & (platform::kAttrDirectory | platform::kAttrHidden | platform::kAttrSystem)) !=
          0 ||
      fs::exists(settings_file))
    return;
  std::error_code ignore;
  fs::rename(old_file, settings_file, ignore);
  if (ignore) {
    fs::copy_file(old_file, settings_file, ignore);
    if (!ignore) fs::remove(old_file, ignore);
  }
}

}  // namespace

AppContext::AppContext(fs::path startup_dir)
    : startup_dir_(std::move(startup_dir)),
      help_file_(
          QString::fromStdString(platform::FindHelpFile(platform::ExecutableDir()).string())),
      settings_(std::make_unique<settings::TIniGT>()),
      time_(&timeclock::SystemTime()) {
  settings_->setObjectName("IniGT1");
  settings_->SetFileName(settings::kSettingsFileName);
  settings_->SetDefaultDir(settings::TIniGTDefaultDir::ddApplication);
  TakeOverOldSettingsFile(startup_dir_, settings_->Path());
  // A first start gets a Japanese calendar: holidays, rokuyou, red Sundays and blue Saturdays
  // and the maxims that come with the program. A file that cannot be made here is reported by
  // the first setting that is written.
  try {
    settings::WriteStarterSettings(settings_->Store(), startup_dir_,
                                   platform::FindMaximsFile(platform::ExecutableDir()));
  } catch (const std::system_error&) {
  }
}

AppContext::~AppContext() = default;

settings::IniStore& AppContext::Store() {
  return settings_->Store();
}

const settings::IniStore& AppContext::Store() const {
  return settings_->Store();
}

void AppContext::ReportError(QWidget* parent, const std::exception& error) const {
  platform::ShowErrorBox(parent, QString::fromUtf8(error.what()));
}

}  // namespace app
