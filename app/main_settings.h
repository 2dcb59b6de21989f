// The main window's colours, switches and sizes as the settings file holds them, read with the
// current values as defaults so that a missing key keeps the designed value. Free of Qt: the
// command-line month listing reads them exactly as the window does. Fonts and the window
// placement are read by the window itself.
#pragma once

#include <cstdint>
#include <string>

#include "settings/ini_store.h"

namespace app {

// Windows colour values, 0x00BBGGRR.
using ColourValue = std::uint32_t;

struct MainSettings {
  int tool_bar = 0;              // 1 = status line hidden
  int cursor_wide_position = 0;  // enlarged cursor row, in default row heights
  int cursor_wide = 0;
  int half_month = 0;
  // The table names 0 for these four, which would draw black on black on a first start; the
  // designed colours of the window stand in until the user picks others.
  ColourValue today_color = 0x00C0FFFF;       // light yellow
  ColourValue cursor_color = 0x00FFE8C8;      // light blue
  ColourValue grid_color = 0x00FFFFFF;        // white
  ColourValue fixed_grid_color = 0x00F0F0F0;  // button face
  int syu2color = 0;                          // Saturday and Sunday are rest days
  int syu1color = 0;                          // Sunday only
  int siteicolor = 0;                         // the weekdays flagged one by one
  int rest_day[7] = {0, 0, 0, 0, 0, 0, 0};    // Sunday .. Saturday, with siteicolor
  int syukucolor = 0;                         // holiday names shown
  int syukukyucolor = 0;                      // holidays are rest days, drawn red
  int rokuyou = 0;
  bool kakugen = false;  // true = maxims not scrolled
  ColourValue title_font_color = 0;
  int fixed_col_width = 80;  // date column; 0 in the file means 80
  int row_height = 0;        // kept and written back unchanged
  int close_arc = 0;
  int calendar_on_off = 0;
  bool single_double = false;
  int input_key_close = 0;  // 0, 13, 16 or 17
  ColourValue title_top_color = 0x00C0C0C0, title_last_color = 0x00FFFFFF;
  ColourValue toolbar_top_color = 0x00C0C0C0, toolbar_last_color = 0x00808080;
};

// Reads every key in the order the window reads them; `settings` holds the defaults.
void ReadMainSettings(const settings::IniStore& ini, MainSettings& settings);

// Section names (code page 932) of keys read outside ReadMainSettings.
namespace sections {
std::string DataFolder();  // "フォルダ移動": Current_Dir
std::string Marquee();     // "流れ文字表示": Speed, KakuGenFile
}  // namespace sections

}  // namespace app
