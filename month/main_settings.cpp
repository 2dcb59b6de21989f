#include "month/main_settings.h"

namespace month {

using namespace settings::keys;

void ReadMainSettings(const settings::IniStore& ini, MainSettings& s) {
  s.title_top_color = ini.ReadColour(TaitolTopColor, s.title_top_color);
  s.title_last_color = ini.ReadColour(TaitolLastColor, s.title_last_color);
  s.toolbar_top_color = ini.ReadColour(TollbarTopColor, s.toolbar_top_color);
  s.toolbar_last_color = ini.ReadColour(TollbarLastColor, s.toolbar_last_color);
  s.tool_bar = ini.ReadInteger(ToolBar, s.tool_bar);
  s.cursor_wide_position = ini.ReadInteger(CursorWidePosition, s.cursor_wide_position);
  s.cursor_wide = ini.ReadInteger(CursorWide, s.cursor_wide);
  s.half_month = ini.ReadInteger(HalfMonth, s.half_month);
  s.today_color = ini.ReadColour(TodayColor, s.today_color);
  s.cursor_color = ini.ReadColour(CursorColor, s.cursor_color);
  s.grid_color = ini.ReadColour(GridColor, s.grid_color);
  s.fixed_grid_color = ini.ReadColour(FixedGridColor, s.fixed_grid_color);
  calendar::ReadRestDays(ini, s.rest_days);
  s.syukucolor = ini.ReadInteger(SyukuColor, s.syukucolor);
  s.rokuyou = ini.ReadInteger(Rokuyou, s.rokuyou);
  s.kakugen = ini.ReadBool(Kakugen, s.kakugen);
  s.title_font_color = ini.ReadColour(TaitolFontColor, s.title_font_color);
  // The second width key is read with the first as its default and wins.
  int width = ini.ReadInteger(FixedColWidth1, 0);
  width = ini.ReadInteger(FixedColWidth2, width);
  s.fixed_col_width = width == 0 ? 80 : width;
  int height = ini.ReadInteger(RowHeight1, s.row_height);
  s.row_height = ini.ReadInteger(RowHeight2, height);
  s.close_arc = ini.ReadInteger(CloseArc, s.close_arc);
  s.calendar_on_off = ini.ReadInteger(CalendarOnOff, s.calendar_on_off);
  s.single_double = ini.ReadBool(SingleDouble, s.single_double);
  int key = ini.ReadInteger(InputKeyClose, s.input_key_close);
  if (settings::Accepts(InputKeyClose, key)) s.input_key_close = key;
  s.holiday_rules = ini.ReadInteger(HolidayRules, s.holiday_rules);
  s.lunar_method = ini.ReadInteger(LunarMethod, s.lunar_method);
}

void ApplyCalendarChoices(const MainSettings& s, calendar::ChosenHolidayRules& holidays,
                          calendar::LunarAlmanac& lunar) {
  holidays.Choose(calendar::HolidayRulesFromSetting(s.holiday_rules));
  lunar.Choose(calendar::LunarMethodFromSetting(s.lunar_method));
}

}  // namespace month
