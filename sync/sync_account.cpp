#include "sync/sync_account.h"

#include "platform/cp932.h"
#include "settings/settings_location.h"

namespace calsync {

using namespace settings::keys;

SyncAccount ReadAccount(const settings::IniStore& ini) {
  SyncAccount account;
  account.url = cp932::ToUtf8(ini.ReadString(SyncUrl));
  account.user = cp932::ToUtf8(ini.ReadString(SyncUser));
  account.calendar = cp932::ToUtf8(ini.ReadString(SyncCalendar));
  account.at_start = ini.ReadBool(SyncAtStart);
  account.at_exit = ini.ReadBool(SyncAtExit);
  int minutes = ini.ReadInteger(SyncInterval);
  account.interval_minutes =
      minutes >= SyncInterval.min && minutes <= SyncInterval.max ? minutes : 0;
  return account;
}

void WriteAccount(settings::IniStore& ini, const SyncAccount& account) {
  ini.WriteString(SyncUrl, cp932::FromUtf8(account.url));
  ini.WriteString(SyncUser, cp932::FromUtf8(account.user));
  ini.WriteString(SyncCalendar, cp932::FromUtf8(account.calendar));
  ini.WriteBool(SyncAtStart, account.at_start);
  ini.WriteBool(SyncAtExit, account.at_exit);
  ini.WriteInteger(SyncInterval, account.interval_minutes);
}

std::filesystem::path StateDir() {
  return settings::UserConfigDir() / "sync";
}

}  // namespace calsync
