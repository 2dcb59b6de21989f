#include "daydata/holiday_writer.h"

#include <string>
#include <system_error>

#include "daydata/day_store.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace daydata {

fs::path EnterYearFolder(int year, const fs::path& data_dir) {
  const std::string name = std::to_string(year);
  if (platform::SetCurrentDir(name)) return platform::CurrentDir();
  // Without the data folder, a year folder made here would stand wherever the current folder
  // happens to be, where no month view finds the names.
  if (platform::SetCurrentDir(data_dir)) {
    if (platform::SetCurrentDir(name)) return platform::CurrentDir();
    std::error_code ignore;
    fs::create_directory(name, ignore);
    if (platform::SetCurrentDir(name)) return platform::CurrentDir();
  }
  throw EYearFolderError("年のフォルダを作成できません: " + (data_dir / name).string());
}

int WriteHolidays(const calendar::HolidayRules& rules, int year, int month,
                  const fs::path& data_dir) {
  const fs::path folder = EnterYearFolder(year, data_dir);
  int written = 0;
  for (const calendar::HolidayTarget& target : rules.WriterTargets(year, month)) {
    if (DayStore::StampDay(folder / DayFileName(year, month, target.day), target.name)) {
      ++written;
    }
  }
  return written;
}

}  // namespace daydata
