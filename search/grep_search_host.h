// GrepSearchHost: what the search dialog reads from the main window and asks of it. The main
// window implements it; the dialog's tests use a small fake.
#pragma once

#include <QString>

#include <filesystem>

#include "search/grep_search_jump.h"
#include "settings/schema.h"

namespace search {

class GrepSearchHost {
 public:
  virtual ~GrepSearchHost() = default;

  // The data folder whose year folders are searched.
  virtual std::filesystem::path SearchDataDir() const = 0;
  // The year of the main window's shown date.
  virtual int SearchShownYear() const = 0;
  // Shows a result's day in the main window: its row gets the cursor and its grid the focus.
  virtual void ShowResultDay(const ResultDate& date) = 0;

  // The settings file: a missing key gives its designed default; a failed write is reported
  // to the user by the host and ends nothing else.
  virtual settings::ColourValue ReadSearchColour(const settings::Key& key) const = 0;
  virtual int ReadSearchInteger(const settings::Key& key) const = 0;
  virtual void WriteSearchInteger(const settings::Key& key, int value) = 0;

  virtual QString SearchHelpFile() const = 0;
};

}  // namespace search
