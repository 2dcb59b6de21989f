#include "ical/day_export.h"

#include "daydata/day_files.h"
#include "ical/day_event.h"
#include "ical/ics_reader.h"
#include "ical/ics_writer.h"
#include "platform/file_system.h"

namespace ical {

ExportedDays ExportDays(const std::filesystem::path& data_dir, int first_year, int last_year,
                        std::time_t stamp,
                        const std::function<bool(std::size_t, std::size_t)>& progress) {
  std::vector<daydata::DayFile> files = daydata::ListDayFiles(data_dir, first_year, last_year);
  IcsWriter writer("ミルネ", stamp);
  std::string bytes;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (i % 256 == 0 && progress && !progress(i, files.size())) throw IcsError("中断しました。");
    const daydata::DayFile& file = files[i];
    if (!platform::ReadFile(file.path, bytes)) {
      throw IcsError("日付のファイルが読めません: " + file.path.string());
    }
    if (bytes.empty()) continue;
    DayDate date{file.year, file.month, file.day};
    writer.AddDay(date, FieldsOfDay(bytes), DayUid(date, data_dir));
  }
  if (progress) progress(files.size(), files.size());
  return {writer.Text(), writer.EventCount()};
}

}  // namespace ical
