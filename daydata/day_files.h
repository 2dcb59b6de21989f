// The day files of a data folder, found by name: a folder per year ("2026") holding
// "KVR20261209.dat" for each day that has a file. Names are matched without regard to letter
// case, as the Windows file system matches them; anything else in the folders is left alone.
#pragma once

#include <filesystem>
#include <vector>

namespace daydata {

struct DayFile {
  int year = 0, month = 0, day = 0;
  std::filesystem::path path;
};

// Every day file of the years first_year..last_year, in date order. A missing or unreadable
// folder gives nothing.
std::vector<DayFile> ListDayFiles(const std::filesystem::path& data_dir, int first_year = 1,
                                  int last_year = 9999);

}  // namespace daydata
