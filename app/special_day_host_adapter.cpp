#include "app/special_day_host_adapter.h"

#include "app/kvrwin.h"
#include "settings/schema.h"
#include "settings/settings_location.h"

namespace app {

std::filesystem::path SpecialDayHostAdapter::SpecialStartupDir() const {
  return context_.StartupDir();
}

std::filesystem::path SpecialDayHostAdapter::SpecialDataDir() const {
  // The labels follow the data folder the settings file names now; the window's own stands in
  // while the setting is empty.
  std::filesystem::path dir = settings::ReadDataFolderSetting(context_.Store());
  return dir.empty() ? context_.DataDir() : dir;
}

int SpecialDayHostAdapter::SpecialShownYear() const {
  return window_.cursor_.Year();
}

int SpecialDayHostAdapter::SpecialShownMonth() const {
  return window_.cursor_.Month();
}

int SpecialDayHostAdapter::SpecialCurrentYear() {
  return window_.CurrentToday().year();
}

bool SpecialDayHostAdapter::SpecialHalfMonth() const {
  return window_.cursor_.HalfMonth();
}

void SpecialDayHostAdapter::SpecialRebuildMonth() {
  window_.BuildMonth();
}

int SpecialDayHostAdapter::ReadBirthdaySuffix(int current) const {
  return context_.Store().ReadInteger(settings::keys::BirthdaySuffix, current);
}

void SpecialDayHostAdapter::WriteBirthdaySuffix(int index) {
  context_.Store().WriteInteger(settings::keys::BirthdaySuffix, index);
}

QString SpecialDayHostAdapter::SpecialHelpFile() const {
  return context_.HelpFile();
}

}  // namespace app
