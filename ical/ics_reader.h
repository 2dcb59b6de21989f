// ReadIcs: what an iCalendar file holds, as Mirune can take it in. libical parses the file;
// this turns its events into day lines in the user's time zone (recurrences expanded over a
// range, EXDATE and RECURRENCE-ID honoured, multi-day events on every day they cover), keeps
// the days that Mirune itself exported whole, and lists the open to-dos. Nothing is written
// here. A file that cannot be taken in throws IcsError with a message for the user; the work
// is bounded in size, recurrences and lines, so no file can make it run away.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ical/day_event.h"

namespace ical {

class IcsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest file taken in, and the most lines one import may give.
inline constexpr std::size_t kMaxIcsBytes = 64u << 20;
inline constexpr std::size_t kMaxImportLines = 500000;
// How many instances one recurring event may step through before it is given up.
inline constexpr long kMaxRecurrenceSteps = 1000000;

struct ReadOptions {
  // Recurring events are expanded from `from` (else each event's own start) through `to`.
  std::optional<DayDate> from, to;
  // The IANA name of the user's time zone ("Asia/Tokyo"); empty for the system's own.
  std::string zone;
  // Called now and then with the events done and their number; false stops the work
  // (IcsError "中断しました").
  std::function<bool(std::size_t done, std::size_t total)> progress;
};

struct DayLine {
  DayDate date;
  std::string line;  // UTF-8, "HH:MM 件名" or "件名"
};

struct IcsContent {
  std::vector<std::pair<DayDate, DayOfEvent>> days;  // Mirune's own events, one per day
  std::vector<DayLine> lines;                        // every other event, in file order
  std::vector<std::string> todos;                    // open VTODOs, UTF-8 ToDo entries
  int events = 0;                                    // VEVENTs read
  int recurring = 0;  // of them, series (RRULE or RDATE): their lines cover only the range read
  std::vector<std::string> skipped;  // what was left out, and why
};

IcsContent ReadIcs(std::string_view text, const ReadOptions& options);

}  // namespace ical
