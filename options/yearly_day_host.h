// SpecialDayHost: what the options dialog's page "特別日" needs of the main window: the folders,
// the year and month on display, today's year, the half-month switch, the month rebuild that
// shows freshly written labels, the birthday suffix setting and the help file. The main window
// implements it (app/kvrwin_day_lists_host.cpp); the page's tests use a small fake.
#pragma once

#include <QString>

#include <filesystem>

namespace options {

class SpecialDayHost {
 public:
  virtual ~SpecialDayHost() = default;

  // Where "Birthday.dat" and "Specialday.dat" lie.
  virtual std::filesystem::path SpecialStartupDir() const = 0;
  // The data folder as the settings file names it now ("Current_Dir"), read again for every
  // write.
  virtual std::filesystem::path SpecialDataDir() const = 0;
  // The year and month the main window shows; the labels go into that year.
  virtual int SpecialShownYear() const = 0;
  virtual int SpecialShownMonth() const = 0;
  // Today's year, the year box's preset.
  virtual int SpecialCurrentYear() = 0;
  virtual bool SpecialHalfMonth() const = 0;
  // Rebuilds the month, which also puts the working directory back into the shown year.
  virtual void SpecialRebuildMonth() = 0;

  // "Who'sbirthday": the suffix box's index, -1 for none. A failed write throws
  // std::system_error.
  virtual int ReadBirthdaySuffix(int current) const = 0;
  virtual void WriteBirthdaySuffix(int index) = 0;

  virtual QString SpecialHelpFile() const = 0;
};

}  // namespace options
