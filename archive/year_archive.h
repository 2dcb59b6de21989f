// Packs the day files of one year folder into a chosen archive with a backup of the previous
// one: the compression the program runs when it closes, and `mirune-cli archive-year` from cron.
// The new archive is written beside the old one and renamed into place only when complete; the
// backup is a copy of the previous archive, made only then. So a failure or a cancel leaves the
// old archive and the old backup as they were.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_format.h"
#include "archive/archive_progress.h"
#include "archive/archiver_library.h"

namespace archive {

struct YearArchiveResult {
  enum class Outcome { kCompressed, kNoDayFiles, kFailed, kCancelled };
  Outcome outcome = Outcome::kFailed;
  std::filesystem::path folder;  // the year folder packed
  std::filesystem::path archive;
  std::filesystem::path backup;
  bool backed_up = false;  // the previous archive was copied to `backup`
  int files = 0;           // day files packed
  std::string reason;      // UTF-8: why it failed, the library's own words where it gave them
};

// The backup of an archive of `year_folder`: the folder's path with ".LZH" (".ZIP" for a ZIP
// archive) added, so for ".../data/1999" it is ".../data/1999.LZH".
std::filesystem::path BackupArchivePath(const std::filesystem::path& year_folder,
                                        ArchiveFormat format);

// The bare names of the regular files "*.dat" (letter case ignored) in a folder, sorted.
std::vector<std::string> DayFileNames(const std::filesystem::path& folder);

// `library` must be loaded. `progress` hears of the members packed and may cancel.
YearArchiveResult CompressYearFolder(ArchiverLibrary& library,
                                     const std::filesystem::path& year_folder,
                                     const std::filesystem::path& archive_path,
                                     const ProgressCallback& progress = {});

// The message shown after the exit compression (UTF-8).
std::string YearArchiveMessage(const YearArchiveResult& result);

}  // namespace archive
