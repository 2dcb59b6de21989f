#include "app/main_settings.h"

#include "platform/cp932.h"

namespace app {
namespace {

std::string S(const char* utf8) {
  return cp932::FromUtf8(utf8);
}

void Int(const settings::IniStore& ini, const char* section, const char* key, int& value) {
  value = ini.ReadInteger(S(section), key, value);
}

void Colour(const settings::IniStore& ini, const char* section, const char* key,
            ColourValue& value) {
  value = static_cast<ColourValue>(ini.ReadInteger(S(section), key, static_cast<int>(value)));
}

}  // namespace

namespace sections {
std::string DataFolder() {
  return S("フォルダ移動");
}
std::string Marquee() {
  return S("流れ文字表示");
}
}  // namespace sections

void ReadMainSettings(const settings::IniStore& ini, MainSettings& s) {
  Colour(ini, "タイトルパネル色", "taitolTopColor", s.title_top_color);
  Colour(ini, "タイトルパネル色", "taitolLastColor", s.title_last_color);
  Colour(ini, "ツールバー色", "tollbarTopColor", s.toolbar_top_color);
  Colour(ini, "ツールバー色", "tollbarLastColor", s.toolbar_last_color);
  Int(ini, "ツールバー", "ToolBar", s.tool_bar);
  Int(ini, "カーソル行", "Cursor_Wide_Position", s.cursor_wide_position);
  Int(ini, "カーソル行", "cursorwide", s.cursor_wide);
  Int(ini, "半月表示", "HalfMonth", s.half_month);
  Colour(ini, "今日の表示色", "todayColor", s.today_color);
  Colour(ini, "カ－ソル色", "cursorcolor", s.cursor_color);
  Colour(ini, "予定表枠色", "gridcolor", s.grid_color);
  Colour(ini, "各曜日枠色", "FixedGridColor", s.fixed_grid_color);
  Int(ini, "週休二日", "syu2color", s.syu2color);
  Int(ini, "日曜日のみ", "syu1color", s.syu1color);
  Int(ini, "休日指定", "siteicolor", s.siteicolor);
  static const char* const kDays[7][2] = {{"日曜日", "Suncolor"}, {"月曜日", "Moncolor"},
                                          {"火曜日", "Twecolor"}, {"水曜日", "Wedcolor"},
                                          {"木曜日", "Thucolor"}, {"金曜日", "Fricolor"},
                                          {"土曜日", "Sutcolor"}};
  for (int d = 0; d < 7; ++d) Int(ini, kDays[d][0], kDays[d][1], s.rest_day[d]);
  Int(ini, "祝祭日表示", "Syukucolor", s.syukucolor);
  Int(ini, "祝祭日休", "Syukukyucolor", s.syukukyucolor);
  Int(ini, "六曜表示", "Rokuyou", s.rokuyou);
  s.kakugen = ini.ReadBool(S("格言ON/OFF"), "Kakugen", s.kakugen);
  Colour(ini, "予定表タイトル色", "taitolFontColor", s.title_font_color);
  // The second width key is read with the first as its default and wins.
  int width = ini.ReadInteger(S("固定グリッド１幅"), "1FixedColWidth", 0);
  width = ini.ReadInteger(S("固定グリッド2幅"), " 2FixedColWidth", width);
  s.fixed_col_width = width == 0 ? 80 : width;
  int height = ini.ReadInteger(S("グリッド1高"), " 1RowHeight", s.row_height);
  s.row_height = ini.ReadInteger(S("グリッド2高"), " 2RowHeight", height);
  Int(ini, "終了時圧縮", "CloseArc", s.close_arc);
  Int(ini, "カレンダー表示", "CalendarOnOff", s.calendar_on_off);
  s.single_double = ini.ReadBool(S("マウスクリック"), "SingleDouble", s.single_double);
  int key = ini.ReadInteger(S("入力終了キー"), "InputKeyClose", s.input_key_close);
  if (key == 0 || key == 13 || key == 16 || key == 17) s.input_key_close = key;
}

}  // namespace app
