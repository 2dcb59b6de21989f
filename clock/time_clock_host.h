// What the clock window needs of the main window, and nothing more: the settings component,
// the data folder (for the first line of today's text in an alarm's notice), the sound path
// kept between alarms, the help file, the focus, and the commands it gives at the change of
// date and every five minutes. The main window implements it; tests use a small fake.
#pragma once

#include <QString>

#include <filesystem>

class QFont;
class QWidget;

namespace timeclock {

class TimeClockHost {
 public:
  virtual ~TimeClockHost() = default;

  // The settings component. Sections and keys are plain text; writes may throw
  // std::system_error when the settings file cannot be written.
  virtual QString IniReadString(const QString& section, const QString& key,
                                const QString& default_value) const = 0;
  virtual void IniWriteString(const QString& section, const QString& key, const QString& value) = 0;
  virtual int IniReadInteger(const QString& section, const QString& key,
                             int default_value) const = 0;
  virtual void IniWriteInteger(const QString& section, const QString& key, int value) = 0;
  virtual bool IniReadBool(const QString& section, const QString& key,
                           bool default_value) const = 0;
  virtual void IniReadFont(const QString& section, const QString& prefix, QFont& font) const = 0;
  virtual void IniWriteFont(const QString& section, const QString& prefix, const QFont& font) = 0;
  virtual void IniReadPlacement(const QString& section, const QString& prefix,
                                QWidget& window) const = 0;
  virtual void IniWritePlacement(const QString& section, const QString& prefix,
                                 const QWidget& window) = 0;

  virtual std::filesystem::path ClockDataDir() const = 0;
  virtual QString ClockHelpFile() const = 0;
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
