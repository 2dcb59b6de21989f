// SyncEngine: two-way sync of a data folder's day files with one calendar on a server. Each day
// is one all-day event (see ical/day_event.h) at a resource named by its date, the same from
// every machine, so two computers and a phone share one event per day. The sync state tells
// which side changed a day since the two last agreed:
//
//   changed here only    → sent (PUT over the ETag last seen, or only where none is yet);
//   changed there only   → written here, atomically;
//   changed on both      → the day keeps both texts, ours first, then a marked line and the
//                          server's, and the merged day is sent back; the report names it;
//   deleted on one side, changed on the other → kept, as changed;
//   deleted there, unchanged here → the day file goes to the desktop trash, never deleted.
//
// A server text with characters code page 932 cannot hold is written with 〓 in their place,
// and that day is not sent back (which would destroy the server's copy) until the user edits
// it; the report warns then. Events that other clients made become lines of their days, as an
// iCalendar import makes them; a single event is then removed from the server, since the day
// now carries it, while a recurring one stays there, for the phone to keep the series.
//
// Nothing is half-applied: each day is written atomically, and the state is saved after the
// changes it records, so a sync that failed midway (network, server, stop) is simply run again.
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "sync/calendar_server.h"
#include "sync/sync_state.h"

namespace calsync {

struct SyncOptions {
  std::filesystem::path data_dir;
  std::filesystem::path state_file;
  // The time written into merge marks and event stamps.
  std::time_t now = 0;
  // Called with a stage text (Japanese), the steps done and their number; false stops the sync
  // between two days (SyncError kStopped).
  std::function<bool(const std::string& stage, std::size_t done, std::size_t total)> progress;
};

struct SyncReport {
  int sent = 0;                       // days put on the server
  int received = 0;                   // days written here from the server
  int trashed = 0;                    // days moved to the trash because the server deleted them
  int removed = 0;                    // days deleted on the server because they were deleted here
  int taken_in = 0;                   // events of other clients taken into days
  std::vector<std::string> merged;    // "YYYY-MM-DD" of days that kept both texts
  std::vector<std::string> held;      // days written with 〓, not sent back
  std::vector<std::string> warnings;  // UTF-8, one per thing the user should know
  bool Changed() const { return sent || received || trashed || removed || taken_in; }
};

// The UID and resource name of a date's day on the server: the same on every machine.
std::string SyncUid(int year, int month, int day);
std::string SyncResourceName(int year, int month, int day);

// Runs one sync. Throws SyncError for a failure that ends it; the state then holds what was
// done, without the server's new sync token.
SyncReport Sync(CalendarServer& server, const SyncOptions& options);

// The report as the user reads it, in Japanese (UTF-8).
std::string ReportText(const SyncReport& report);

}  // namespace calsync
