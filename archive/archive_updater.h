// Creates an LZH archive or brings it up to date with a list of files: a listed file replaces
// the member of the same name (letter case ignored, as on Windows) or is added at the end, and
// the other members are kept in their order. The new archive is written to a temporary file
// and renamed over the old one, so a failure at any point leaves the previous archive as it was.
// An archive named "*.zip" is a ZIP archive with UTF-8 names; every other name is LZH.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/archive_progress.h"

namespace archive {

// A failure with its UnlhaResult value and a UTF-8 message.
class UpdateError : public std::runtime_error {
 public:
  UpdateError(int result, const std::string& what) : std::runtime_error(what), result_(result) {}
  int result() const { return result_; }

 private:
  int result_;
};

struct UpdateResult {
  int added = 0;
  int replaced = 0;
  int kept = 0;
};

class ArchiveUpdater {
 public:
  // Files are stored under their bare names (code page 932 in LZH, UTF-8 in ZIP); folders among
  // them are passed over. `progress` hears of every member packed; when it cancels, nothing is
  // written (UpdateError with kUnlhaCancelled). Throws UpdateError.
  static UpdateResult Update(const std::filesystem::path& archive_path,
                             const std::vector<std::filesystem::path>& files,
                             const ProgressCallback& progress = {});
};

}  // namespace archive
