// TKvrwin as the calendar window's host: the settings it reads and writes through the main
// window's settings component, the main window's colours and rest-day switches, the calendar
// toggle button, and the day entry and month jump dialogs it opens.
#include <QToolButton>

#include <system_error>

#include "app/kvrwin.h"
#include "calendar/jamp_month.h"
#include "platform/message_box.h"
#include "widgets/grad_box.h"

namespace app {

int TKvrwin::ReadInteger(const QString& section, const QString& key, int default_value) const {
  return IniGT1->ReadInteger(section, key, default_value);
}

void TKvrwin::WriteInteger(const QString& section, const QString& key, int value) {
  try {
    IniGT1->WriteInteger(section, key, value);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
}

void TKvrwin::ReadFont(const QString& section, const QString& key, QFont& font) const {
  IniGT1->ReadFont(section, key, font);
}

void TKvrwin::ReadPlacement(const QString& section, const QString& prefix, QWidget& window) const {
  IniGT1->ReadPlacement(section, prefix, window);
}

void TKvrwin::WritePlacement(const QString& section, const QString& prefix, const QWidget& window) {
  try {
    IniGT1->WritePlacement(section, prefix, window);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(nullptr, QString::fromStdString(e.what()));
  }
}

calendar::WindowColours TKvrwin::Colours() const {
  return {GradBox1->TopColor(), GradBox1->LastColor(), GradBox2->TopColor(), GradBox2->LastColor(),
          settings_.title_font_color};
}

calendar::RestDaySwitches TKvrwin::RestDays() const {
  return {settings_.syu2color, settings_.syu1color, settings_.siteicolor};
}

void TKvrwin::SetRestDays(int syu2color, int syu1color) {
  settings_.syu2color = syu2color;
  settings_.syu1color = syu1color;
}

bool TKvrwin::CalendarToggleDown() const {
  return CalendarButton->isChecked();
}

void TKvrwin::SetCalendarToggle(bool down) {
  CalendarButton->setChecked(down);  // clicked() is not raised by setChecked
  settings_.calendar_on_off = down ? 1 : 0;
}

void TKvrwin::OpenEntryDialog(int year, int month, int day) {
  shown_year_ = QString::number(year);
  shown_month_ = QString::number(month);
  shown_day_ = QString::number(day);
  if (day_entry_) day_entry_->OpenDayEntry();
}

calendar::Date TKvrwin::MainDate() const {
  const QDate shown = ShownDate();
  return {shown.year(), shown.month(), shown.day()};
}

void TKvrwin::SetMainDate(const calendar::Date& date) {
  SetDate(QDate(date.year, date.month, date.day));
}

void TKvrwin::SpeedButton9Click() {
  from_calendar_ = false;
  calendar::TJampMonth dialog(*this, calendar_, this);
  dialog.exec();
}

}  // namespace app
