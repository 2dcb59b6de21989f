// ExportDays: the day files of a data folder as one iCalendar file, one all-day event per day
// that has a file (see day_event.h for how a day becomes an event).
#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

namespace ical {

struct ExportedDays {
  std::string text;  // the calendar, UTF-8
  int days = 0;
};

// The days of first_year..last_year. `progress` is told the days done and their number now and
// then; when it returns false the export stops with IcsError "中断しました。". A day file that
// cannot be read stops it too (IcsError naming the file): an export that left a day out
// silently would be a backup that loses it.
ExportedDays ExportDays(const std::filesystem::path& data_dir, int first_year, int last_year,
                        std::time_t stamp,
                        const std::function<bool(std::size_t, std::size_t)>& progress = {});

}  // namespace ical
