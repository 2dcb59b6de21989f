// Every section and key of the settings file, each listed once with its type and its designed
// default, so that the windows, the dialogs and mirune-cli read and write a key the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace settings {

// Windows colour values, 0x00BBGGRR; the top bit names a system colour.
using ColourValue = std::uint32_t;

enum class ValueType { kInteger, kBoolean, kColour, kString, kFont, kPlacement };

// One key. The section is UTF-8 here and code page 932 in the file; key names are ASCII. A
// font key is the prefix of its ".Name", ".Size" and ".Style" keys, a placement key the prefix
// of its eight keys. In a numbered key '#' stands for the launcher button's number 1 to 10.
struct Key {
  std::string_view section;
  std::string_view name;
  ValueType type;
  std::int32_t default_value = 0;  // integer, boolean (0 or 1) and colour keys
  std::string_view default_text = {};
  // What the command line accepts; the program reads any integer.
  std::int32_t min = INT32_MIN;
  std::int32_t max = INT32_MAX;
  // When not 0, the only values taken: bit n set = n is one of them (n < 32).
  std::uint32_t choices = 0;
};

namespace keys {

using enum ValueType;
constexpr std::int32_t kColourSilver = 0x00C0C0C0, kColourWhite = 0x00FFFFFF,
                       kColourGrey = 0x00808080;
constexpr std::int32_t kSystemWindowColour = static_cast<std::int32_t>(0x80000005u);

// A switch stored as the integer 0 or 1.
constexpr Key Switch(std::string_view section, std::string_view name) {
  return {section, name, kInteger, 0, {}, 0, 1};
}
constexpr Key Colour(std::string_view section, std::string_view name, std::int32_t value) {
  return {section, name, kColour, value};
}

// The main window.
inline constexpr Key MainPlacement{"ミルネ", "winpos", kPlacement};
inline constexpr Key ToolBar = Switch("ツールバー", "ToolBar");
inline constexpr Key CursorWidePosition{"カーソル行", "Cursor_Wide_Position", kInteger, 0, {}, 0};
inline constexpr Key CursorWide = Switch("カーソル行", "cursorwide");
inline constexpr Key HalfMonth = Switch("半月表示", "HalfMonth");
// 0 would draw black on black on a first start: the window's designed colours stand in.
inline constexpr Key TodayColor = Colour("今日の表示色", "todayColor", 0x00C0FFFF);
// Spelt with the full-width hyphen-minus, unlike "カーソル行".
inline constexpr Key CursorColor = Colour("カ－ソル色", "cursorcolor", 0x00FFE8C8);
inline constexpr Key GridColor = Colour("予定表枠色", "gridcolor", 0x00FFFFFF);
inline constexpr Key FixedGridColor = Colour("各曜日枠色", "FixedGridColor", 0x00F0F0F0);
inline constexpr Key Syu2Color = Switch("週休二日", "syu2color");
inline constexpr Key Syu1Color = Switch("日曜日のみ", "syu1color");
inline constexpr Key SiteiColor = Switch("休日指定", "siteicolor");
inline constexpr Key RestDay[7] = {Switch("日曜日", "Suncolor"), Switch("月曜日", "Moncolor"),
                                   Switch("火曜日", "Twecolor"), Switch("水曜日", "Wedcolor"),
                                   Switch("木曜日", "Thucolor"), Switch("金曜日", "Fricolor"),
                                   Switch("土曜日", "Sutcolor")};
inline constexpr Key SyukuColor = Switch("祝祭日表示", "Syukucolor");
inline constexpr Key SyukukyuColor = Switch("祝祭日休", "Syukukyucolor");
inline constexpr Key Rokuyou = Switch("六曜表示", "Rokuyou");
inline constexpr Key Kakugen{"格言ON/OFF", "Kakugen", kBoolean};
inline constexpr Key DaysFont{"各曜日枠フォント", "daysFont", kFont};
inline constexpr Key YoteiFont{"予定表枠フォント", "yoteiFont", kFont};
inline constexpr Key TaitolFont{"予定表タイトル", "taitolFont", kFont};
inline constexpr Key InputTaitolFont{"入力ダイアログタイトル", "InputTaitolFont", kFont};
inline constexpr Key TaitolFontColor = Colour("予定表タイトル色", "taitolFontColor", 0);
// The second of each pair is read with the first as its default and wins. Three of the names
// begin with a blank; "1FixedColWidth" does not, and its section has a full-width digit.
inline constexpr Key FixedColWidth1{"固定グリッド１幅", "1FixedColWidth", kInteger, 0, {}, 0};
inline constexpr Key FixedColWidth2{"固定グリッド2幅", " 2FixedColWidth", kInteger, 0, {}, 0};
inline constexpr Key RowHeight1{"グリッド1高", " 1RowHeight", kInteger, 0, {}, 0};
inline constexpr Key RowHeight2{"グリッド2高", " 2RowHeight", kInteger, 0, {}, 0};
inline constexpr Key CloseArc = Switch("終了時圧縮", "CloseArc");
inline constexpr Key CalendarOnOff = Switch("カレンダー表示", "CalendarOnOff");
inline constexpr Key SingleDouble{"マウスクリック", "SingleDouble", kBoolean};
inline constexpr Key InputKeyClose{"入力終了キー",
                                   "InputKeyClose",
                                   kInteger,
                                   0,
                                   {},
                                   0,
                                   17,
                                   (1u << 0) | (1u << 13) | (1u << 16) | (1u << 17)};
inline constexpr Key CurrentDir{"フォルダ移動", "Current_Dir", kString};
// Which holiday rules name the days (0 the law of each year, 1 the fixed table) and which
// lunisolar method gives the rokuyou and solar terms (0 accurate, 1 the short series).
inline constexpr Key HolidayRules = Switch("休日及び六曜", "HolidayRules");
inline constexpr Key LunarMethod = Switch("休日及び六曜", "LunarMethod");
inline constexpr Key TaitolTopColor = Colour("タイトルパネル色", "taitolTopColor", kColourSilver);
inline constexpr Key TaitolLastColor = Colour("タイトルパネル色", "taitolLastColor", kColourWhite);
inline constexpr Key TollbarTopColor = Colour("ツールバー色", "tollbarTopColor", kColourSilver);
inline constexpr Key TollbarLastColor = Colour("ツールバー色", "tollbarLastColor", kColourGrey);
// 0 or missing is taken as 400 and written back.
inline constexpr Key Speed{"流れ文字表示", "Speed", kInteger, 400, {}, 100, 10000};
inline constexpr Key KakuGenFile{"流れ文字表示", "KakuGenFile", kString};
inline constexpr Key MarqueeLabelFont{"ステータスバーフォント", "MarqueeLabelFont", kFont};
inline constexpr Key MarqueeWordColor = Colour("ステータスバーフォント", "MarqueeWordColor", 0);
inline constexpr Key MarqueeLabelColor = Colour("ステータスバーフォント", "MarqueeLabelColor", 0);
inline constexpr Key LauncherFile{"User Software#の設定", "Software#", kString};
inline constexpr Key LauncherExe{"User Software#の設定", "Software#.exe", kString};

// The day entry dialog.
inline constexpr Key EntryPlacement{"入力ダイアログ", "winpos", kPlacement};
inline constexpr Key Splitter1Left{"入力画面分け", "Splitter1Left", kInteger, 401};
inline constexpr Key Memo1Width{"入力画面分け", "Memo1Width", kInteger, 400};
inline constexpr Key Memo3Height{"入力画面分け", "Memo3Height", kInteger, 20};
inline constexpr Key MemoFont{"MemoFont", "memofont", kFont};
inline constexpr Key Memo3Font{"MemoFont", "memo3font", kFont};
inline constexpr Key ListBoxFont{"MemoFont", "ListBoxFont", kFont};
inline constexpr Key Memo1Color = Colour("入力ダイアログ内色", "Memo1Color", kSystemWindowColour);
inline constexpr Key Memo3Color = Colour("入力ダイアログ内色", "Memo3Color", 0x00E0FED6);
inline constexpr Key ListBoxColor = Colour("入力ダイアログ内色", "ListBoxColor", 0x00FFE1FF);
inline constexpr Key InputTitleToday = Colour("入力ダイアログ日付", "inptaitol_1", 0x000000FF);
inline constexpr Key InputTitleOther = Colour("入力ダイアログ日付", "inptaitol_2", 0);
// The birthday suffix box's index; -1 while the box holds none.
inline constexpr Key BirthdaySuffix{"誰々の誕生日", "Who'sbirthday", kInteger, 0, {}, -1, 1};

// The calendar window, the search dialog and the clock window.
inline constexpr Key CalendarPlacement{"カレンダー", "Calendar", kPlacement};
inline constexpr Key CalendarFont{"カレンダーフォント", "calendarFont", kFont};
inline constexpr Key SearchCheck = Switch("検索連動", "SearchCheck");
inline constexpr Key ClockPlacement{"時計", "clockpos", kPlacement};
inline constexpr Key ClockFont{"月日時計フォント", "ClockFont", kFont};
// The clock reads its four colours with its designed ones standing in for a missing key
// (yellow time, white date, both on dark blue): 0 would be black on black.
inline constexpr Key ClockColor = Colour("時計色", "Clockcolor", 0);
inline constexpr Key ClockBackColor = Colour("時計背景色", "ClockBackcolor", 0);
inline constexpr Key DateColor = Colour("日付の色", "DateColor", 0);
inline constexpr Key DateBackColor = Colour("日付の背景色", "DateBackColor", 0);
// "HH:MM". Alarm 0 is the change of date, stored as "00:00" with the other two.
inline constexpr Key Alarm0{"ｱﾗｰﾑ0", "alarm0", kString};
inline constexpr Key Alarm1{"ｱﾗｰﾑ1", "alarm1", kString};
inline constexpr Key Alarm2{"ｱﾗｰﾑ2", "alarm2", kString};
// Written with a hyphen-minus, not the long-vowel mark.
inline constexpr Key AlarmSound{"ｱﾗ-ﾑｻｳﾝﾄﾞ", "alarmsound", kString};
// On unless switched off: a desktop notice with each alarm, and an alarm whose minute the
// machine slept through ringing once when the clock sees that time passed today.
inline constexpr Key AlarmNotify{"アラーム通知", "AlarmNotify", kBoolean, 1};
inline constexpr Key MissedAlarm{"過ぎたアラーム", "MissedAlarm", kBoolean, 1};

// Sync with a CalDAV calendar. The password is kept in the desktop keyring, never here.
inline constexpr Key SyncUrl{"同期", "Url", kString};
inline constexpr Key SyncUser{"同期", "User", kString};
// The calendar's path on the server, as discovery names it.
inline constexpr Key SyncCalendar{"同期", "Calendar", kString};
inline constexpr Key SyncAtStart = Switch("同期", "AtStart");
inline constexpr Key SyncAtExit = Switch("同期", "AtExit");
// Minutes between two syncs while the program runs; 0 for none.
inline constexpr Key SyncInterval{"同期", "Interval", kInteger, 0, {}, 0, 1440};
// When the last sync completed, as "YYYY-MM-DD HH:MM", for the status line.
inline constexpr Key SyncLast{"同期", "Last", kString};

}  // namespace keys

