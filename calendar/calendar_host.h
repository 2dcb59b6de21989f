// CalendarHost: what the calendar window and the month jump dialog read from the main window
// and ask of it. The main window implements it; the windows' tests use a small fake.
#pragma once

#include <QRect>

#include <cstdint>
#include <functional>

#include "calendar/calendar_window_rules.h"

namespace calendar {

class HolidayRules;

class CalendarHost {
 public:
  virtual ~CalendarHost() = default;

  // Runs a write to the settings file; when it fails (std::system_error) the host reports it
  // to the user, and nothing else ends.
  virtual void ReportedWrite(const std::function<void()>& write) = 0;

  // The main window's panel colours and title font colour.
  virtual WindowColours Colours() const = 0;
  // The main window's rest-day switches. The window reads two of them back from the file and
  // hands the whole set back with the others as it got them.
  virtual calendar::RestDays RestDays() const = 0;
  virtual void SetRestDays(const calendar::RestDays& rest_days) = 0;

  // The main window's calendar toggle button: its down state, set without its click.
  virtual bool CalendarToggleDown() const = 0;
  virtual void SetCalendarToggle(bool down) = 0;

  // Which window the entry and month jump dialogs serve.
  virtual bool IsFromCalendar() const = 0;
  virtual void SetFromCalendar(bool on) = 0;
  // Sets ShownYear, ShownMonth and ShownDay, then shows the day entry dialog modally.
  virtual void OpenEntryDialog(int year, int month, int day) = 0;

  // The holiday rules the main window's grid draws with.
  virtual HolidayRules& Rules() = 0;

  // The main window's shown date and its SetDate (the month jump dialog's main-window target).
  virtual Date MainDate() const = 0;
  virtual void SetMainDate(const Date& date) = 0;

  // The main window's frame on the screen, and the screen's free area, for the first start.
  virtual QRect MainWindowFrame() const = 0;
};

}  // namespace calendar
