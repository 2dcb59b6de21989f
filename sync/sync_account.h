// SyncAccount: which server, user and calendar the sync uses, and when it runs, as the options
// dialog edits them and the settings file keeps them (section 同期). The password is not part
// of it: it lives in the desktop keyring.
#pragma once

#include <filesystem>
#include <string>

#include "settings/ini_store.h"

namespace calsync {

struct SyncAccount {
  std::string url, user;  // UTF-8
  std::string calendar;   // the calendar's path on the server; empty until one is chosen
  bool at_start = false, at_exit = false;
  int interval_minutes = 0;  // 0: no sync while the program runs

  bool Configured() const { return !url.empty() && !user.empty(); }
};

SyncAccount ReadAccount(const settings::IniStore& ini);
// Writes the account's keys into the store (the caller saves the file).
void WriteAccount(settings::IniStore& ini, const SyncAccount& account);

// The folder that keeps the sync state: $XDG_CONFIG_HOME/mirune/sync, else ~/.config/….
std::filesystem::path StateDir();

}  // namespace calsync
