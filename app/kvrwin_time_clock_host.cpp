// TKvrwin as the clock window's host: the settings component, the change of date, the month
// rebuild, the calendar and the status line, as the clock window asks for them.
#include "app/kvrwin.h"
#include "platform/file_system.h"
#include "platform/system_colours.h"
#include "widgets/marquee_label.h"

namespace app {

QString TKvrwin::IniReadString(const QString& section, const QString& key,
                               const QString& default_value) const {
  return IniGT1->ReadString(section, key, default_value);
}
void TKvrwin::IniWriteString(const QString& section, const QString& key, const QString& value) {
  IniGT1->WriteString(section, key, value);
}
int TKvrwin::IniReadInteger(const QString& section, const QString& key, int default_value) const {
  return IniGT1->ReadInteger(section, key, default_value);
}
void TKvrwin::IniWriteInteger(const QString& section, const QString& key, int value) {
  IniGT1->WriteInteger(section, key, value);
}
bool TKvrwin::IniReadBool(const QString& section, const QString& key, bool default_value) const {
  return IniGT1->ReadBool(section, key, default_value);
}
void TKvrwin::IniReadFont(const QString& section, const QString& prefix, QFont& font) const {
  IniGT1->ReadFont(section, prefix, font);
}
void TKvrwin::IniWriteFont(const QString& section, const QString& prefix, const QFont& font) {
  IniGT1->WriteFont(section, prefix, font);
}
void TKvrwin::IniReadPlacement(const QString& section, const QString& prefix,
                               QWidget& window) const {
  IniGT1->ReadPlacement(section, prefix, window);
}
void TKvrwin::IniWritePlacement(const QString& section, const QString& prefix,
                                const QWidget& window) {
  IniGT1->WritePlacement(section, prefix, window);
}

void TKvrwin::ClockSetToday(int year, int month, int day) {
  // Today's year, month and day, the shown date and the cursor all change together. Taking
  // them one at a time is what marked 31 January as today after 31 December: the month came
  // from the new date and the day from the old one.
  const QDate today(year, month, day);
  if (!today.isValid()) return;
  today_ = today;
  cursor_day_ = day;
  shown_year_ = QString::number(year);
  shown_month_ = QString::number(month);
  cursor_.SetDate(year, month, day);
  // The cursor goes to today's row; in half-month display the half that holds today is shown.
  PlaceTodayCursor();
}

QDate TKvrwin::CurrentToday() {
  const timeclock::LocalTime now = time_->Now();
  const QDate today(now.year, now.month, now.day);
  if (today.isValid() && today != today_) {
    today_ = today;
    cursor_day_ = today.day();
  }
  return today_;
}

void TKvrwin::ClockStartStatusLine() {
  // Without a maxims file there is nothing to scroll, and the notice asking for one was shown
  // at start; every five minutes again it would stand in front of everything.
  const std::string file = IniGT1->Store().ReadString(settings::keys::KakuGenFile);
  std::error_code missing;
  if (file.empty() || !std::filesystem::is_regular_file(platform::PathFromCp932(file), missing))
    return;
  StartStatusLine();
}

void TKvrwin::ClockCalendarToday() {
  calendar_->GoToday();
  calendar_->ShowOwnDate();
}

void TKvrwin::ClockKeepStatusLineColour() {
  if (!settings_.kakugen) return;
  MarqueeLabel1->SetFontColor(
      platform::ToQColor(static_cast<settings::ColourValue>(IniGT1->ReadInteger(
          QStringLiteral("ステータスバーフォント"), QStringLiteral("MarqueeWordColor"), 0))));
}

}  // namespace app
