// GrepSearchHost: what the search dialog reads from the main window and asks of it. The main
// window implements it; the dialog's tests use a small fake.
#pragma once

#include <filesystem>
#include <functional>

#include "search/grep_search_jump.h"

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

  // Runs a write to the settings file; when it fails (std::system_error) the host reports it
  // to the user, and nothing else ends.
  virtual void ReportedWrite(const std::function<void()>& write) = 0;
};

}  // namespace search
