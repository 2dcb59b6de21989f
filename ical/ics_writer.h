// IcsWriter: builds one VCALENDAR of all-day events with libical and gives its text, UTF-8 with
// CR LF line ends and lines folded at 75 octets as RFC 5545 asks (never inside a character).
// Day exports and the holiday, rokuyou and solar-term feeds are written through it.
#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "ical/day_event.h"

namespace ical {

class IcsWriter {
 public:
  // `name` becomes the calendar's display name (X-WR-CALNAME); `stamp` every event's DTSTAMP.
  IcsWriter(std::string_view name, std::time_t stamp);
  ~IcsWriter();
  IcsWriter(const IcsWriter&) = delete;
  IcsWriter& operator=(const IcsWriter&) = delete;

  // One day file's event.
  void AddDay(const DayDate& date, const DayEventFields& fields, const std::string& uid);
  // One all-day event of a feed. A transparent one never blocks time in a scheduler.
  void AddAllDay(const DayDate& date, std::string_view summary, const std::string& uid,
                 std::string_view category, bool transparent);

  int EventCount() const { return events_; }
  // The calendar's text. The events stay, so it may be called again.
  std::string Text() const;

 private:
  struct Calendar;
  std::unique_ptr<Calendar> calendar_;
  std::time_t stamp_;
  int events_ = 0;
};

}  // namespace ical
