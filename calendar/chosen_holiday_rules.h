// ChosenHolidayRules: the holiday rules the settings chose (the law or the fixed table), as the
// one rules object that the main window shares with the holiday writer and the calendar window.
// Both rule sets are kept, so that switching back finds the state each one left.
#pragma once

#include "calendar/calendar_choices.h"
#include "calendar/law_holiday_rules.h"
#include "calendar/table_holiday_rules.h"

namespace calendar {

class ChosenHolidayRules : public HolidayRules {
 public:
  explicit ChosenHolidayRules(HolidayRulesChoice choice = HolidayRulesChoice::kLaw)
      : choice_(choice) {}
  void Choose(HolidayRulesChoice choice) { choice_ = choice; }
  HolidayRulesChoice Choice() const { return choice_; }

  DayHoliday DrawDay(int year, int month, int day) override {
    return Rules().DrawDay(year, month, day);
  }
  int IsHoliday(int year, int month, int day) const override {
    return Rules().IsHoliday(year, month, day);
  }
  const HolidayState& State() const override { return Rules().State(); }
  std::vector<HolidayTarget> WriterTargets(int year, int month) const override {
    return Rules().WriterTargets(year, month);
  }
  std::vector<std::string> InitialCalendarWindowList() const override {
    return Rules().InitialCalendarWindowList();
  }
  void UpdateCalendarWindowList(std::vector<std::string>& list, int year,
                                int month) const override {
    Rules().UpdateCalendarWindowList(list, year, month);
  }
  bool CalendarWindowListHasDaysOff() const override {
    return Rules().CalendarWindowListHasDaysOff();
  }

 private:
  HolidayRules& Rules() {
    return choice_ == HolidayRulesChoice::kTable ? static_cast<HolidayRules&>(table_) : law_;
  }
  const HolidayRules& Rules() const {
    return choice_ == HolidayRulesChoice::kTable ? static_cast<const HolidayRules&>(table_) : law_;
  }

  HolidayRulesChoice choice_;
  LawHolidayRules law_;
  TableHolidayRules table_;
};

}  // namespace calendar
