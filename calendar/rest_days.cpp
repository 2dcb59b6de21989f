#include "calendar/rest_days.h"

namespace calendar {

namespace {

void ReadSwitch(const settings::IniStore& file, const settings::Key& key, bool& on) {
  on = file.ReadInteger(key, SwitchValue(on)) == 1;
}

}  // namespace

void ReadRestDays(const settings::IniStore& file, RestDays& days) {
  using namespace settings::keys;
  ReadSwitch(file, Syu2Color, days.two_day_weekend);
  ReadSwitch(file, Syu1Color, days.sunday_only);
  ReadSwitch(file, SiteiColor, days.fixed_rest_days);
  for (std::size_t d = 0; d < days.weekdays.size(); ++d)
    ReadSwitch(file, RestDay[d], days.weekdays[d]);
  ReadSwitch(file, SyukukyuColor, days.holidays_are_rest);
}

}  // namespace calendar
