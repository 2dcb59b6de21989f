// ModelCalendarPort: the calendar window's date without the window, on the calendar control's
// model. The main window uses it while no calendar window is attached.
#pragma once

#include "app/calendar_port.h"
#include "calendar/calendar_ex_model.h"

namespace app {

class ModelCalendarPort : public CalendarPort {
 public:
  int Year() const override { return model_.Year(); }
  int Month() const override { return model_.Month(); }
  int Day() const override { return model_.Day(); }
  void SetDay(int day) override { model_.SetDay(day); }
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

}  // namespace app
