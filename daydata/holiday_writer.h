// The holiday writer: stamps the national holiday names of one month into that month's day
// files, so that they become ordinary first lines of those days. The names and the equinox and
// second-Monday days come from the holiday rules as the month grid left them.
#pragma once

#include <filesystem>
#include <stdexcept>

#include "calendar/holiday_rules.h"

namespace daydata {

// The year folder could be neither entered nor made (the data folder is gone or not a
// folder); nothing was written.
class EYearFolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The folder of `year` in the data folder, made when it is missing. Throws EYearFolderError
// when the data folder is gone or the year folder cannot be made: a folder made anywhere else
// would hold names that no month view finds.
std::filesystem::path MakeYearFolder(int year, const std::filesystem::path& data_dir);

// Makes the year folder and stamps every target of (year, month) into its day file. Returns
// how many files were written (a day that already holds its name is left as it is, so a
// second run writes nothing). A file that cannot be written throws daydata::EDayWriteError;
// the targets before it stay written.
int WriteHolidays(const calendar::HolidayRules& rules, int year, int month,
                  const std::filesystem::path& data_dir);

}  // namespace daydata
