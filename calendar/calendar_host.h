// CalendarHost: what the calendar window and the month jump dialog read from the main window
// and ask of it. The main window implements it; the windows' tests use a small fake.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>

#include "calendar/calendar_window_rules.h"

class QWidget;

namespace calendar {

class HolidayRules;

class CalendarHost {
 public:
  virtual ~CalendarHost() = default;

  // The settings file. Every read takes its default when the key is missing; a failed write
  // is reported to the user by the host and ends nothing else.
  virtual int ReadInteger(const QString& section, const QString& key, int default_value) const = 0;
  virtual void WriteInteger(const QString& section, const QString& key, int value) = 0;
  virtual void ReadFont(const QString& section, const QString& key, QFont& font) const = 0;
  virtual void ReadPlacement(const QString& section, const QString& prefix,
                             QWidget& window) const = 0;
  virtual void WritePlacement(const QString& section, const QString& prefix,
                              const QWidget& window) = 0;

  // The main window's panel colours and title font colour.
  virtual WindowColours Colours() const = 0;
  // The main window's rest-day switches; the window reads two of them back from the file.
  virtual RestDaySwitches RestDays() const = 0;
  virtual void SetRestDays(int syu2color, int syu1color) = 0;

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
