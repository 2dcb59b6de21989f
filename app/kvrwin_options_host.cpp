// TKvrwin as the options dialog's host: its switches, the colours and the date column shown
// before OK, the fonts, the maxims and the status line, and the reload from the settings file
// that Cancel asks for.
#include <QLabel>

#include "app/kvrwin.h"
#include "app/sync_commands.h"
#include "options/option1.h"
#include "options/yearly_day_page.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/string_grid.h"
#include "platform/system_colours.h"
#include "sync/sync_page.h"
#include "widgets/grad_box.h"

namespace app {

using month::ApplyCalendarChoices;
using month::MainSettings;
using month::ReadMainSettings;

using namespace settings::keys;

void TKvrwin::SpeedButton11Click() {
  options::Toption1 dialog(*this, this);
  // The page reads both lists when it is made: a new one for every opening of the dialog.
  dialog.InsertSpecialDayPage(new options::TSpecialDayPage(*this));
  auto* sync_page = new calsync::TSyncPage(
      calsync::ReadAccount(IniGT1->Store()),
      {calsync::FindCalendars, calsync::ReadPassword, calsync::WritePassword});
  dialog.PageControl1->addTab(sync_page, QStringLiteral("同期"));
  if (dialog.exec() != QDialog::Accepted) return;
  try {
    calsync::WriteAccount(IniGT1->Store(), sync_page->Account());
  } catch (const std::system_error& error) {
    platform::ShowErrorBox(this, QString::fromStdString(error.what()));
  }
  if (!sync_page->SavePassword()) Sync->UsePasswordForThisRun(sync_page->TypedPassword());
  Sync->AccountChanged();
}

namespace {

// The switches the options dialog edits are fields of the same names in the main settings.
template <class From, class To>
void CopySwitches(const From& f, To& t) {
  t.syu1color = f.syu1color;
  t.syu2color = f.syu2color;
  t.siteicolor = f.siteicolor;
  for (int d = 0; d < 7; ++d) t.rest_day[d] = f.rest_day[d];
  t.syukucolor = f.syukucolor;
  t.syukukyucolor = f.syukukyucolor;
  t.rokuyou = f.rokuyou;
  t.holiday_rules = f.holiday_rules;
  t.lunar_method = f.lunar_method;
  t.cursor_wide = f.cursor_wide;
  t.cursor_wide_position = f.cursor_wide_position;
  t.kakugen = f.kakugen;
  t.single_double = f.single_double;
  t.input_key_close = f.input_key_close;
}

}  // namespace

options::OptionSwitches TKvrwin::Switches() const {
  options::OptionSwitches s;
  CopySwitches(settings_, s);
  return s;
}

void TKvrwin::SetSwitches(const options::OptionSwitches& s) {
  MainSettings& m = settings_;
  const int close_key = m.input_key_close;
  CopySwitches(s, m);
  if (!settings::Accepts(settings::keys::InputKeyClose, s.input_key_close))
    m.input_key_close = close_key;
  ApplyCalendarChoices(settings_, holidays_, lunar_);
  MarqueeLabel1->setToolTip(
      m.kakugen ? QString() : QStringLiteral("ここをクリックすると文字がスクロールします"));
  ApplyCursorRows(StringGrid1);
  ApplyCursorRows(StringGrid2);
  BuildMonth();
}

settings::ColourValue TKvrwin::OptionsColour(const settings::Key& key) const {
  if (auto it = previewed_colours_.find(&key); it != previewed_colours_.end()) return it->second;
  const MainSettings& m = settings_;
  if (&key == &CursorColor) return m.cursor_color;
  if (&key == &GridColor) return m.grid_color;
  if (&key == &FixedGridColor) return m.fixed_grid_color;
  if (&key == &TodayColor) return m.today_color;
  if (&key == &TaitolFontColor) return m.title_font_color;
  if (&key == &TaitolTopColor) return GradBox1->TopColor();
  if (&key == &TaitolLastColor) return GradBox1->LastColor();
  if (&key == &TollbarTopColor) return GradBox2->TopColor();
  if (&key == &TollbarLastColor) return GradBox2->LastColor();
  // The status line's colours live in the file; the label itself turns grey between passes.
  return IniGT1->Store().ReadColour(key);
}

void TKvrwin::PreviewColour(const settings::Key& key, settings::ColourValue colour) {
  MainSettings& m = settings_;
  if (&key == &CursorColor) {
    m.cursor_color = colour;
  } else if (&key == &GridColor) {
    m.grid_color = colour;
  } else if (&key == &FixedGridColor) {
    m.fixed_grid_color = colour;
    for (platform::TStringGrid* grid : {StringGrid1, StringGrid2})
      grid->SetFixedColor(platform::ToQColor(colour));
  } else if (&key == &TodayColor) {
    m.today_color = colour;
  } else if (&key == &TaitolFontColor) {
    m.title_font_color = colour;
  } else if (&key == &TaitolTopColor) {
    m.title_top_color = colour;
    GradBox1->SetTopColor(colour);
  } else if (&key == &TaitolLastColor) {
    m.title_last_color = colour;
    GradBox1->SetLastColor(colour);
  } else if (&key == &TollbarTopColor) {
    m.toolbar_top_color = colour;
    GradBox2->SetTopColor(colour);
  } else if (&key == &TollbarLastColor) {
    m.toolbar_last_color = colour;
    GradBox2->SetLastColor(colour);
  } else if (&key == &MarqueeLabelColor) {
    previewed_colours_[&key] = colour;
    MarqueeLabel1->SetColor(platform::ToQColor(colour));
  } else if (&key == &MarqueeWordColor) {
    previewed_colours_[&key] = colour;
    MarqueeLabel1->SetFontColor(platform::ToQColor(colour));
  } else {
    return;
  }
  BuildMonth();
}

QFont TKvrwin::OptionsFont(const settings::Key& key) const {
  if (&key == &DaysFont) return days_font_;
  if (&key == &YoteiFont) return yotei_font_;
  if (&key == &TaitolFont) return taitol_font_;
  if (&key == &InputTaitolFont) return input_taitol_font_;
  if (&key == &MarqueeLabelFont) return MarqueeLabel1->font();
  // The calendar window's designed font, for a file that has none yet.
  QFont calendar(platform::kMinchoFace);
  calendar.setPixelSize(18);
  calendar.setBold(true);
  return calendar;
}

int TKvrwin::DefaultColumnWidth() const {
  return StringGrid1->DefaultColWidth();
}

void TKvrwin::PreviewDateColumnWidth(int width) {
  settings_.fixed_col_width = width;
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) grid->SetColWidth(0, width);
}

