// FakeCalendarPort: the calendar window's date on the calendar control's model, without the
// window, for tests of the windows that drive it. It counts the dates it is told.
#pragma once

#include "calendar/calendar_ex_model.h"
#include "calendar/calendar_port.h"

namespace test_support {

class FakeCalendarPort : public calendar::CalendarPort {
 public:
  int Year() const override { return model_.Year(); }
  int Month() const override { return model_.Month(); }
  int Day() const override { return model_.Day(); }
  void SetDay(int day) override { model_.SetDay(day); }
  void GoToDate(int year, int month, int day) override { model_.GoToDate(year, month, day); }
  void GoNextMonth() override { model_.GoNextMonth(); }
  void GoPrevMonth() override { model_.GoPrevMonth(); }
  void GoNextYear() override { model_.GoNextYear(); }
  void GoPrevYear() override { model_.GoPrevYear(); }
  void GoToday() override { model_.GoToday(); }
  void ShowDate(int, int, int) override { ++dates_told_; }
  void SetMinimised(bool minimised) override { minimised_ = minimised; }

  calendar::CalendarExModel& Model() { return model_; }
  int DatesTold() const { return dates_told_; }
  bool Minimised() const { return minimised_; }

 private:
  calendar::CalendarExModel model_;
  int dates_told_ = 0;
  bool minimised_ = false;
};

}  // namespace test_support
