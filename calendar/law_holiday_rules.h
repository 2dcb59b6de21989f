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
  // Empty until the window shows a date; then every holiday of the shown year, except the
  // Mondays after a Sunday holiday, which the calendar control marks itself as 振替休日.
  std::vector<std::string> InitialCalendarWindowList() const override;
  void UpdateCalendarWindowList(std::vector<std::string>& list, int year, int month) const override;

  // The holiday on the date, or nullptr.
  const LawHoliday* Find(int year, int month, int day) const;
  const std::vector<LawHoliday>& Year(int year) const;

 private:
  HolidayState state_;
  mutable std::map<int, std::vector<LawHoliday>> years_;
};

}  // namespace calendar
