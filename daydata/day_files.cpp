#include "daydata/day_files.h"

#include <algorithm>
#include <string>
#include <tuple>

#include "calendar/calendar_math.h"
#include "platform/cp932.h"

namespace fs = std::filesystem;

namespace daydata {
namespace {

int Digits(const std::string& text, size_t at, size_t count) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::vector<DayFile> ListDayFiles(const fs::path& data_dir, int first_year, int last_year) {
  std::vector<DayFile> files;
  std::error_code error;
  for (fs::directory_iterator years(data_dir, error), end; !error && years != end;
       years.increment(error)) {
    std::string year_name = years->path().filename().string();
    int year = year_name.size() == 4 ? Digits(year_name, 0, 4) : -1;
    if (year < first_year || year > last_year || !years->is_directory(error)) continue;
    std::error_code inner;
    for (fs::directory_iterator days(years->path(), inner), last; !inner && days != last;
         days.increment(inner)) {
      std::string name = days->path().filename().string();
      if (name.size() != 15 || !cp932::EqualsIgnoreAsciiCase(name.substr(0, 3), "KVR") ||
          !cp932::EqualsIgnoreAsciiCase(name.substr(11), ".dat") || Digits(name, 3, 4) != year) {
        continue;
      }
      int month = Digits(name, 7, 2), day = Digits(name, 9, 2);
      if (month < 1 || month > 12 || day < 1 || day > calendar::MonthLength(year, month)) continue;
      if (!days->is_regular_file(inner)) continue;
      files.push_back({year, month, day, days->path()});
    }
  }
  std::sort(files.begin(), files.end(), [](const DayFile& a, const DayFile& b) {
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
  });
  return files;
}

}  // namespace daydata
