// The two calendar choices of the settings file, with their section and key names in one place:
// which holiday rules name the days, and which lunisolar method gives the rokuyou and terms.
// A settings file without these keys gets the defaults, the law and the accurate method.
#pragma once

namespace calendar {

enum class HolidayRulesChoice {
  kLaw = 0,    // the holiday law as it stood in each year
  kTable = 1,  // the program's own fixed table
};

enum class LunarMethod {
  kAccurate = 0,  // new moons and solar terms from the ephemeris, 1901-2099
  kSeries = 1,    // the short series of earlier versions, 1976-2075
};

// Section (UTF-8; stored in code page 932 like every section name) and keys.
inline constexpr const char* kCalendarChoiceSection = "休日及び六曜";
inline constexpr const char* kHolidayRulesKey = "HolidayRules";  // 0 law, 1 table
inline constexpr const char* kLunarMethodKey = "LunarMethod";    // 0 accurate, 1 series

// A stored value other than 0 or 1 keeps the default.
inline HolidayRulesChoice HolidayRulesFromSetting(int value) {
  return value == 1 ? HolidayRulesChoice::kTable : HolidayRulesChoice::kLaw;
}
inline LunarMethod LunarMethodFromSetting(int value) {
  return value == 1 ? LunarMethod::kSeries : LunarMethod::kAccurate;
}

}  // namespace calendar
