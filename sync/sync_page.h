// TSyncPage: the options dialog's page "同期". The user gives the server's address, the user
// name and the password, asks the server for its calendars with 接続をテスト, picks one, and
// chooses when the sync runs. The page reads and writes nothing itself: the account comes in,
// Account() gives it back for the settings file, and the password goes to the keyring through
// the functions it is given, so that tests run it without a server or a keyring.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "sync/sync_session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace calsync {

class TSyncPage : public QWidget {
  Q_OBJECT

 public:
  struct Needs {
    // The server's calendars; throws SyncError with a message for the user.
    std::function<std::vector<CalendarChoice>(const SyncAccount&, const std::string& password)>
        calendars;
    // The stored password ("" when none); throws SyncError when the keyring cannot be used.
    std::function<std::string(const SyncAccount&)> read_password;
    std::function<void(const SyncAccount&, const std::string& password)> write_password;
  };

  TSyncPage(const SyncAccount& account, Needs needs, QWidget* parent = nullptr);

  SyncAccount Account() const;
  // Stores a password that was typed on this page. False, after telling the user why, when the
  // keyring refused it.
  bool SavePassword();
  // The password typed on this page ("" when none was typed).
  std::string TypedPassword() const;

  QLineEdit* UrlEdit;
  QLineEdit* UserEdit;
  QLineEdit* PasswordEdit;
  QPushButton* TestButton;
  QComboBox* CalendarBox;
  QLabel* TestResult;
  QCheckBox* AtStartBox;
  QCheckBox* AtExitBox;
  QSpinBox* IntervalBox;

  void TestButtonClick();

 private:
  void BuildControls();
  void ShowCalendar(const std::string& href, const std::string& name);

  Needs needs_;
  bool password_typed_ = false;
};

}  // namespace calsync
