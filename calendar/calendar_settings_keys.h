// The settings file's sections and keys of the calendar window and its toggle, in one place.
// Text is UTF-8; the settings component stores it as code page 932.
#pragma once

namespace calendar::keys {

inline constexpr const char* kPlacementSection = "カレンダー";
inline constexpr const char* kPlacementPrefix = "Calendar";
inline constexpr const char* kFontSection = "カレンダーフォント";
inline constexpr const char* kFontKey = "calendarFont";
inline constexpr const char* kTitleFontSection = "予定表タイトル";
inline constexpr const char* kTitleFontKey = "taitolFont";
inline constexpr const char* kTwoRestDaysSection = "週休二日";
inline constexpr const char* kTwoRestDaysKey = "syu2color";
inline constexpr const char* kSundayOnlySection = "日曜日のみ";
inline constexpr const char* kSundayOnlyKey = "syu1color";
inline constexpr const char* kOnOffSection = "カレンダー表示";
inline constexpr const char* kOnOffKey = "CalendarOnOff";

}  // namespace calendar::keys
