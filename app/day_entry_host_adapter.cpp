#include "app/day_entry_host_adapter.h"

#include "app/kvrwin.h"

namespace app {

QString DayEntryHostAdapter::ShownYear() const {
  return window_.shown_year_;
}

QString DayEntryHostAdapter::ShownMonth() const {
  return window_.shown_month_;
}

QString DayEntryHostAdapter::ShownDay() const {
  return window_.shown_day_;
}

void DayEntryHostAdapter::SetShownYear(const QString& year) {
  window_.shown_year_ = year;
}

bool DayEntryHostAdapter::FromCalendar() const {
  return window_.from_calendar_;
}

void DayEntryHostAdapter::SetFromCalendar(bool on) {
  window_.from_calendar_ = on;
}

calendar::CalendarPort& DayEntryHostAdapter::Calendar() {
  return *window_.calendar_;
}

QDate DayEntryHostAdapter::ShownDate() const {
  return window_.ShownDate();
}

bool DayEntryHostAdapter::HalfMonth() const {
  return window_.cursor_.HalfMonth();
}

const std::filesystem::path& DayEntryHostAdapter::DataDir() const {
  return context_.DataDir();
}

const std::filesystem::path& DayEntryHostAdapter::StartupDir() const {
  return context_.StartupDir();
}

void DayEntryHostAdapter::StepMonth(int n) {
  window_.StepMonth(n);
}

void DayEntryHostAdapter::SelectDay(int day) {
  window_.SelectDay(day);
}

void DayEntryHostAdapter::FocusGrid(int grid) {
  window_.FocusGrid(grid);
}

void DayEntryHostAdapter::ShowToday(bool move_calendar) {
  window_.ShowToday(move_calendar);
}

void DayEntryHostAdapter::ReloadMonth(bool cursor_cell_only) {
  window_.ReloadMonth(cursor_cell_only);
}

void DayEntryHostAdapter::DataDirRecreated(const std::filesystem::path& data_dir) {
  window_.DataDirRecreated(data_dir);
}

QFont DayEntryHostAdapter::InputTitleFont() const {
  return window_.input_taitol_font_;
}

int DayEntryHostAdapter::InputKeyClose() const {
  return window_.settings_.input_key_close;
}

}  // namespace app
