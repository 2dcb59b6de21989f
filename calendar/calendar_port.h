// What the main window's navigation, the day entry dialog and the month jump dialog ask of the
// calendar window: its shown date, moves by day, month and year, and being told the date.
// TCalendar implements it; tests use a fake on the calendar control's model.
#pragma once

namespace calendar {

class CalendarPort {
 public:
  virtual ~CalendarPort() = default;
  virtual int Year() const = 0;
  virtual int Month() const = 0;
  virtual int Day() const = 0;
  // A day of 0 or past the month's end is ignored.
  virtual void SetDay(int day) = 0;
  // Year and month first, then the day, which is cut to the new month's length.
  virtual void GoToDate(int year, int month, int day) = 0;
  virtual void GoNextMonth() = 0;
  virtual void GoPrevMonth() = 0;
  virtual void GoNextYear() = 0;
  virtual void GoPrevYear() = 0;
  virtual void GoToday() = 0;
  // The window is told the date its control shows (it writes its title line).
  virtual void ShowDate(int year, int month, int day) = 0;
  // The main window's calendar toggle: minimised (true) or restored.
  virtual void SetMinimised(bool minimised) = 0;

  bool Shows(int year, int month) const { return Year() == year && Month() == month; }
  void ShowOwnDate() { ShowDate(Year(), Month(), Day()); }
};

}  // namespace calendar