QString TKvrwin::TitleText() const {
  return Panel1->text();
}

void TKvrwin::SetMaximLines(const QStringList& lines) {
  maxim_lines_ = lines;
  MarqueeLabel1->SetCaption(QString());
}

void TKvrwin::RestartStatusLine() {
  // Without a maxims file there is nothing to scroll; the notice asking for one belongs to
  // the start, not to every move of the speed slider.
  if (IniGT1->Store().ReadString(KakuGenFile).empty()) return;
  StartStatusLine();
}

void TKvrwin::AppearanceWritten() {
  previewed_colours_.clear();
  QFont font = MarqueeLabel1->font();
  IniGT1->ReadFont(QStringLiteral("ステータスバーフォント"), QStringLiteral("MarqueeLabelFont"),
                   font);
  MarqueeLabel1->setFont(font);
  BuildMonth();  // takes the fonts from the file
}

void TKvrwin::ReloadAppearance() {
  previewed_colours_.clear();
  MainSettings fresh = settings_;
  {
    settings::IniSnapshot once(IniGT1->Store());
    ReadMainSettings(IniGT1->Store(), fresh);
  }
  SetSettings(fresh);
  GradBox1->SetTopColor(fresh.title_top_color);
  GradBox1->SetLastColor(fresh.title_last_color);
  GradBox2->SetTopColor(fresh.toolbar_top_color);
  GradBox2->SetLastColor(fresh.toolbar_last_color);
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    grid->SetFixedColor(platform::ToQColor(fresh.fixed_grid_color));
    grid->SetColWidth(0, ShownDateColumnWidth());
    ApplyCursorRows(grid);
  }
  const settings::IniStore& file = IniGT1->Store();
  const settings::ColourValue word = file.ReadColour(MarqueeWordColor);
  const settings::ColourValue back = file.ReadColour(MarqueeLabelColor);
  if (word != 0 || back != 0) {  // black on black is never shown; the status line mends it
    MarqueeLabel1->SetFontColor(platform::ToQColor(word));
    MarqueeLabel1->SetColor(platform::ToQColor(back));
  }
  BuildMonth();
}

}  // namespace app