// Every key above, in the order of the main window's table and then window by window.
std::span<const Key* const> AllKeys();

// A key of the file as the schema knows it: the entry and the type of this very key (a
// font's ".Size" is an integer, its ".Name" a string).
struct KnownKey {
  const Key* key;
  ValueType type;
  std::string_view part = {};  // ".Size" and the like for a part of a font or placement
};

// The point sizes a font of the settings may have: what the font dialogs offer. A size outside
// is refused where it is entered, never stored.
inline constexpr int kMinFontSize = 6;
inline constexpr int kMaxFontSize = 96;
bool IsFontSizePart(const KnownKey& known);

// Looks a section and key up the way the file compares them (code page 932, blanks around
// the names ignored, ASCII letters without regard to case); nullopt for a key of no window.
std::optional<KnownKey> FindKey(std::string_view section_cp932, std::string_view name_cp932);

// Whether the command line may store this value under the key: the range and choices of an
// integer, 0 or 1 for a boolean, an RGB value or a system colour code for a colour.
bool Accepts(const Key& key, std::int32_t value);

// A numbered key's section or name for launcher button n, in the file's code page.
std::string Numbered(std::string_view pattern, int n);

// The section of a key in the file's code page.
std::string SectionBytes(const Key& key);

}  // namespace settings
