// ClockHostAdapter: the main window as the clock window sees it: the settings file, the change of
// date at midnight, the month rebuild, the calendar and the status line.
#pragma once

#include "clock/time_clock_host.h"

namespace app {

class AppContext;
class TKvrwin;

class ClockHostAdapter final : public timeclock::TimeClockHost {
 public:
  ClockHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  QString IniReadString(const QString& section, const QString& key,
                        const QString& default_value) const override;
  void IniWriteString(const QString& section, const QString& key, const QString& value) override;
  int IniReadInteger(const QString& section, const QString& key, int default_value) const override;
  void IniWriteInteger(const QString& section, const QString& key, int value) override;
  bool IniReadBool(const QString& section, const QString& key, bool default_value) const override;
  void IniReadFont(const QString& section, const QString& prefix, QFont& font) const override;
  void IniWriteFont(const QString& section, const QString& prefix, const QFont& font) override;
  void IniReadPlacement(const QString& section, const QString& prefix,
                        QWidget& window) const override;
  void IniWritePlacement(const QString& section, const QString& prefix,
                         const QWidget& window) override;
  std::filesystem::path ClockDataDir() const override;
  QString ClockHelpFile() const override;
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
