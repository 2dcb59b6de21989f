// SearchHostAdapter: the main window as the search dialog sees it: its data folder, shown year and
// display mode, the move to a result's day and the report of a failed settings write.
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
  void ReportedWrite(const std::function<void()>& write) override;

 private:
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
