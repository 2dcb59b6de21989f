// TKvrwin: the main window. It owns the program's shared state (the shown date, the half-month
// flags, the data folder, the 32 day-summary lists, fonts and colours of the settings), reads
// the settings at start-up and writes them back when it is destroyed.
#pragma once

#include <QDate>
#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <filesystem>
#include <vector>

#include "app/ini_gt.h"
#include "app/main_settings.h"
#include "daydata/light_strings.h"

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QToolButton;

namespace app {

class TKvrwin : public QMainWindow {
  Q_OBJECT

 public:
  // `version_window` is the start-up window that FormCreate closes (it may be gone already).
  explicit TKvrwin(QWidget* version_window = nullptr, QWidget* parent = nullptr);
  ~TKvrwin() override;

  virtual void BuildMonth();
  virtual int DaysInMonth(int year, int month) const;

  // Shared state, read and changed by the other windows.
  std::filesystem::path StartupDir;
  std::filesystem::path DataDir;
  QString ShownYear, ShownMonth, ShownDay;
  bool FromCalendar = false;
  int HalfMonth = 0;
  bool FirstHalfShown = false;
  bool SecondHalfShown = false;
  int CursorDay = 1;
  QDate ShownDate;
  std::array<daydata::TLightStrings, 33> DaySummaries;  // 1..32 are used
  QStringList MaximLines;
  QString HelpFile;
  QFont DaysFont, YoteiFont, TaitolFont, InputTaitolFont;
  MainSettings Settings;

  TIniGT* IniGT1;
  QLabel* Panel1;       // month title
  QFrame* Panel4;       // frame of the grids and the directory list
  QFrame* ToolPanel;    // tool bar
  QFrame* DirTabPanel;  // tab panel around the directory list
  QListWidget* DirectoryListBox1;
  QToolButton* SpeedButton27;  // data folder tool
  QAction* N11;                // status line on/off

  // The directories below the start-up folder that may become the data folder; filled while
  // the data-folder tool is open.
  std::vector<std::filesystem::path> SubDirs;

 public slots:
  void SpeedButton27Click(bool down);
  void DirectoryListBox1Change();
  // Opens a directory of the list as the user's double click does.
  void OpenDirectory(const std::filesystem::path& dir);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  virtual void FormCreate();
  virtual void FormDestroy();
  virtual void FormClose();
  virtual void FormResize();
  void SetCaption(const QString& separator);
  void ResolveDataFolder();
  void WalkDirectories(const std::filesystem::path& dir);
  void FillDirectoryList();
  QToolButton* AddToolButton(const char* name, const QString& text, const QString& hint);
  void BuildMenus();

  QPointer<QWidget> version_window_;
  std::vector<QToolButton*> tool_buttons_;
  QMenu* popup_menu_ = nullptr;
  std::filesystem::path listed_dir_;  // the directory whose entries the list shows

 private slots:
  void DirectoryListBox1Activated(QListWidgetItem* item);
};

}  // namespace app
