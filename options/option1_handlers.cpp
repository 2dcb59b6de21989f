// Toption1's handlers: what each control writes and when, the colour and font pickers, the
// maxims file, OK and Cancel.
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <filesystem>
#include <system_error>

#include "daydata/light_strings.h"
#include "options/display_items.h"
#include "options/option1.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "platform/system_colours.h"

namespace options {
namespace {

using namespace settings::keys;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

const settings::Key* const kFontKeys[] = {&YoteiFont,    &DaysFont,        &TaitolFont,
                                          &CalendarFont, &InputTaitolFont, &MarqueeLabelFont};

void SetChecked(QCheckBox* box, bool on) {
  QSignalBlocker block(box);
  box->setChecked(on);
}

// Checks one button of an exclusive group, or none for a null button.
void CheckOnly(QButtonGroup* group, QAbstractButton* button) {
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) {
    QSignalBlocker block(b);
    b->setChecked(b == button);
  }
  group->setExclusive(true);
}

void SetSlider(QSlider* slider, int value) {
  QSignalBlocker block(slider);
  slider->setValue(value);
}

void SetBackground(QWidget* panel, const QColor& colour) {
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, colour);
  panel->setPalette(palette);
}

const DisplayItem* ItemAt(int row) {
  const auto items = DisplayItems();
  if (row < 0 || row >= static_cast<int>(items.size())) return nullptr;
  return &items[static_cast<std::size_t>(row)];
}

}  // namespace

template <class Write>
bool Toption1::Store(Write write) {
  try {
    write(settings_.Store());
    return true;
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
    return false;
  }
}

void Toption1::Apply() {
  host_.SetSwitches(switches_);
}

const QFont& Toption1::WorkingFont(const settings::Key& key) const {
  return fonts_.at(&key);
}

void Toption1::FormCreate() {
  settings::TIniGT& ini = settings_;
  for (const settings::Key* key : kFontKeys) {
    QFont font = host_.OptionsFont(*key);
    ini.ReadFont(*key, font);
    fonts_[key] = font;
  }
  inptaitol_1_ = static_cast<settings::ColourValue>(InputTitleToday.default_value);
  inptaitol_2_ = static_cast<settings::ColourValue>(InputTitleOther.default_value);

  // The window's switches, with whatever the file holds now taking their place.
  const settings::IniStore& file = ini.Store();
  OptionSwitches s = host_.Switches();
  calendar::ReadRestDays(file, s.rest_days);
  s.syukucolor = file.ReadInteger(SyukuColor, s.syukucolor);
  s.rokuyou = file.ReadInteger(Rokuyou, s.rokuyou);
  s.cursor_wide = file.ReadInteger(CursorWide, s.cursor_wide);
  const bool changed = !(s == host_.Switches());
  switches_ = s;
  if (changed) Apply();

  ShowRestDays();
  SetChecked(CheckBox8, s.syukucolor == 1);
  SetChecked(CheckBox9, s.rest_days.holidays_are_rest);
  SetChecked(CheckBox10, s.rokuyou == 1);
  HolidayLawButton->setChecked(s.holiday_rules != 1);
  HolidayTableButton->setChecked(s.holiday_rules == 1);
  LunarAccurateButton->setChecked(s.lunar_method != 1);
  LunarSeriesButton->setChecked(s.lunar_method == 1);
  SetChecked(CheckBox11, s.cursor_wide == 1);
  SetChecked(CheckBox13, s.single_double);
}

void Toption1::ShowRestDays() {
  const calendar::RestDays& r = switches_.rest_days;
  QAbstractButton* chosen = r.fixed_rest_days   ? RadioButton3
                            : r.sunday_only     ? RadioButton1
                            : r.two_day_weekend ? RadioButton2
                                                : nullptr;
  CheckOnly(rest_group_, chosen);
  // The boxes keep showing their flags while disabled, so that a switch away and back loses
  // no tick.
  for (int d = 0; d < 7; ++d) SetChecked(WeekdayBox[d], r.weekdays[d]);
  GroupBox2->setEnabled(chosen == RadioButton3);
}

