#include "app/options_host_adapter.h"

#include <QLabel>

#include "app/kvrwin.h"
#include "platform/fonts.h"
#include "platform/string_grid.h"
#include "platform/system_colours.h"
#include "widgets/grad_box.h"

namespace app {

using month::ApplyCalendarChoices;
using month::MainSettings;
using month::ReadMainSettings;

using namespace settings::keys;

namespace {

// The switches the options dialog edits are fields of the same names in the main settings.
template <class From, class To>
void CopySwitches(const From& f, To& t) {
  t.rest_days = f.rest_days;
  t.syukucolor = f.syukucolor;
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

options::OptionSwitches OptionsHostAdapter::Switches() const {
  options::OptionSwitches s;
  CopySwitches(window_.settings_, s);
  return s;
}

void OptionsHostAdapter::SetSwitches(const options::OptionSwitches& s) {
  MainSettings& m = window_.settings_;
  const int close_key = m.input_key_close;
  CopySwitches(s, m);
  if (!settings::Accepts(settings::keys::InputKeyClose, s.input_key_close))
    m.input_key_close = close_key;
  ApplyCalendarChoices(window_.settings_, window_.holidays_, window_.lunar_);
  window_.MarqueeLabel1->setToolTip(
      m.kakugen ? QString() : QStringLiteral("ここをクリックすると文字がスクロールします"));
  window_.ApplyCursorRows(window_.StringGrid1);
  window_.ApplyCursorRows(window_.StringGrid2);
  window_.BuildMonth();
}

settings::ColourValue OptionsHostAdapter::OptionsColour(const settings::Key& key) const {
  if (auto it = window_.previewed_colours_.find(&key); it != window_.previewed_colours_.end())
    return it->second;
  const MainSettings& m = window_.settings_;
  if (&key == &CursorColor) return m.cursor_color;
  if (&key == &GridColor) return m.grid_color;
  if (&key == &FixedGridColor) return m.fixed_grid_color;
  if (&key == &TodayColor) return m.today_color;
  if (&key == &TaitolFontColor) return m.title_font_color;
  if (&key == &TaitolTopColor) return window_.GradBox1->TopColor();
  if (&key == &TaitolLastColor) return window_.GradBox1->LastColor();
  if (&key == &TollbarTopColor) return window_.GradBox2->TopColor();
  if (&key == &TollbarLastColor) return window_.GradBox2->LastColor();
  // The status line's colours live in the file; the label itself turns grey between passes.
  return context_.Store().ReadColour(key);
}

void OptionsHostAdapter::PreviewColour(const settings::Key& key, settings::ColourValue colour) {
  MainSettings& m = window_.settings_;
  if (&key == &CursorColor) {
    m.cursor_color = colour;
  } else if (&key == &GridColor) {
    m.grid_color = colour;
  } else if (&key == &FixedGridColor) {
    m.fixed_grid_color = colour;
    for (platform::TStringGrid* grid : {window_.StringGrid1, window_.StringGrid2})
      grid->SetFixedColor(platform::ToQColor(colour));
  } else if (&key == &TodayColor) {
    m.today_color = colour;
  } else if (&key == &TaitolFontColor) {
    m.title_font_color = colour;
  } else if (&key == &TaitolTopColor) {
    m.title_top_color = colour;
    window_.GradBox1->SetTopColor(colour);
  } else if (&key == &TaitolLastColor) {
    m.title_last_color = colour;
    window_.GradBox1->SetLastColor(colour);
  } else if (&key == &TollbarTopColor) {
    m.toolbar_top_color = colour;
    window_.GradBox2->SetTopColor(colour);
  } else if (&key == &TollbarLastColor) {
    m.toolbar_last_color = colour;
    window_.GradBox2->SetLastColor(colour);
  } else if (&key == &MarqueeLabelColor) {
    window_.previewed_colours_[&key] = colour;
    window_.MarqueeLabel1->SetColor(platform::ToQColor(colour));
  } else if (&key == &MarqueeWordColor) {
    window_.previewed_colours_[&key] = colour;
    window_.MarqueeLabel1->SetFontColor(platform::ToQColor(colour));
  } else {
    return;
  }
  window_.BuildMonth();
}

QFont OptionsHostAdapter::OptionsFont(const settings::Key& key) const {
  if (&key == &DaysFont) return window_.days_font_;
  if (&key == &YoteiFont) return window_.yotei_font_;
  if (&key == &TaitolFont) return window_.taitol_font_;
  if (&key == &InputTaitolFont) return window_.input_taitol_font_;
  if (&key == &MarqueeLabelFont) return window_.MarqueeLabel1->font();
  // The calendar window's designed font, for a file that has none yet.
  QFont calendar(platform::kMinchoFace);
  calendar.setPixelSize(18);
  calendar.setBold(true);
  return calendar;
}

int OptionsHostAdapter::DefaultColumnWidth() const {
  return window_.StringGrid1->DefaultColWidth();
}

void OptionsHostAdapter::PreviewDateColumnWidth(int width) {
  window_.settings_.fixed_col_width = width;
  for (platform::TStringGrid* grid : {window_.StringGrid1, window_.StringGrid2})
    grid->SetColWidth(0, width);
}

QString OptionsHostAdapter::TitleText() const {
  return window_.Panel1->text();
}

void OptionsHostAdapter::SetMaximLines(const QStringList& lines) {
  window_.maxim_lines_ = lines;
  window_.MarqueeLabel1->SetCaption(QString());
}

void OptionsHostAdapter::RestartStatusLine() {
  // Without a maxims file there is nothing to scroll; the notice asking for one belongs to
  // the start, not to every move of the speed slider.
  if (context_.Store().ReadString(KakuGenFile).empty()) return;
  window_.StartStatusLine();
}

void OptionsHostAdapter::AppearanceWritten() {
  window_.previewed_colours_.clear();
  QFont font = window_.MarqueeLabel1->font();
  context_.Settings().ReadFont(MarqueeLabelFont, font);
  window_.MarqueeLabel1->setFont(font);
  window_.BuildMonth();  // takes the fonts from the file
}

void OptionsHostAdapter::ReloadAppearance() {
  window_.previewed_colours_.clear();
  MainSettings fresh = window_.settings_;
  {
    settings::IniSnapshot once(context_.Store());
    ReadMainSettings(context_.Store(), fresh);
  }
  window_.SetSettings(fresh);
  window_.GradBox1->SetTopColor(fresh.title_top_color);
  window_.GradBox1->SetLastColor(fresh.title_last_color);
  window_.GradBox2->SetTopColor(fresh.toolbar_top_color);
  window_.GradBox2->SetLastColor(fresh.toolbar_last_color);
  for (platform::TStringGrid* grid : {window_.StringGrid1, window_.StringGrid2}) {
    grid->SetFixedColor(platform::ToQColor(fresh.fixed_grid_color));
    grid->SetColWidth(0, window_.ShownDateColumnWidth());
    window_.ApplyCursorRows(grid);
  }
  const settings::IniStore& file = context_.Store();
  const settings::ColourValue word = file.ReadColour(MarqueeWordColor);
  const settings::ColourValue back = file.ReadColour(MarqueeLabelColor);
  if (word != 0 || back != 0) {  // black on black is never shown; the status line mends it
    window_.MarqueeLabel1->SetFontColor(platform::ToQColor(word));
    window_.MarqueeLabel1->SetColor(platform::ToQColor(back));
  }
  window_.BuildMonth();
}

int OptionsHostAdapter::DateColumnWidth() const {
  return window_.settings_.fixed_col_width;
}

int OptionsHostAdapter::RowHeightSetting() const {
  return window_.settings_.row_height;
}

QStringList OptionsHostAdapter::OptionsMaximLines() const {
  return window_.maxim_lines_;
}

}  // namespace app
