// The two calendar choices of the settings file (settings::keys::HolidayRules and LunarMethod):
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

// A stored value other than 0 or 1 keeps the default.
inline HolidayRulesChoice HolidayRulesFromSetting(int value) {
  return value == 1 ? HolidayRulesChoice::kTable : HolidayRulesChoice::kLaw;
}
inline LunarMethod LunarMethodFromSetting(int value) {
  return value == 1 ? LunarMethod::kSeries : LunarMethod::kAccurate;
}

}  // namespace calendar