void Toption1::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void Toption1::FormShow() {
  const settings::IniStore& file = settings_.Store();
  inptaitol_1_ = file.ReadColour(InputTitleToday, inptaitol_1_);
  inptaitol_2_ = file.ReadColour(InputTitleOther, inptaitol_2_);
  ShowCloseKey();
  if (ListBox1->currentRow() < 0) ListBox1->setCurrentRow(0);
  ListBox1Click();

  const int position = file.ReadInteger(CursorWidePosition, switches_.cursor_wide_position);
  if (position != switches_.cursor_wide_position) {
    switches_.cursor_wide_position = position;
    Apply();
  }
  // A row "enlarged" to one row height would not show; the slider starts at twice then.
  SetSlider(TrackBar2, position >= TrackBar2->minimum() ? position : 2);
  TrackBar2->setEnabled(switches_.cursor_wide == 1);
  SetSlider(TrackBar3, file.ReadInteger(Speed, TrackBar3->value()));
  TrackBar3->setToolTip(QString::number(TrackBar3->value()));
  SetSlider(TrackBar1, host_.DateColumnWidth() - host_.DefaultColumnWidth());

  SetChecked(CheckBox12, switches_.kakugen);
  Memo1->setPlainText(host_.OptionsMaximLines().join('\n'));
}

void Toption1::ShowCloseKey() {
  QAbstractButton* chosen = nullptr;
  for (int i = 0; i < 4; ++i) {
    if (kCloseKeys[i] == switches_.input_key_close) chosen = CloseKeyButton[i];
  }
  CheckOnly(close_key_group_, chosen);
}

bool Toption1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == RadioButton3 && event->type() == QEvent::FocusIn) GroupBox2->setEnabled(true);
  return QDialog::eventFilter(watched, event);
}

void Toption1::RestDayClicked() {
  OptionSwitches& s = switches_;
  calendar::RestDays& r = s.rest_days;
  QObject* from = sender();
  if (from == RadioButton1 || from == RadioButton2 || from == RadioButton3) {
    r.sunday_only = RadioButton1->isChecked();
    r.two_day_weekend = RadioButton2->isChecked();
    r.fixed_rest_days = RadioButton3->isChecked();
    GroupBox2->setEnabled(RadioButton3->isChecked());
  }
  for (int d = 0; d < 7; ++d) r.weekdays[d] = WeekdayBox[d]->isChecked();
  s.syukucolor = CheckBox8->isChecked() ? 1 : 0;
  r.holidays_are_rest = CheckBox9->isChecked();
  Apply();
  // The whole group, whichever control was clicked. A file without these sections gets them
  // appended in this order.
  Store([&s, &r](settings::IniStore& file) {
    using calendar::SwitchValue;
    file.WriteInteger(Syu1Color, SwitchValue(r.sunday_only));
    file.WriteInteger(Syu2Color, SwitchValue(r.two_day_weekend));
    file.WriteInteger(SiteiColor, SwitchValue(r.fixed_rest_days));
    for (int d = 0; d < 7; ++d) file.WriteInteger(RestDay[d], SwitchValue(r.weekdays[d]));
    file.WriteInteger(SyukuColor, s.syukucolor);
    file.WriteInteger(SyukukyuColor, SwitchValue(r.holidays_are_rest));
  });
}

void Toption1::CheckBox10Click() {
  switches_.rokuyou = CheckBox10->isChecked() ? 1 : 0;
  Apply();
  Store([this](settings::IniStore& file) { file.WriteInteger(Rokuyou, switches_.rokuyou); });
}

