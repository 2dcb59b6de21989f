#include "daydata/holiday_writer.h"

#include <string>
#include <system_error>

#include "daydata/day_store.h"

namespace fs = std::filesystem;

namespace daydata {

fs::path MakeYearFolder(int year, const fs::path& data_dir) {
  const fs::path folder = data_dir / std::to_string(year);
  std::error_code ec;
  if (fs::is_directory(data_dir, ec) && !fs::is_directory(folder, ec))
    fs::create_directory(folder, ec);
  if (!fs::is_directory(folder, ec))
    throw EYearFolderError("年のフォルダを作成できません: " + folder.string());
  return folder;
}

int WriteHolidays(const calendar::HolidayRules& rules, int year, int month,
                  const fs::path& data_dir) {
  const fs::path folder = MakeYearFolder(year, data_dir);
  int written = 0;
  for (const calendar::HolidayTarget& target : rules.WriterTargets(year, month)) {
    if (DayStore::StampDay(folder / DayFileName(year, month, target.day), target.name)) {
      ++written;
    }
  }
  return written;
}

}  // namespace daydata
