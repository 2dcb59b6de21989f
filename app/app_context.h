// AppContext: what the program's windows share, made once in main() and handed to each window
// in its constructor: the settings file, the start-up and data folders, the help file, the
// clock that says what "now" is, and the one way a failed read or write is reported.
//
// Nothing here is a window. A window takes what it needs of the context and never reaches into
// another window for it.
#pragma once

#include <QString>

#include <exception>
#include <filesystem>
#include <memory>
#include <system_error>

class QWidget;

namespace settings {
class IniStore;
class TIniGT;
}  // namespace settings
namespace timeclock {
class TimeSource;
}

namespace app {

class AppContext {
 public:
  // Opens the settings file beside the executable (an older one of `startup_dir` is taken over
  // once, and a first start gets the starter set) and finds the help file. Reading the file
  // happens key by key later; nothing here fails when it is missing or unreadable.
  explicit AppContext(std::filesystem::path startup_dir);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  settings::TIniGT& Settings() { return *settings_; }
  const settings::TIniGT& Settings() const { return *settings_; }
  settings::IniStore& Store();
  const settings::IniStore& Store() const;

  // The folder the program was started in: it holds the memo and ToDo lists and the data
  // folders the folder tool offers.
  const std::filesystem::path& StartupDir() const { return startup_dir_; }
  // The data folder in use; the main window resolves it at start and the folder tool and the
  // day entry dialog change it.
  const std::filesystem::path& DataDir() const { return data_dir_; }
  void SetDataDir(std::filesystem::path dir) { data_dir_ = std::move(dir); }
  const QString& HelpFile() const { return help_file_; }

  // "Now", for the main window's today and the clock window alike. Tests put in their own.
  timeclock::TimeSource& Time() const { return *time_; }
  void SetTime(timeclock::TimeSource& time) { time_ = &time; }

  // Shows a failed read or write in the standard error box over `parent`.
  void ReportError(QWidget* parent, const std::exception& error) const;
  // Runs `action`; a std::system_error it throws (a full disk, a read-only settings file) is
  // reported as above. False when it failed, so that a caller can stop what depended on it.
  template <class Action>
  bool Reported(QWidget* parent, Action&& action) const {
    try {
      action();
      return true;
    } catch (const std::system_error& error) {
      ReportError(parent, error);
      return false;
    }
  }

 private:
  std::filesystem::path startup_dir_;
  std::filesystem::path data_dir_;
  QString help_file_;
  std::unique_ptr<settings::TIniGT> settings_;
  timeclock::TimeSource* time_;
};

}  // namespace app
