#include "app/clock_host_adapter.h"

#include "app/kvrwin.h"
#include "calendar/calendar_port.h"
#include "platform/file_system.h"
#include "platform/system_colours.h"
#include "settings/schema.h"
#include "widgets/marquee_label.h"

namespace app {

QString ClockHostAdapter::IniReadString(const QString& section, const QString& key,
                                        const QString& default_value) const {
  return context_.Settings().ReadString(section, key, default_value);
}

void ClockHostAdapter::IniWriteString(const QString& section, const QString& key,
                                      const QString& value) {
  context_.Settings().WriteString(section, key, value);
}

int ClockHostAdapter::IniReadInteger(const QString& section, const QString& key,
                                     int default_value) const {
  return context_.Settings().ReadInteger(section, key, default_value);
}

void ClockHostAdapter::IniWriteInteger(const QString& section, const QString& key, int value) {
  context_.Settings().WriteInteger(section, key, value);
}

bool ClockHostAdapter::IniReadBool(const QString& section, const QString& key,
                                   bool default_value) const {
  return context_.Settings().ReadBool(section, key, default_value);
}

void ClockHostAdapter::IniReadFont(const QString& section, const QString& prefix,
                                   QFont& font) const {
  context_.Settings().ReadFont(section, prefix, font);
}

void ClockHostAdapter::IniWriteFont(const QString& section, const QString& prefix,
                                    const QFont& font) {
  context_.Settings().WriteFont(section, prefix, font);
}

void ClockHostAdapter::IniReadPlacement(const QString& section, const QString& prefix,
                                        QWidget& window) const {
  context_.Settings().ReadPlacement(section, prefix, window);
}

void ClockHostAdapter::IniWritePlacement(const QString& section, const QString& prefix,
                                         const QWidget& window) {
  context_.Settings().WritePlacement(section, prefix, window);
}

std::filesystem::path ClockHostAdapter::ClockDataDir() const {
  return context_.DataDir();
}

QString ClockHostAdapter::ClockHelpFile() const {
  return context_.HelpFile();
}

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
      platform::ToQColor(static_cast<settings::ColourValue>(context_.Settings().ReadInteger(
          QStringLiteral("ステータスバーフォント"), QStringLiteral("MarqueeWordColor"), 0))));
}

bool ClockHostAdapter::MainWindowActive() const {
  return window_.isActiveWindow();
}

void ClockHostAdapter::FocusMainWindow() {
  window_.activateWindow();
}

}  // namespace app
