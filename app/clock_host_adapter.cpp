#include "app/clock_host_adapter.h"

#include "app/kvrwin.h"
#include "calendar/calendar_port.h"
#include "platform/file_system.h"
#include "platform/system_colours.h"
#include "settings/schema.h"
#include "widgets/marquee_label.h"

namespace app {

QString ClockHostAdapter::RememberedSoundPath() const {
  return window_.alarm_sound_path_;
}

void ClockHostAdapter::RememberSoundPath(const QString& path) {
  window_.alarm_sound_path_ = path;
}

void ClockHostAdapter::ClockSetToday(int year, int month, int day) {
  // Today's year, month and day, the shown date and the cursor all change together. Taking
  // them one at a time is what marked 31 January as today after 31 December: the month came
  // from the new date and the day from the old one.
  const QDate today(year, month, day);
  if (!today.isValid()) return;
  window_.today_ = today;
  window_.cursor_day_ = day;
  window_.shown_year_ = QString::number(year);
  window_.shown_month_ = QString::number(month);
  window_.cursor_.SetDate(year, month, day);
  // The cursor goes to today's row; in half-month display the half that holds today is shown.
  window_.PlaceTodayCursor();
}

void ClockHostAdapter::ClockRebuildMonth() {
  window_.BuildMonth();
}

void ClockHostAdapter::ClockCalendarToday() {
  window_.calendar_->GoToday();
  window_.calendar_->ShowOwnDate();
}

void ClockHostAdapter::ClockStartStatusLine() {
  // Without a maxims file there is nothing to scroll, and the notice asking for one was shown
  // at start; every five minutes again it would stand in front of everything.
  const std::string file = context_.Store().ReadString(settings::keys::KakuGenFile);
  std::error_code missing;
  if (file.empty() || !std::filesystem::is_regular_file(platform::PathFromCp932(file), missing))
    return;
  window_.StartStatusLine();
}

void ClockHostAdapter::ClockKeepStatusLineColour() {
  if (!window_.settings_.kakugen) return;
  window_.MarqueeLabel1->SetFontColor(
      platform::ToQColor(context_.Store().ReadColour(settings::keys::MarqueeWordColor)));
}

bool ClockHostAdapter::MainWindowActive() const {
  return window_.isActiveWindow();
}

void ClockHostAdapter::FocusMainWindow() {
  window_.activateWindow();
}

}  // namespace app
