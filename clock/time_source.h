// The clock's notion of "now": a local date and time to the second, read from a source that
// tests replace, so that nothing in the clock ever waits for the wall clock.
#pragma once

#include <compare>
#include <string>

namespace timeclock {

struct LocalTime {
  int year = 2000, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;

  auto operator<=>(const LocalTime&) const = default;
  // 0 = Sunday ... 6 = Saturday.
  int Weekday() const;
  bool SameDay(const LocalTime& other) const {
    return year == other.year && month == other.month && day == other.day;
  }
  int MinuteOfDay() const { return hour * 60 + minute; }
  // Days since a fixed origin, so that two dates can be compared and counted apart.
  int DayNumber() const;
};

// The current minute as the clock compares it with alarm entries: "hh:mm".
std::string MinuteText(int hour, int minute);
inline std::string MinuteText(const LocalTime& t) {
  return MinuteText(t.hour, t.minute);
}

class TimeSource {
 public:
  virtual ~TimeSource() = default;
  virtual LocalTime Now() const = 0;
};

// Local time from the system clock.
TimeSource& SystemTime();

}  // namespace timeclock
