// The clock label's minute rules, free of the widget: once per new minute it walks the alarm
// entries and names the first whose "hh:mm" is that minute, and names the five-minute mark
// when it is among the chosen ones. Minutes the clock never saw (the machine slept through
// them) can be caught up: each alarm of such a minute of the current day then rings once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clock/time_source.h"

namespace timeclock {

class ClockTicker {
 public:
  struct Events {
    std::vector<int> alarms;  // entry indexes, in the order their minutes came
    int time_cast = -1;       // 0 for minute 0 ... 11 for minute 55, -1 for none
    bool new_day = false;     // the date is later than at the last minute compared
  };

  // The minute of construction counts as compared: nothing fires for it.
  explicit ClockTicker(const LocalTime& now);

  std::vector<std::string>& EventList() { return entries_; }
  const std::vector<std::string>& EventList() const { return entries_; }
  // Bit n stands for the mark at minute 5n.
  std::uint16_t TimeCast() const { return time_cast_; }
  void SetTimeCast(std::uint16_t marks) { time_cast_ = marks; }
  static constexpr std::uint16_t kAllMarks = 0x0FFF;
  bool CatchUp() const { return catch_up_; }
  void SetCatchUp(bool on) { catch_up_ = on; }

  // What fires at `now`; nothing while the minute is the one compared last.
  Events Tick(const LocalTime& now);

 private:
  // The first entry whose first five characters are `minute`, or -1.
  int Match(const std::string& minute) const;

  std::vector<std::string> entries_;
  std::uint16_t time_cast_ = 0;
  bool catch_up_ = false;
  std::string last_minute_;
  LocalTime last_;
};

}  // namespace timeclock
