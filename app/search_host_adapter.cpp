#include "app/search_host_adapter.h"

#include "app/kvrwin.h"
#include "settings/ini_store.h"

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

settings::ColourValue SearchHostAdapter::ReadSearchColour(const settings::Key& key) const {
  return context_.Store().ReadColour(key);
}

int SearchHostAdapter::ReadSearchInteger(const settings::Key& key) const {
  return context_.Store().ReadInteger(key);
}

void SearchHostAdapter::WriteSearchInteger(const settings::Key& key, int value) {
  context_.Reported(&window_, [&] { context_.Store().WriteInteger(key, value); });
}

QString SearchHostAdapter::SearchHelpFile() const {
  return context_.HelpFile();
}

}  // namespace app
