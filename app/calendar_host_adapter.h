// CalendarHostAdapter: the main window as the calendar window sees it: the report of a failed
// settings write, the main window's colours and rest-day switches, the calendar toggle button, and
// the day entry dialog it opens.
#pragma once

#include "calendar/calendar_host.h"

namespace app {

class AppContext;
class TKvrwin;

class CalendarHostAdapter final : public calendar::CalendarHost {
 public:
  CalendarHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  void ReportedWrite(const std::function<void()>& write) override;
  calendar::WindowColours Colours() const override;
  calendar::RestDays RestDays() const override;
  void SetRestDays(const calendar::RestDays& rest_days) override;
  bool CalendarToggleDown() const override;
  void SetCalendarToggle(bool down) override;
  bool IsFromCalendar() const override;
  void SetFromCalendar(bool on) override;
  void OpenEntryDialog(int year, int month, int day) override;
  calendar::HolidayRules& Rules() override;
  calendar::Date MainDate() const override;
  void SetMainDate(const calendar::Date& date) override;
  QRect MainWindowFrame() const override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
