// CalendarHostAdapter: the main window as the calendar window sees it: the settings it reads and
// writes, the main window's colours and rest-day switches, the calendar toggle button, and the
// day entry dialog it opens.
#pragma once

#include "calendar/calendar_host.h"

namespace app {

class AppContext;
class TKvrwin;

class CalendarHostAdapter final : public calendar::CalendarHost {
 public:
  CalendarHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  int ReadInteger(const QString& section, const QString& key, int default_value) const override;
  void WriteInteger(const QString& section, const QString& key, int value) override;
  void ReadFont(const QString& section, const QString& key, QFont& font) const override;
  void ReadPlacement(const QString& section, const QString& prefix, QWidget& window) const override;
  void WritePlacement(const QString& section, const QString& prefix,
                      const QWidget& window) override;
  calendar::WindowColours Colours() const override;
  calendar::RestDaySwitches RestDays() const override;
  void SetRestDays(int syu2color, int syu1color) override;
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
