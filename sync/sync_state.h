// SyncState: what the last sync left behind for one calendar, so that the next one can tell
// which side changed what. For each day it keeps the server's resource and ETag and a hash of
// the day file's bytes as they stood when the two sides last agreed; for each event another
// client made, the ETag that was taken in. The file lives in the configuration folder, one per
// account, calendar and data folder, and is replaced atomically: it only ever records changes
// that were made.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace calsync {

// A date as YYYYMMDD, the key of the day records.
using DateKey = int;

struct DayRecord {
  std::string href;  // empty: the day is not on the server
  std::string etag;
  bool local = false;          // the day file existed at the last sync
  std::uint64_t hash = 0;      // of the file's bytes then
  std::int64_t size = -1;      // and its size and modification time, to skip reading it
  std::int64_t mtime_ns = -1;  // again while they are unchanged
  bool held = false;           // written with characters replaced: not sent until the user edits it
};

struct SyncState {
  std::string token;  // the server's sync token
  std::map<DateKey, DayRecord> days;
  std::map<std::string, std::string> foreign;  // href → ETag of events other clients made

  // An empty state when the file is missing; SyncError (kLocal) when it exists but cannot be
  // read or is not a state file, so that a damaged file never makes every day look new.
  static SyncState Load(const std::filesystem::path& file);
  void Save(const std::filesystem::path& file) const;
};

// FNV-1a, 64 bits: enough to tell whether a day file changed.
std::uint64_t HashBytes(std::string_view bytes);

// Where the state of one account, calendar and data folder is kept: a file in `config_dir`
// named by a hash of the three.
std::filesystem::path StateFile(const std::filesystem::path& config_dir, std::string_view url,
                                std::string_view user, std::string_view calendar_href,
                                const std::filesystem::path& data_dir);

}  // namespace calsync
