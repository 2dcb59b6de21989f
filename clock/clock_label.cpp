#include "clock/clock_label.h"

#include <QTimer>

#include "clock/alarm_time.h"
#include "platform/message_box.h"

namespace timeclock {

TClockLabel::TClockLabel(QWidget* parent, TimeSource& time)
    : QLabel(parent), time_(time), ticker_(time.Now()), timer_(new QTimer(this)) {
  // Queued, so that a handler's modal box (an alarm, the date change) does not hold the timer:
  // Qt never fires a timer again while its own timeout is still being handled, and the clock
  // has to go on ticking, and comparing minutes, while the box is open.
  connect(timer_, &QTimer::timeout, this, &TClockLabel::Refresh, Qt::QueuedConnection);
  Refresh();
}

void TClockLabel::SetEventList(const std::vector<std::string>& entries) {
  if (int bad = FirstInvalidEntry(entries)) {
    platform::ShowMessage(this, QString::fromStdString(InvalidEntryMessage(bad)), QString());
  }
  ticker_.EventList() = entries;
}

void TClockLabel::SetInterval(int milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  if (interval_ > 0) {
    timer_->start(interval_);
  } else {
    timer_->stop();
  }
}

void TClockLabel::SetStyle(TStyle style) {
  if (style == style_) return;
  style_ = style;
  Refresh();
}

void TClockLabel::SetCustomFormat(const std::string& format) {
  if (format == custom_format_) return;
  custom_format_ = format;
  if (style_ == TStyle::tsCustom) Refresh();
}

void TClockLabel::SetDateStyle(TDateStyle style) {
  if (style == date_style_) return;
  date_style_ = style;
  Refresh();
}

void TClockLabel::SetDateLabel(QLabel* label) {
  date_label_ = label;  // a QPointer: cleared when that label is destroyed
  Refresh();
}

void TClockLabel::Refresh() {
  const LocalTime now = time_.Now();
  setText(QString::fromStdString(FormatTime(style_, custom_format_, now)));
  if (date_label_) date_label_->setText(QString::fromStdString(FormatDate(date_style_, now)));
  // The minute is recorded before any handler runs: a handler that shows a modal box lets
  // the timer tick on, and those ticks must not fire the same minute again.
  const ClockTicker::Events events = ticker_.Tick(now);
  if (events.new_day && OnDateChange) OnDateChange(this);
  for (int index : events.alarms) {
    if (OnAlarm) OnAlarm(this, index);
  }
  if (events.time_cast >= 0 && OnTimeCast) OnTimeCast(this, events.time_cast);
}

}  // namespace timeclock
