// What the day entry dialog reads of the main window and asks of it, and nothing more: the day
// handed over, the shown month and its cursor, the folders, the title font and close key the
// main window holds, and the few commands that make the month view follow the dialog. The main
// window implements it; tests give the dialog a host of their own.
#pragma once

#include <QDate>
#include <QFont>
#include <QString>

#include <filesystem>

#include "calendar/calendar_port.h"

namespace daydata {

class DayEntryHost {
 public:
  virtual ~DayEntryHost() = default;

  // The day to open, as the decimal texts set just before the dialog opens. A step across a
  // year's end changes the year.
  virtual QString ShownYear() const = 0;
  virtual QString ShownMonth() const = 0;
  virtual QString ShownDay() const = 0;
  virtual void SetShownYear(const QString& year) = 0;
  // Set while the dialog was opened from the calendar window; the dialog then takes its date
  // from the calendar, and clears the flag when it closes.
  virtual bool FromCalendar() const = 0;
  virtual void SetFromCalendar(bool on) = 0;
  virtual calendar::CalendarPort& Calendar() = 0;

  virtual QDate ShownDate() const = 0;
  virtual bool HalfMonth() const = 0;
  virtual const std::filesystem::path& DataDir() const = 0;
  virtual const std::filesystem::path& StartupDir() const = 0;

  // The month view follows the dialog.
  virtual void StepMonth(int n) = 0;
  // Puts the cursor on a day of the shown month in full-month display and focuses its grid.
  virtual void SelectDay(int day) = 0;
  virtual void FocusGrid(int grid) = 0;
  // The main window's "today": the month of today with the cursor on it, and the calendar
  // moved there too when asked.
  virtual void ShowToday(bool move_calendar) = 0;
  // Reloads the day texts and redraws; with `cursor_cell_only` only the cursor row's cell is
  // cleared first, so that the other rows do not flicker after a save.
  virtual void ReloadMonth(bool cursor_cell_only) = 0;
  // The first save had to make the data folder anew in the start-up folder.
  virtual void DataDirRecreated(const std::filesystem::path& data_dir) = 0;

  virtual QFont InputTitleFont() const = 0;
  virtual int InputKeyClose() const = 0;  // 0, 13, 16 or 17
};

// What the main window asks of the day entry dialog: open it for the day handed over.
class DayEntryPort {
 public:
  virtual ~DayEntryPort() = default;
  virtual void OpenDayEntry() = 0;
};

}  // namespace daydata
