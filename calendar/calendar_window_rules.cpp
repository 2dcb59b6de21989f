#include "calendar/calendar_window_rules.h"

#include <algorithm>

#include "calendar/calendar_ex_model.h"
#include "calendar/calendar_math.h"
#include "platform/cp932.h"

namespace calendar {

std::optional<std::uint32_t> SaturdayColourFor(const RestDays& rest_days) {
  const bool both = rest_days.two_day_weekend, sunday = rest_days.sunday_only,
             chosen = rest_days.fixed_rest_days;
  if (sunday && !both && !chosen) return 0x00FF0000;  // blue
  if (both && !sunday && !chosen) return 0x000000FF;  // red
  return std::nullopt;
}

void CrossMonthByArrow(CalendarExModel& calendar, bool left) {
  // The day is taken from the opposite edge of the same row in the new month; a neighbour
  // month's code there is ignored by SetDay. One press crosses one month: the 1st of a month
  // that begins on a Sunday (or a last day on a Saturday) would otherwise carry the calendar
  // two months on.
  if (left && calendar.Day() == 1) {
    calendar.GoPrevMonth();
    return;
  }
  if (!left && calendar.Day() == MonthLength(calendar.Year(), calendar.Month())) {
    calendar.GoNextMonth();
    return;
  }
  const int edge = left ? 0 : CalendarExModel::kColumns - 1;
  const int opposite = CalendarExModel::kColumns - 1 - edge;
  for (int row = 0; row < CalendarExModel::kRows; ++row) {
    if (calendar.DayAt(edge, row) != calendar.Day()) continue;
    if (left) {
      calendar.GoPrevMonth();
    } else {
      calendar.GoNextMonth();
    }
    calendar.SetDay(calendar.DayAt(opposite, row));
    return;
  }
}

std::string ChosenDayText(const CalendarExModel& calendar) {
  try {
    return calendar.TypeOfDayText();
  } catch (const EJuliusError& e) {
    return cp932::FromUtf8(e.what());
  }
}

ScreenRect BesideMainWindow(const ScreenRect& main_frame, const ScreenRect& screen, int width,
                            int height) {
  constexpr int kGap = 8;
  const int screen_right = screen.x + screen.width, screen_bottom = screen.y + screen.height;
  int x = main_frame.x + main_frame.width + kGap;
  if (x + width > screen_right) {
    const int left_of = main_frame.x - kGap - width;
    x = left_of >= screen.x ? left_of : screen_right - width;
  }
  x = std::max(screen.x, x);
  int y = std::clamp(main_frame.y, screen.y, std::max(screen.y, screen_bottom - height));
  return {x, y, width, height};
}

}  // namespace calendar
