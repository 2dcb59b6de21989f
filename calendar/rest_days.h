// The rest-day switches of the settings file in one value: which days the month grid draws as
// rest days, and which Saturday colour the calendar window takes. The main window, the options
// dialog and the calendar window's host all hold or pass this one struct. Free of Qt.
#pragma once

#include <array>

#include "settings/ini_store.h"

namespace calendar {

// Each switch is stored as the integer 0 or 1 under the key named beside it; only 1 is on. All
// start off, as their keys' defaults do.
struct RestDays {
  bool holidays_are_rest = false;  // "Syukukyucolor": holidays are rest days, drawn red
  bool sunday_only = false;        // "syu1color": Sunday red, Saturday blue
  bool two_day_weekend = false;    // "syu2color": Sunday and Saturday red
  bool fixed_rest_days = false;    // "siteicolor": the weekdays flagged below are red
  std::array<bool, 7> weekdays{};  // "Suncolor" .. "Sutcolor", 0 = Sunday; with siteicolor

  bool operator==(const RestDays&) const = default;
};

// Reads every switch from the file, each with its value in `days` as the default for a missing
// key. The caller writes them back with SwitchValue, key by key in its own order.
void ReadRestDays(const settings::IniStore& file, RestDays& days);

// The integer a switch is stored as.
constexpr int SwitchValue(bool on) {
  return on ? 1 : 0;
}

}  // namespace calendar
