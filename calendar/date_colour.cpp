#include "calendar/date_colour.h"

namespace calendar {

std::uint32_t DateTextColour(const DayHoliday& holiday, int weekday,
                             const DateColourSwitches& switches) {
  // Each rule overrides the ones before it.
  std::uint32_t colour = kDateBlack;
  if (holiday.holiday && switches.holidays_are_rest) colour = kDateRed;
  if (switches.sunday_only) {
    if (weekday == 0) colour = kDateRed;
    if (weekday == 6) colour = kDateBlue;
  }
  if (switches.two_day_weekend && (weekday == 0 || weekday == 6)) colour = kDateRed;
  if (switches.fixed_rest_days && weekday >= 0 && weekday < 7 && switches.rest_days[weekday]) {
    colour = kDateRed;
  }
  return colour;
}

}  // namespace calendar
