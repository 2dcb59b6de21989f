// One sync as the program and mirune-cli run it: log in to the account's server, find its
// calendar, and run the engine against it with the state kept for this account, calendar and
// data folder. Also what the options page needs: the server's calendars, and the password in
// the desktop keyring. Every failure is a SyncError with a message for the user. The process
// needs a QCoreApplication; each call works in the thread it is made in.
#pragma once

#include <atomic>
#include <cstddef>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sync/sync_account.h"
#include "sync/sync_engine.h"

namespace calsync {

struct CalendarChoice {
  std::string href, name;  // UTF-8
};

// The calendars the account's user has on the server.
std::vector<CalendarChoice> FindCalendars(const SyncAccount& account, const std::string& password);

struct SyncRequest {
  SyncAccount account;
  std::string password;
  // A calendar chosen for this run: its name, or its path on the server ("/user/calendar/");
  // empty for the account's own, or the only calendar there is.
  std::string calendar;
  std::filesystem::path data_dir;
  std::filesystem::path state_dir;  // where the state files lie (StateDir() in the program)
  std::time_t now = 0;
  std::function<bool(const std::string& stage, std::size_t done, std::size_t total)> progress;
  int timeout_seconds = 30;
  // Set from any thread to stop: the request under way is cut off (SyncError kStopped).
  const std::atomic<bool>* stop = nullptr;
};

struct SyncOutcome {
  SyncReport report;
  std::string calendar_href;  // the calendar that was synced, to remember in the account
};

SyncOutcome RunSync(const SyncRequest& request);

// The password kept in the desktop keyring for the account ("" when none is kept).
std::string ReadPassword(const SyncAccount& account);
void WritePassword(const SyncAccount& account, const std::string& password);

}  // namespace calsync
