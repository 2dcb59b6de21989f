// OptionsHostAdapter: the main window as the options dialog sees it: its switches, the colours and
// the date column shown before OK, the fonts, the maxims and the status line, and the reload
// from the settings file that Cancel asks for.
#pragma once

#include "options/options_host.h"

namespace app {

class AppContext;
class TKvrwin;

class OptionsHostAdapter final : public options::OptionsHost {
 public:
  OptionsHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  options::OptionSwitches Switches() const override;
  void SetSwitches(const options::OptionSwitches& switches) override;
  settings::ColourValue OptionsColour(const settings::Key& key) const override;
  void PreviewColour(const settings::Key& key, settings::ColourValue colour) override;
  QFont OptionsFont(const settings::Key& key) const override;
  int DateColumnWidth() const override;
  int DefaultColumnWidth() const override;
  void PreviewDateColumnWidth(int width) override;
  int RowHeightSetting() const override;
  QString TitleText() const override;
  QStringList OptionsMaximLines() const override;
  void SetMaximLines(const QStringList& lines) override;
  void RestartStatusLine() override;
  void AppearanceWritten() override;
  void ReloadAppearance() override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
