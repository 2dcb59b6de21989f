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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// libical keeps memory between calls (the zones it has loaded, its own and ICU's caches). While
// that fills, a run ends with more allocations than frees, and libFuzzer answers each such run
// with a full leak scan of the heap: the scans took about four fifths of the first minute.
// Running a calendar with zones and rules and a day export a thousand times first leaves the
// scans to runs that really keep memory.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static const std::string calendar =
      "ABEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTIMEZONE\r\nTZID:East\r\n"
      "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nDTSTART:19701101T020000\r\n"
      "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
      "BEGIN:VEVENT\r\nUID:a\r\nDTSTART;TZID=East:20261208T200000\r\nSUMMARY:a\r\n"
      "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:b\r\nDTSTART;TZID=Asia/Tokyo:20261201T090000\r\n"
      "RRULE:FREQ=WEEKLY;BYDAY=TU,TH;UNTIL=20261214T000000Z\r\n"
      "EXDATE;TZID=Asia/Tokyo:20261203T090000\r\nSUMMARY:b\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nUID:c\r\nDTSTART:20261209T013000Z\r\nRRULE:FREQ=DAILY;COUNT=3\r\n"
      "SUMMARY:c\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  static const std::string day =
      "\x80"
      "2\r\n\x89\xEF\x8B\x63\r\n";
  for (int i = 0; i < 1000; ++i) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(calendar.data()), calendar.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(day.data()), day.size());
  }
  return 0;
}

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
