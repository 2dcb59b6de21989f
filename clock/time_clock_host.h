// What the clock window needs of the main window, and nothing more: the sound path kept
// between alarms, the focus, and the commands it gives at the change of date and every five
// minutes. The settings file, the data folder and the help file come in through the window's
// constructor. The main window implements it; tests use a small fake.
#pragma once

#include <QString>

namespace timeclock {

class TimeClockHost {
 public:
  virtual ~TimeClockHost() = default;

  // The alarm sound path the main window remembers (empty at start).
  virtual QString RememberedSoundPath() const = 0;
  virtual void RememberSoundPath(const QString& path) = 0;

  // The date has changed: the main window's today (its shown year and month, the cursor day and
  // the shown date) becomes this date, all at once, with the cursor on it.
  virtual void ClockSetToday(int year, int month, int day) = 0;
  // The main window builds its month again.
  virtual void ClockRebuildMonth() = 0;
  // The calendar window goes to today and shows that date.
  virtual void ClockCalendarToday() = 0;
  // The status line starts again from its beginning.
  virtual void ClockStartStatusLine() = 0;
  // While an alarm sounds: with maxims switched off, the status line keeps its text colour.
  virtual void ClockKeepStatusLineColour() = 0;

  virtual bool MainWindowActive() const = 0;
  virtual void FocusMainWindow() = 0;
};

}  // namespace timeclock