void Toption1::CalendarChoiceClicked() {
  QObject* from = sender();
  // Each pair writes its own key only.
  if (from == HolidayLawButton || from == HolidayTableButton) {
    switches_.holiday_rules = HolidayTableButton->isChecked() ? 1 : 0;
    Apply();
    Store([this](settings::IniStore& f) { f.WriteInteger(HolidayRules, switches_.holiday_rules); });
  } else if (from == LunarAccurateButton || from == LunarSeriesButton) {
    switches_.lunar_method = LunarSeriesButton->isChecked() ? 1 : 0;
    Apply();
    Store([this](settings::IniStore& f) { f.WriteInteger(LunarMethod, switches_.lunar_method); });
  }
}

void Toption1::TrackBar1Change(int position) {
  host_.PreviewDateColumnWidth(host_.DefaultColumnWidth() + position);
}

void Toption1::CheckBox11Click() {
  switches_.cursor_wide = CheckBox11->isChecked() ? 1 : 0;
  TrackBar2->setEnabled(switches_.cursor_wide == 1);
  if (switches_.cursor_wide == 1) switches_.cursor_wide_position = TrackBar2->value();
  Apply();
  Store([this](settings::IniStore& file) {
    file.WriteInteger(CursorWide, switches_.cursor_wide);
    if (switches_.cursor_wide == 1)
      file.WriteInteger(CursorWidePosition, switches_.cursor_wide_position);
  });
}

void Toption1::TrackBar2Change(int position) {
  if (!TrackBar2->isEnabled()) return;
  switches_.cursor_wide_position = position;
  Apply();
  Store([position](settings::IniStore& file) { file.WriteInteger(CursorWidePosition, position); });
}

settings::ColourValue Toption1::CurrentColour(const settings::Key& key) const {
  if (&key == &InputTitleToday) return inptaitol_1_;
  if (&key == &InputTitleOther) return inptaitol_2_;
  return host_.OptionsColour(key);
}

void Toption1::ListBox1Click() {
  const DisplayItem* item = ItemAt(ListBox1->currentRow());
  if (!item) return;
  Label1->setText(Utf8(item->colour1 ? item->colour1_label : kNoColourLabel));
  Label2->setText(Utf8(item->colour2 ? item->colour2_label : kNoColourLabel));
  Button1->setEnabled(item->colour1 != nullptr);
  Button2->setEnabled(item->colour2 != nullptr);
  Button3->setEnabled(item->font != nullptr);
  if (item->font) {
    Panel3->setFont(fonts_.at(item->font));
    Panel3->setText(item->title_sample ? host_.TitleText() : Utf8(item->sample));
  } else {
    Panel3->setFont(font());
    Panel3->clear();
  }
  ShowItemColours();
}

void Toption1::ShowItemColours() {
  const DisplayItem* item = ItemAt(ListBox1->currentRow());
  if (!item) return;
  const QColor none = palette().color(QPalette::Window);
  SetBackground(Panel1, item->colour1 ? platform::ToQColor(CurrentColour(*item->colour1)) : none);
  SetBackground(Panel2, item->colour2 ? platform::ToQColor(CurrentColour(*item->colour2)) : none);
}

void Toption1::ColourButtonClick(int which) {
  const DisplayItem* item = ItemAt(ListBox1->currentRow());
  if (!item) return;
  const settings::Key* key = which == 1 ? item->colour1 : item->colour2;
  if (!key) return;
  const std::optional<QColor> chosen = ChooseColour(platform::ToQColor(CurrentColour(*key)));
  if (!chosen) return;
  const settings::ColourValue value = platform::ToColourValue(*chosen);
  if (key == &InputTitleToday) {
    inptaitol_1_ = value;
  } else if (key == &InputTitleOther) {
    inptaitol_2_ = value;
  } else {
    host_.PreviewColour(*key, value);
  }
  ShowItemColours();
}

