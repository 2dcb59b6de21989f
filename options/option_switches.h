// The switch-type settings of the options dialog as the main window holds them: the days off,
// the holiday and rokuyou display, the calendar choices, the cursor row, the status line's
// maxims switch, the mouse gesture and the entry dialog's closing key. Each is written to the
// settings file the moment it is clicked and handed to the main window at once.
#pragma once

#include "calendar/rest_days.h"

namespace options {

struct OptionSwitches {
  calendar::RestDays rest_days;  // the days off, holidays among them
  int syukucolor = 0;            // holiday names shown
  int rokuyou = 0;
  int holiday_rules = 0;  // 0 the holiday law, 1 the fixed table
  int lunar_method = 0;   // 0 the accurate method, 1 the short series
  int cursor_wide = 0;
  int cursor_wide_position = 0;  // in default row heights
  bool kakugen = false;          // true = the maxims are not scrolled
  bool single_double = false;    // true = a single click opens the entry dialog
  int input_key_close = 0;       // 0, 13, 16 or 17

  bool operator==(const OptionSwitches&) const = default;
};

}  // namespace options
