#include "clock/clock_ticker.h"

namespace timeclock {

ClockTicker::ClockTicker(const LocalTime& now) : last_minute_(MinuteText(now)), last_(now) {}

int ClockTicker::Match(const std::string& minute) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].size() >= 5 && entries_[i].compare(0, 5, minute) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

ClockTicker::Events ClockTicker::Tick(const LocalTime& now) {
  Events events;
  const std::string minute = MinuteText(now);
  if (minute == last_minute_) return events;
  if (catch_up_ && last_ < now) {
    // The minutes after the last one compared, but only those of today: an alarm of
    // yesterday that was slept through is over.
    const int first = last_.DayNumber() == now.DayNumber() ? last_.MinuteOfDay() + 1 : 0;
    for (int m = first; m < now.MinuteOfDay(); ++m) {
      const int index = Match(MinuteText(m / 60, m % 60));
      if (index >= 0) events.alarms.push_back(index);
    }
  }
  events.new_day = now.DayNumber() > last_.DayNumber();
  last_minute_ = minute;
  last_ = now;
  const int index = Match(minute);
  if (index >= 0) events.alarms.push_back(index);
  if (now.minute % 5 == 0 && (time_cast_ >> (now.minute / 5) & 1))
    events.time_cast = now.minute / 5;
  return events;
}

}  // namespace timeclock
