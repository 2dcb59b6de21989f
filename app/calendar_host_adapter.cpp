#include "app/calendar_host_adapter.h"

#include <QToolButton>

#include "app/kvrwin.h"
#include "daydata/day_entry_host.h"
#include "widgets/grad_box.h"

namespace app {

void CalendarHostAdapter::ReportedWrite(const std::function<void()>& write) {
  // Over the main window while it stands; the calendar's last write comes as it is destroyed.
  context_.Reported(window_.isVisible() ? &window_ : nullptr, write);
}

calendar::WindowColours CalendarHostAdapter::Colours() const {
  return {window_.GradBox1->TopColor(), window_.GradBox1->LastColor(), window_.GradBox2->TopColor(),
          window_.GradBox2->LastColor(), window_.settings_.title_font_color};
}

calendar::RestDays CalendarHostAdapter::RestDays() const {
  return window_.settings_.rest_days;
}

void CalendarHostAdapter::SetRestDays(const calendar::RestDays& rest_days) {
  window_.settings_.rest_days = rest_days;
}

bool CalendarHostAdapter::CalendarToggleDown() const {
  return window_.CalendarButton->isChecked();
}

void CalendarHostAdapter::SetCalendarToggle(bool down) {
  window_.CalendarButton->setChecked(down);  // clicked() is not raised by setChecked
  window_.settings_.calendar_on_off = down ? 1 : 0;
}

bool CalendarHostAdapter::IsFromCalendar() const {
  return window_.from_calendar_;
}

void CalendarHostAdapter::SetFromCalendar(bool on) {
  window_.from_calendar_ = on;
}

void CalendarHostAdapter::OpenEntryDialog(int year, int month, int day) {
  window_.shown_year_ = QString::number(year);
  window_.shown_month_ = QString::number(month);
  window_.shown_day_ = QString::number(day);
  if (window_.day_entry_) window_.day_entry_->OpenDayEntry();
}

calendar::HolidayRules& CalendarHostAdapter::Rules() {
  return window_.holidays_;
}

calendar::Date CalendarHostAdapter::MainDate() const {
  const QDate shown = window_.ShownDate();
  return {shown.year(), shown.month(), shown.day()};
}

void CalendarHostAdapter::SetMainDate(const calendar::Date& date) {
  window_.SetDate(QDate(date.year, date.month, date.day));
}

QRect CalendarHostAdapter::MainWindowFrame() const {
  return window_.frameGeometry();
}

}  // namespace app
