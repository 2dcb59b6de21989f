#include "calendar/month_jump_rules.h"

#include <algorithm>

#include "calendar/calendar_math.h"

namespace calendar {

YearRange JumpYearRange(bool from_calendar) {
  return {from_calendar ? 0 : 1950, 2099};
}

int JumpStartYear(int year, const YearRange& range) {
  return std::clamp(year, range.minimum, range.maximum);
}

Date MainWindowJumpDate(int year, int month, int current_day) {
  month = std::clamp(month, 1, 12);
  return {year, month, std::clamp(current_day, 1, MonthLength(year, month))};
}

}  // namespace calendar
