// The colour of a date in the month grid's date column, from the day's holiday decision, its
// weekday and the rest-day switches of the settings. Colours are 0x00BBGGRR values.
#pragma once

#include <array>
#include <cstdint>

#include "calendar/holiday_rules.h"

namespace calendar {

inline constexpr std::uint32_t kDateBlack = 0x000000;
inline constexpr std::uint32_t kDateRed = 0x0000FF;
inline constexpr std::uint32_t kDateBlue = 0xFF0000;

// The settings that decide which days are drawn as rest days.
struct DateColourSwitches {
  bool holidays_are_rest = false;   // "Syukukyucolor"
  bool sunday_only = false;         // "syu1color": Sunday red, Saturday blue
  bool two_day_weekend = false;     // "syu2color": Sunday and Saturday red
  bool fixed_rest_days = false;     // "siteicolor": the weekdays below are red
  std::array<bool, 7> rest_days{};  // "Suncolor" ... "Sutcolor", 0 = Sunday
};

// `weekday` as WeekdayOf gives it (7 = no weekday, before the Gregorian calendar).
std::uint32_t DateTextColour(const DayHoliday& holiday, int weekday,
                             const DateColourSwitches& switches);

}  // namespace calendar