void Toption1::Button3Click() {
  const DisplayItem* item = ItemAt(ListBox1->currentRow());
  if (!item || !item->font) return;
  const std::optional<QFont> chosen = ChooseFont(fonts_.at(item->font));
  if (!chosen || !platform::CheckFontSize(this, *chosen)) return;
  fonts_[item->font] = *chosen;
  Panel3->setFont(*chosen);
}

void Toption1::CheckBox12Click() {
  switches_.kakugen = CheckBox12->isChecked();
  Apply();
  Store([this](settings::IniStore& file) { file.WriteBool(Kakugen, switches_.kakugen); });
}

void Toption1::Button4Click() {
  const QString path = ChooseMaximsFile();
  if (path.isEmpty()) return;
  bool exact = true;
  const std::string stored = platform::ToCp932(path, &exact);
  if (!exact) {
    // The settings file holds the path in code page 932; this one could not be found again.
    platform::ShowMessage(this,
                          QStringLiteral("このファイル名にはシフトJISで表せない文字があるため、"
                                         "読み込めません"),
                          QStringLiteral("注意"), platform::MessageIcon::kExclamation);
    return;
  }
  daydata::TLightStrings lines;
  if (!lines.TryLoadFromFile(std::filesystem::path(path.toStdString()))) return;
  QStringList maxims;
  for (int i = 0; i < lines.Count(); ++i) maxims << platform::ToQString(lines[i]);
  if (!Store([&stored](settings::IniStore& file) {
        file.WriteString(KakuGenFile, stored);
        file.WriteInteger(Speed, 400);
      }))
    return;
  host_.SetMaximLines(maxims);
  Memo1->setPlainText(maxims.join('\n'));
  SetSlider(TrackBar3, 400);
  TrackBar3->setToolTip(QStringLiteral("400"));
  host_.RestartStatusLine();
}

void Toption1::TrackBar3Change(int position) {
  TrackBar3->setToolTip(QString::number(position));
  if (Store([position](settings::IniStore& file) { file.WriteInteger(Speed, position); }))
    host_.RestartStatusLine();
}

void Toption1::CheckBox13Click() {
  switches_.single_double = CheckBox13->isChecked();
  Apply();
  Store(
      [this](settings::IniStore& file) { file.WriteBool(SingleDouble, switches_.single_double); });
}

void Toption1::CloseKeyClick(int index) {
  if (index < 0 || index >= 4) return;
  switches_.input_key_close = kCloseKeys[index];
  Apply();
  Store([this](settings::IniStore& file) {
    file.WriteInteger(InputKeyClose, switches_.input_key_close);
  });
}

void Toption1::OKButtonClick() {
  settings::TIniGT& ini = settings_;
  const bool written = Store([&](settings::IniStore& file) {
    file.WriteColour(InputTitleToday, inptaitol_1_);
    file.WriteColour(InputTitleOther, inptaitol_2_);
    for (const settings::Key* key :
         {&CursorColor, &GridColor, &TaitolTopColor, &TaitolLastColor, &TollbarTopColor,
          &TollbarLastColor, &FixedGridColor, &TodayColor, &MarqueeWordColor, &MarqueeLabelColor}) {
      file.WriteColour(*key, host_.OptionsColour(*key));
    }
    for (const settings::Key* key : kFontKeys) {
      ini.WriteFont(*key, fonts_.at(key));
    }
    file.WriteColour(TaitolFontColor, host_.OptionsColour(TaitolFontColor));
    // Both grids have one date column width and one row height; each pair holds it twice.
    const int width = host_.DateColumnWidth();
    file.WriteInteger(FixedColWidth1, width);
    file.WriteInteger(FixedColWidth2, width);
    const int height = host_.RowHeightSetting();
    file.WriteInteger(RowHeight1, height);
    file.WriteInteger(RowHeight2, height);
  });
  if (!written) return;
  host_.AppearanceWritten();
  accept();
}

void Toption1::CancelButtonClick() {
  reject();
}

void Toption1::reject() {
  host_.ReloadAppearance();
  QDialog::reject();
}

}  // namespace options
