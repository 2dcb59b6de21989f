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

bool SearchHostAdapter::SearchHalfMonth() const {
  return window_.cursor_.HalfMonth();
}

void SearchHostAdapter::SearchJumpTo(const search::SearchJump& jump) {
  // The jump is written for the arrangement with the previous month's second half on the left;
  // from the other one the grid rows would name days of the wrong months.
  month::MonthCursor& cursor = window_.cursor_;
  if (cursor.HalfMonth()) cursor.SetHalves(true, false);
  cursor.SetDate(jump.year, jump.month, jump.day);
  window_.BuildMonth();
  window_.SelectGridRow(jump.grid, jump.row);
}

void SearchHostAdapter::ReportedWrite(const std::function<void()>& write) {
  context_.Reported(&window_, write);
}

}  // namespace app
