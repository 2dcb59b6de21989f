// What the main window and the calendar window ask of the day entry dialog: open it for the
// main window's ShownYear, ShownMonth and ShownDay (or the calendar's date with FromCalendar).
#pragma once

namespace daydata {

class DayEntryPort {
 public:
  virtual ~DayEntryPort() = default;
  virtual void OpenDayEntry() = 0;
};

}  // namespace daydata
