// The calendar window's rules that need no window: the Saturday colour that the rest-day
// switches ask for, the month crossing of the Left and Right keys, what the window shows as
// the chosen day's types, and where a first start puts the window beside the main window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "calendar/rest_days.h"

namespace calendar {

class CalendarExModel;

struct Date {
  int year = 0, month = 1, day = 1;
  bool operator==(const Date&) const = default;
};

// The main window's colours the calendar window takes over (0x00BBGGRR).
struct WindowColours {
  std::uint32_t title_top = 0x00C0C0C0, title_last = 0x00FFFFFF;
  std::uint32_t toolbar_top = 0x00C0C0C0, toolbar_last = 0x00808080;
  std::uint32_t title_font = 0;
};

// Blue when only Sundays are rest days, red when only the Saturday-and-Sunday switch is on,
// otherwise no change of the control's Saturday colour.
std::optional<std::uint32_t> SaturdayColourFor(const RestDays& rest_days);

// The calendar window's handling of Left and Right before the control moves its selection:
// Left on the 1st, or on a day in the Sunday column, and Right on the month's last day, or on
// a day in the Saturday column, carry the calendar into the neighbouring month.
void CrossMonthByArrow(CalendarExModel& calendar, bool left);

// The names of the chosen day's types, code page 932. The days that October 1582 skipped have
// no types; the line then says that they do not exist.
std::string ChosenDayText(const CalendarExModel& calendar);

struct ScreenRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};

// Where a window of the given size stands on a first start: right of the main window's frame,
// or left of it when the screen has no room on the right, kept on the screen and level with
// the main window's top.
ScreenRect BesideMainWindow(const ScreenRect& main_frame, const ScreenRect& screen, int width,
                            int height);

}  // namespace calendar
