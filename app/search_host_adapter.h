// SearchHostAdapter: the main window as the search dialog sees it: its data folder, shown year and
// display mode, the move to a result's day, the dialog's two settings and the help file.
#pragma once

#include "search/grep_search_host.h"

namespace app {

class AppContext;
class TKvrwin;

class SearchHostAdapter final : public search::GrepSearchHost {
 public:
  SearchHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  std::filesystem::path SearchDataDir() const override;
  int SearchShownYear() const override;
  void ShowResultDay(const search::ResultDate& date) override;
  settings::ColourValue ReadSearchColour(const settings::Key& key) const override;
  int ReadSearchInteger(const settings::Key& key) const override;
  void WriteSearchInteger(const settings::Key& key, int value) override;
  QString SearchHelpFile() const override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
