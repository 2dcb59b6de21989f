// The month jump dialog's limits: the years its spin edit accepts for each target, the year it
// starts with, and the main window's new date after a jump.
#pragma once

#include "calendar/calendar_window_rules.h"

namespace calendar {

struct YearRange {
  int minimum = 1950, maximum = 2099;
};

// From 1950 for the main window, from 0 for the calendar window; up to 2099 for both.
YearRange JumpYearRange(bool from_calendar);

// The year the spin edit starts with: the target's year, brought into the range (a main window
// that has stepped past 2099 starts the dialog at 2099 rather than at a year it cannot take).
int JumpStartYear(int year, const YearRange& range);

// The main window's date after a jump: the chosen year and month with its current day, cut to
// the new month's length.
Date MainWindowJumpDate(int year, int month, int current_day);

}  // namespace calendar
