// ClockHostAdapter: the main window as the clock window sees it: the change of date at midnight,
// the month rebuild, the calendar and the status line.
#pragma once

#include "clock/time_clock_host.h"

namespace app {

class AppContext;
class TKvrwin;

class ClockHostAdapter final : public timeclock::TimeClockHost {
 public:
  ClockHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  QString RememberedSoundPath() const override;
  void RememberSoundPath(const QString& path) override;
  void ClockSetToday(int year, int month, int day) override;
  void ClockRebuildMonth() override;
  void ClockCalendarToday() override;
  void ClockStartStatusLine() override;
  void ClockKeepStatusLineColour() override;
  bool MainWindowActive() const override;
  void FocusMainWindow() override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
