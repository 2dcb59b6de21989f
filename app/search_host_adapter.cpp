#include "app/search_host_adapter.h"

#include "app/app_context.h"
#include "app/kvrwin.h"

namespace app {

std::filesystem::path SearchHostAdapter::SearchDataDir() const {
  return context_.DataDir();
}

int SearchHostAdapter::SearchShownYear() const {
  return window_.cursor_.Year();
}

void SearchHostAdapter::ShowResultDay(const search::ResultDate& date) {
  const month::GridRow at = window_.cursor_.ShowDay(date.year, date.month, date.day);
  if (at.grid == 0) return;
  window_.BuildMonth();
  window_.SelectGridRow(at.grid, at.row);
}

void SearchHostAdapter::ReportedWrite(const std::function<void()>& write) {
  context_.Reported(&window_, write);
}

}  // namespace app
