// TableHolidayRules: the national holidays as the program's tables have them in every year:
// fixed dates, equinoxes from the per-year table, 成人の日 and 体育の日 on second Mondays from
// 2000 on, and a substitute day off on the Monday after a holiday that falls on a Sunday.
#pragma once

#include "calendar/holiday_rules.h"

namespace calendar {

class TableHolidayRules : public HolidayRules {
 public:
  DayHoliday DrawDay(int year, int month, int day) override;
  int IsHoliday(int year, int month, int day) const override;
  const HolidayState& State() const override { return state_; }
  std::vector<HolidayTarget> WriterTargets(int year, int month) const override;
  std::vector<std::string> InitialCalendarWindowList() const override;
  void UpdateCalendarWindowList(std::vector<std::string>& list, int year, int month) const override;
  // The table lists the holidays only; the control adds the Monday after a Sunday one.
  bool CalendarWindowListHasDaysOff() const override { return false; }

  // The decision of DrawDay without touching the state.
  DayHoliday Decide(int year, int month, int day) const;

 private:
  HolidayState state_;
};

}  // namespace calendar
