// The main window's colours, switches and sizes as the settings file holds them, read with the
// current values as defaults so that a missing key keeps the designed value. Free of Qt: the
// command-line month listing reads them exactly as the window does. Fonts and the window
// placement are read by the window itself.
#pragma once

#include <cstdint>
#include <string>

#include "calendar/chosen_holiday_rules.h"
#include "calendar/lunar_almanac.h"
#include "calendar/rest_days.h"
#include "settings/ini_store.h"
#include "settings/schema.h"

namespace month {

// Windows colour values, 0x00BBGGRR.
using ColourValue = settings::ColourValue;

constexpr int Default(const settings::Key& key) {
  return key.default_value;
}
constexpr ColourValue DefaultColour(const settings::Key& key) {
  return static_cast<ColourValue>(key.default_value);
}

// Each field starts as its key's designed default.
struct MainSettings {
  int tool_bar = Default(settings::keys::ToolBar);  // 1 = status line hidden
  // Height of the enlarged cursor row, in default row heights.
  int cursor_wide_position = Default(settings::keys::CursorWidePosition);
  int cursor_wide = Default(settings::keys::CursorWide);
  int half_month = Default(settings::keys::HalfMonth);
  ColourValue today_color = DefaultColour(settings::keys::TodayColor);
  ColourValue cursor_color = DefaultColour(settings::keys::CursorColor);
  ColourValue grid_color = DefaultColour(settings::keys::GridColor);
  ColourValue fixed_grid_color = DefaultColour(settings::keys::FixedGridColor);
  calendar::RestDays rest_days;                          // every key starts off
  int syukucolor = Default(settings::keys::SyukuColor);  // holiday names shown
  int rokuyou = Default(settings::keys::Rokuyou);
  bool kakugen = Default(settings::keys::Kakugen) != 0;  // true = maxims not scrolled
  ColourValue title_font_color = DefaultColour(settings::keys::TaitolFontColor);
  int fixed_col_width = 80;  // date column; 0 in the file means 80
  int row_height = 0;        // kept and written back unchanged
  int close_arc = Default(settings::keys::CloseArc);
  int calendar_on_off = Default(settings::keys::CalendarOnOff);
  bool single_double = Default(settings::keys::SingleDouble) != 0;
  int input_key_close = Default(settings::keys::InputKeyClose);  // 0, 13, 16 or 17
  ColourValue title_top_color = DefaultColour(settings::keys::TaitolTopColor);
  ColourValue title_last_color = DefaultColour(settings::keys::TaitolLastColor);
  ColourValue toolbar_top_color = DefaultColour(settings::keys::TollbarTopColor);
  ColourValue toolbar_last_color = DefaultColour(settings::keys::TollbarLastColor);
  // 0 = the holiday law, 1 = the fixed table; 0 = the accurate lunisolar method, 1 = the short
  // series (calendar/calendar_choices.h).
  int holiday_rules = Default(settings::keys::HolidayRules);
  int lunar_method = Default(settings::keys::LunarMethod);
};

// Reads every key in the order the window reads them; `settings` holds the defaults.
void ReadMainSettings(const settings::IniStore& ini, MainSettings& settings);

// Sets the holiday rules and the lunisolar method that the settings chose.
void ApplyCalendarChoices(const MainSettings& settings, calendar::ChosenHolidayRules& holidays,
                          calendar::LunarAlmanac& lunar);

}  // namespace month
