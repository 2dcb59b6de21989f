#include "daydata/day_step.h"

#include "calendar/calendar_math.h"

namespace daydata {

DayStep NextDay(int year, int shown_year, int shown_month, int day) {
  DayStep step{shown_month, day + 1, year, 0};
  if (step.day > calendar::GregorianMonthLength(shown_year, shown_month)) {
    step.month_step = +1;
    step.day = 1;
    if (++step.month == 13) {
      step.month = 1;
      step.year = year + 1;
    }
  }
  return step;
}

DayStep PrevDay(int year, int shown_year, int shown_month, int day) {
  DayStep step{shown_month, day - 1, year, 0};
  if (day == 1) {
    step.month_step = -1;
    int y = shown_year, m = shown_month - 1;
    if (m == 0) m = 12, --y;
    step.day = calendar::GregorianMonthLength(y, m);
    if (--step.month == 0) {
      step.month = 12;
      step.year = year - 1;
    }
  }
  return step;
}

}  // namespace daydata
