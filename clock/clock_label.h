// TClockLabel: a label that shows the current time in one of its styles and keeps a second
// label, its date label, showing the date. Its timer refreshes both; at each new minute it
// fires OnAlarm for the first alarm entry of that minute and OnTimeCast for a chosen
// five-minute mark. The minute rules and the texts are the clock core's; this is the widget.
#pragma once

#include <QLabel>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "clock/clock_format.h"
#include "clock/clock_ticker.h"
#include "clock/time_source.h"

class QTimer;

namespace timeclock {

class TClockLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TClockLabel(QWidget* parent = nullptr, TimeSource& time = SystemTime());

  // Entries whose first five characters are a time "hh:mm". Changing the list in place does no
  // checking; SetEventList checks each entry as a time, shows a message for the first that is
  // not one, and takes the list in any case.
  std::vector<std::string>& EventList() { return ticker_.EventList(); }
  void SetEventList(const std::vector<std::string>& entries);

  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);  // 0 stops the timer
  TStyle Style() const { return style_; }
  void SetStyle(TStyle style);
  const std::string& CustomFormat() const { return custom_format_; }
  void SetCustomFormat(const std::string& format);
  std::uint16_t TimeCast() const { return ticker_.TimeCast(); }
  void SetTimeCast(std::uint16_t marks) { ticker_.SetTimeCast(marks); }
  TDateStyle DateStyle() const { return date_style_; }
  void SetDateStyle(TDateStyle style);
  QLabel* DateLabel() const { return date_label_; }
  void SetDateLabel(QLabel* label);
  // Alarms of minutes the timer never saw (the machine slept) ring once, the same day.
  bool CatchUp() const { return ticker_.CatchUp(); }
  void SetCatchUp(bool on) { ticker_.SetCatchUp(on); }
  TimeSource& Time() const { return time_; }

  std::function<void(TClockLabel* sender, int index)> OnAlarm;
  std::function<void(TClockLabel* sender, int index)> OnTimeCast;
  // The date has changed since the last minute compared (before that minute's alarms).
  std::function<void(TClockLabel* sender)> OnDateChange;

  // One refresh, as each timer tick does.
  void Refresh();

 private:
  TimeSource& time_;
  ClockTicker ticker_;
  QTimer* timer_;
  int interval_ = 0;
  TStyle style_ = TStyle::ts12Hours;
  TDateStyle date_style_ = TDateStyle::dsShort;
  std::string custom_format_;
  QPointer<QLabel> date_label_;
};

}  // namespace timeclock
