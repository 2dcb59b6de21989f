#include "clock/time_source.h"

#include <time.h>

#include <cstdio>

#include "calendar/calendar_math.h"

namespace timeclock {
namespace {

class SystemTimeSource : public TimeSource {
 public:
  LocalTime Now() const override {
    time_t now = time(nullptr);
    struct tm parts {};
    localtime_r(&now, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
  }
};

}  // namespace

int LocalTime::Weekday() const {
  return calendar::CalendarWeekday(year, month, day) - 1;
}

int LocalTime::DayNumber() const {
  return calendar::DayNumber(year, month, day);
}

std::string MinuteText(int hour, int minute) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", hour % 100, minute % 100);
  return text;
}

TimeSource& SystemTime() {
  static SystemTimeSource source;
  return source;
}

}  // namespace timeclock
