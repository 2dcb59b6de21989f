// Two paths of the iCalendar import. With a first byte below 128 the rest is a calendar file
// as another program might write it: it is read and planned into an empty data folder, and
// must either be refused with a message or give day lines, never crash or run away. Otherwise
// the rest is a day file: exported as an event and read back, it must give its bytes again,
// the promise that makes an export a backup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ical/day_event.h"
#include "ical/day_import.h"
#include "ical/ics_reader.h"
#include "ical/ics_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  ical::ReadOptions options;
  options.zone = "Asia/Tokyo";
  options.from = ical::DayDate{2026, 1, 1};
  options.to = ical::DayDate{2027, 12, 31};
  if (data[0] < 128) {
    try {
      ical::IcsContent content = ical::ReadIcs(rest, options);
      ical::PlanImport(content, "/nonexistent/mirune-fuzz/data", "/nonexistent/mirune-fuzz");
    } catch (const ical::IcsError&) {
    }
    return 0;
  }
  if (rest.empty()) return 0;
  ical::IcsWriter writer("fuzz", 0);
  ical::DayDate date{2026, 12, 9};
  writer.AddDay(date, ical::FieldsOfDay(rest), ical::DayUid(date, "/data"));
  ical::IcsContent content = ical::ReadIcs(writer.Text(), options);
  ical::ImportPlan plan =
      ical::PlanImport(content, "/nonexistent/mirune-fuzz/data", "/nonexistent");
  if (plan.days.size() != 1 || plan.days[0].after != rest) std::abort();
  return 0;
}
