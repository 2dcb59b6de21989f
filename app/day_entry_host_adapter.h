// DayEntryHostAdapter: the main window as the day entry dialog sees it: the day to open, the moves
// of its day and month buttons, the reload after a save, the folders, the title font and the
// close key.
#pragma once

#include "daydata/day_entry_host.h"

namespace app {

class AppContext;
class TKvrwin;

class DayEntryHostAdapter final : public daydata::DayEntryHost {
 public:
  DayEntryHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  QString ShownYear() const override;
  QString ShownMonth() const override;
  QString ShownDay() const override;
  void SetShownYear(const QString& year) override;
  bool FromCalendar() const override;
  void SetFromCalendar(bool on) override;
  calendar::CalendarPort& Calendar() override;
  QDate ShownDate() const override;
  bool HalfMonth() const override;
  const std::filesystem::path& DataDir() const override;
  const std::filesystem::path& StartupDir() const override;
  void StepMonth(int n) override;
  void SelectDay(int day) override;
  void FocusGrid(int grid) override;
  void ShowToday(bool move_calendar) override;
  void ReloadMonth(bool cursor_cell_only) override;
  void DataDirRecreated(const std::filesystem::path& data_dir) override;
  QFont InputTitleFont() const override;
  int InputKeyClose() const override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
