// TLauncherButtons: the ten launcher buttons at the right end of the tool bar. Each holds a
// file the user registered through the right-button menu; a click opens it, a program started
// directly and a document with its application. Registrations live in the settings file.
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <filesystem>

#include "settings/ini_gt.h"

class QAction;
class QMenu;
class QToolButton;
class QWidget;

namespace app {

class LauncherHost;
class LauncherShell;

class TLauncherButtons : public QObject {
  Q_OBJECT

 public:
  // Makes the buttons on `tool_bar`; LoadButtons shows the registered programs' icons.
  // `settings` holds each button's "User Software n" section; the file dialog opens in
  // `startup_dir`; `help_file` is what the menu's help opens.
  TLauncherButtons(QWidget& tool_bar, LauncherHost& host, LauncherShell& shell,
                   settings::TIniGT& settings, std::filesystem::path startup_dir,
                   QString help_file);

  // Button n (1 to 10), named after its designer name (SpeedButton13 ... SpeedButton23).
  QToolButton* Button(int n) const { return buttons_.at(static_cast<size_t>(n - 1)); }

  // The start-up loading: the icon of each "Software n.exe".
  void LoadButtons();
  // Mouse movement and mouse release over button n (the release opens the menu for the right
  // button).
  void SpeedButton13MouseMove(int n);
  void SpeedButton13MouseUp(int n, Qt::MouseButton button, const QPoint& global);
  void SpeedButton13Click(int n);  // launch
  void N12Click();                 // register on LauncherIndex
  void N13Click();                 // delete LauncherIndex's registration
  void Help2Click();

  // The registered file of button n as the settings file holds it ("" when none).
  QString RegisteredFile(int n) const;
  // At the right end of the tool bar, never over its other buttons.
  void PlaceButtons();
  // The room the ten buttons take at the bar's right end, with their margins.
  static int RowWidth();

  int LauncherIndex = 1;
  QString LauncherFile;
  QMenu* PopupMenu2;
  QAction *N12, *N13, *Help2;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int NumberOf(QObject* button) const;

  QWidget& tool_bar_;
  LauncherHost& host_;
  LauncherShell& shell_;
  settings::TIniGT& settings_;
  const std::filesystem::path startup_dir_;
  const QString help_file_;
  std::array<QToolButton*, 10> buttons_{};
};

}  // namespace app
