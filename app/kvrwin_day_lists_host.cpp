// The main window as the host of the options dialog's page "特別日": its folders, the year and
// month on display, today's year, the half-month switch, the month rebuild and the birthday
// suffix setting.
#include "app/kvrwin.h"
#include "settings/settings_location.h"

namespace app {

std::filesystem::path TKvrwin::SpecialDataDir() const {
  // The labels follow the data folder the settings file names now; the window's own stands in
  // while the setting is empty.
  std::filesystem::path dir = settings::ReadDataFolderSetting(IniGT1->Store());
  return dir.empty() ? data_dir_ : dir;
}

int TKvrwin::SpecialShownYear() const {
  return cursor_.Year();
}

int TKvrwin::SpecialShownMonth() const {
  return cursor_.Month();
}

int TKvrwin::SpecialCurrentYear() {
  return CurrentToday().year();
}

int TKvrwin::ReadBirthdaySuffix(int current) const {
  return IniGT1->Store().ReadInteger(settings::keys::BirthdaySuffix, current);
}

void TKvrwin::WriteBirthdaySuffix(int index) {
  IniGT1->Store().WriteInteger(settings::keys::BirthdaySuffix, index);
}

}  // namespace app
