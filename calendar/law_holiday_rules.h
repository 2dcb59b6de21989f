// LawHolidayRules: the national holidays as the holiday law had them in each year, behind the
// interface the month grid, the holiday writer and the calendar window share. Each year's
// holidays are worked out once and kept, so drawing a month only looks them up.
#pragma once

#include <map>
#include <vector>

#include "calendar/holiday_law.h"
#include "calendar/holiday_rules.h"

namespace calendar {

class LawHolidayRules : public HolidayRules {
 public:
  DayHoliday DrawDay(int year, int month, int day) override;
  int IsHoliday(int year, int month, int day) const override;
  const HolidayState& State() const override { return state_; }
  // Every national holiday of the month with its name; substitute days and days between two
  // holidays are days off, not holidays with a name, and are not written.
  std::vector<HolidayTarget> WriterTargets(int year, int month) const override;
  // Empty until the window shows a date; then every holiday and day off of the shown year,
  // the days off named 振替休日 and 国民の休日 for the window's line. The control's own Monday
  // rule cannot stand in for the law: it knows neither 4 May as a holiday of its own, nor the
  // day off moving on past it, nor the years before substitute days existed.
  std::vector<std::string> InitialCalendarWindowList() const override;
  void UpdateCalendarWindowList(std::vector<std::string>& list, int year, int month) const override;
  bool CalendarWindowListHasDaysOff() const override { return true; }

  // The holiday on the date, or nullptr.
  const LawHoliday* Find(int year, int month, int day) const;
  const std::vector<LawHoliday>& Year(int year) const;

 private:
  HolidayState state_;
  mutable std::map<int, std::vector<LawHoliday>> years_;
};

}  // namespace calendar
