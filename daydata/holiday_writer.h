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

// Makes the folder of `year` the current directory: the folder named by the year relative to
// the current directory, else the one in the data folder, else a new one made there. Returns
// the folder entered; throws EYearFolderError when none could be entered.
std::filesystem::path EnterYearFolder(int year, const std::filesystem::path& data_dir);

// Enters the year folder and stamps every target of (year, month) into its day file. Returns
// how many files were written (a day that already holds its name is left as it is, so a
// second run writes nothing). A file that cannot be written throws daydata::EDayWriteError;
// the targets before it stay written.
int WriteHolidays(const calendar::HolidayRules& rules, int year, int month,
                  const std::filesystem::path& data_dir);

}  // namespace daydata
