#include "calendar/date_colour.h"

namespace calendar {

std::uint32_t DateTextColour(const DayHoliday& holiday, int weekday, const RestDays& rest_days) {
  // Each rule overrides the ones before it.
  std::uint32_t colour = kDateBlack;
  if (holiday.holiday && rest_days.holidays_are_rest) colour = kDateRed;
  if (rest_days.sunday_only) {
    if (weekday == 0) colour = kDateRed;
    if (weekday == 6) colour = kDateBlue;
  }
  if (rest_days.two_day_weekend && (weekday == 0 || weekday == 6)) colour = kDateRed;
  if (rest_days.fixed_rest_days && weekday >= 0 && weekday < 7 && rest_days.weekdays[weekday]) {
    colour = kDateRed;
  }
  return colour;
}

}  // namespace calendar
