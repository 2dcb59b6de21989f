// Every section and key the clock window keeps in the settings file, in one place. Names are
// UTF-8 here; the settings component stores them as code page 932.
#pragma once

namespace timeclock::keys {

struct Key {
  const char* section;
  const char* key;
};

inline constexpr Key kPlacement{"時計", "clockpos"};          // a window placement (eight keys)
inline constexpr Key kFont{"月日時計フォント", "ClockFont"};  // a font (three keys)
inline constexpr Key kClockColor{"時計色", "Clockcolor"};
inline constexpr Key kClockBackColor{"時計背景色", "ClockBackcolor"};
inline constexpr Key kDateColor{"日付の色", "DateColor"};
inline constexpr Key kDateBackColor{"日付の背景色", "DateBackColor"};
inline constexpr Key kAlarm0{"ｱﾗｰﾑ0", "alarm0"};  // the date change, "00:00" once stored
inline constexpr Key kAlarm1{"ｱﾗｰﾑ1", "alarm1"};
inline constexpr Key kAlarm2{"ｱﾗｰﾑ2", "alarm2"};
// Written with a hyphen-minus, not the long-vowel mark, as existing settings files have it.
inline constexpr Key kAlarmSound{"ｱﾗ-ﾑｻｳﾝﾄﾞ", "alarmsound"};
// Booleans, on unless switched off: a desktop notice with each alarm, and an alarm whose
// minute the machine slept through ringing once when the clock sees that time passed today.
inline constexpr Key kNotify{"アラーム通知", "AlarmNotify"};
inline constexpr Key kMissedAlarm{"過ぎたアラーム", "MissedAlarm"};

}  // namespace timeclock::keys
