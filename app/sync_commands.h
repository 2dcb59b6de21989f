// SyncCommands: ファイル → 同期, the sync at start, at exit and every few minutes, and the text
// in the menu bar's corner that tells when the last sync completed. The sync runs on a worker
// thread behind a progress dialog that can stop it; the user is told which days were merged
// and what else needs a look. A sync the user asked for reports its failure in a message box;
// one that ran on its own shows it in the corner text, so that nothing pops up unasked but the
// notice of merged days. It needs only the data folder, the settings, a way to tell whether
// the user is editing a day, and a call when the days changed.
#pragma once

#include <QObject>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "sync/sync_session.h"

class QLabel;
class QWidget;

namespace settings {
class IniStore;
}

namespace app {

class SyncCommands : public QObject {
  Q_OBJECT

 public:
  struct Needs {
    std::function<std::filesystem::path()> data_dir;
    std::function<settings::IniStore&()> ini;
    // True while a day is being edited: a sync on its own waits for the next turn.
    std::function<bool()> busy;
    std::function<void()> days_changed;
  };

  SyncCommands(QWidget* parent, Needs needs);

  // The text of the last sync, and the box around it for the menu bar's corner.
  QLabel* StatusLabel() const { return status_; }
  QWidget* CornerWidget() const { return corner_; }

  void SyncClick();
  void SyncAtStart();
  void SyncAtExit();
  // The account was edited: the timer follows its interval.
  void AccountChanged();
  // A password the keyring would not keep, used until the program ends.
  void UsePasswordForThisRun(const std::string& password) { session_password_ = password; }

  // The sync itself and the keyring, replaced by tests.
  std::function<calsync::SyncOutcome(const calsync::SyncRequest&)> run = calsync::RunSync;
  std::function<std::string(const calsync::SyncAccount&)> read_password = calsync::ReadPassword;
  // Asks for the password when the keyring has none (a dialog unless replaced); "" to cancel.
  std::function<QString(const QString& reason)> ask_password;

 private:
  // kAtStartOrExit reports like a sync on its own, but may ask for a password: the user is there.
  enum class Asked { kByUser, kAtStartOrExit, kOnItsOwn };
  void Run(Asked asked);
  std::string Password(const calsync::SyncAccount& account, Asked asked);
  void ShowLast(const QString& last);
  void ShowFailure(const QString& message);

  QWidget* parent_;
  Needs needs_;
  QWidget* corner_;
  QLabel* status_;
  QTimer timer_;
  bool running_ = false;
  std::string session_password_;
};

}  // namespace app
