// The colour of a date in the month grid's date column, from the day's holiday decision, its
// weekday and the rest-day switches of the settings. Colours are 0x00BBGGRR values.
#pragma once

#include <cstdint>

#include "calendar/holiday_rules.h"
#include "calendar/rest_days.h"

namespace calendar {

inline constexpr std::uint32_t kDateBlack = 0x000000;
inline constexpr std::uint32_t kDateRed = 0x0000FF;
inline constexpr std::uint32_t kDateBlue = 0xFF0000;

// `weekday` as WeekdayOf gives it (7 = no weekday, before the Gregorian calendar).
std::uint32_t DateTextColour(const DayHoliday& holiday, int weekday, const RestDays& rest_days);

}  // namespace calendar
