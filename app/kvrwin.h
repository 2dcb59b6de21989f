// TKvrwin: the main window. It owns the program's shared state (the shown date, the half-month
// flags, the data folder, the 32 day-summary lists, fonts and colours of the settings), shows
// the month in two grids, moves through days, months and years by keys, mouse and commands,
// and writes its settings back when it is destroyed. Start-up, the month display and the
// status line are in kvrwin.cpp; the navigation rules are in kvrwin_navigation.cpp.
#pragma once

#include <QDate>
#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/calendar_port.h"
#include "app/ini_gt.h"
#include "app/main_settings.h"
#include "app/month_grid_painter.h"
#include "app/month_model.h"
#include "calendar/lunar_calendar.h"
#include "calendar/table_holiday_rules.h"
#include "clock/time_clock_host.h"
#include "clock/time_source.h"
#include "daydata/light_strings.h"

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QToolButton;

namespace platform {
class TStringGrid;
}
namespace widgets {
class TGradBox;
}

namespace app {

class ModelCalendarPort;
class TMarqueeLabel;

class TKvrwin : public QMainWindow, public timeclock::TimeClockHost {
  Q_OBJECT

 public:
  // `version_window` is the start-up window that FormCreate closes (it may be gone already).
  explicit TKvrwin(QWidget* version_window = nullptr, QWidget* parent = nullptr);
  ~TKvrwin() override;

  virtual void BuildMonth();
  virtual int DaysInMonth(int year, int month) const;

  // Date operations.
  void SetDate(const QDate& date);
  void SetDatePart(int part, int value);  // 1 year, 2 month, 3 day; the day is kept valid
  int DatePart(int part) const;
  static bool IsLeapYear(int year);
  void StepMonth(int n);
  void NextYear();
  void PrevYear();
  // Day of the month for a row of a grid (1 left, 2 right), or -1 past the month's end.
  int RowDay(int grid, int row) const;

  // Commands of the tool bar and menus.
  void ThisMonth();
  void LeaveHalfMonth();  // full-month display, both half flags cleared
  void PrevHalfMonth();
  void NextHalfMonth();
  void PrevMonthCommand(bool move_calendar);
  void NextMonthCommand(bool move_calendar);
  void PrevYearCommand();
  void NextYearCommand();
  void CalendarToggle(bool down);
  void N11Click();
  void StartStatusLine();
  // "祝日書込": stamps the holiday names of the shown month into its day files.
  void SpeedButton25Click();

  // Opens the day entry dialog for a grid row (1 left, 2 right) by the rules of both modes;
  // false when the row stands for no day.
  bool OpenDayEntry(int grid, int row);
  // What the entry dialog asks: select a grid row and focus it, and reload the day texts with
  // only the cursor row's cell cleared first.
  void SelectGridRow(int grid, int row);
  void RequestCursorCellClear() { clear_cursor_cell_ = true; }

  void SetCalendar(CalendarPort* calendar);
  CalendarPort& Calendar() { return *calendar_; }
  void SetDayEntry(DayEntryPort* entry) { day_entry_ = entry; }

  // The clock window's host (kvrwin_time_clock_host.cpp).
  QString IniReadString(const QString& section, const QString& key,
                        const QString& default_value) const override;
  void IniWriteString(const QString& section, const QString& key, const QString& value) override;
  int IniReadInteger(const QString& section, const QString& key, int default_value) const override;
  void IniWriteInteger(const QString& section, const QString& key, int value) override;
  bool IniReadBool(const QString& section, const QString& key, bool default_value) const override;
  void IniReadFont(const QString& section, const QString& prefix, QFont& font) const override;
  void IniWriteFont(const QString& section, const QString& prefix, const QFont& font) override;
  void IniReadPlacement(const QString& section, const QString& prefix,
                        QWidget& window) const override;
  void IniWritePlacement(const QString& section, const QString& prefix,
                         const QWidget& window) override;
  std::filesystem::path ClockDataDir() const override { return DataDir; }
  QString ClockHelpFile() const override { return HelpFile; }
  QString RememberedSoundPath() const override { return AlarmSoundPath; }
  void RememberSoundPath(const QString& path) override { AlarmSoundPath = path; }
  void ClockSetToday(int year, int month, int day) override;
  void ClockRebuildMonth() override { BuildMonth(); }
  void ClockCalendarToday() override;
  void ClockStartStatusLine() override;
  void ClockKeepStatusLineColour() override;
  bool MainWindowActive() const override { return isActiveWindow(); }
  void FocusMainWindow() override { activateWindow(); }
  // The clock the main window reads today from; the clock window reads the same one.
  void SetTimeSource(timeclock::TimeSource& time) { time_ = &time; }
  // Today by that clock. A date that has moved on without the clock window (closed, or asleep)
  // is taken as the new today first, so that today's year, month and day never mix two days.
  QDate CurrentToday();

  // Shared state, read and changed by the other windows.
  std::filesystem::path StartupDir;
  std::filesystem::path DataDir;
  QString ShownYear, ShownMonth, ShownDay;
  bool FromCalendar = false;
  int HalfMonth = 0;
  bool FirstHalfShown = false;
  bool SecondHalfShown = false;
  int CursorDay = 1;
  QDate Today;  // the day marked as today; CursorDay is its day of the month
  QDate ShownDate;
  QString AlarmSoundPath;  // the clock window's sound file, remembered between alarms
  std::array<daydata::TLightStrings, 33> DaySummaries;  // 1..32 are used
  std::string YearFolder;
  QStringList MaximLines;
  QString HelpFile;
  QFont DaysFont, YoteiFont, TaitolFont, InputTaitolFont;
  MainSettings Settings;
  calendar::TableHolidayRules Holidays;  // shared with the holiday writer and the calendar
  calendar::LunarCalendar Lunar;
  // The year and month each grid showed when it was last drawn.
  MonthLayout Shown;

  TIniGT* IniGT1;
  widgets::TGradBox* GradBox1;  // client-area background
  widgets::TGradBox* GradBox2;  // tool bar
  QLabel* Panel1;               // month title
  QFrame* Panel4;               // frame of the grids and the directory list
  platform::TStringGrid* StringGrid1;
  platform::TStringGrid* StringGrid2;
  TMarqueeLabel* MarqueeLabel1;
  QFrame* DirTabPanel;  // tab panel around the directory list
  QListWidget* DirectoryListBox1;
  QToolButton* SpeedButton27;  // data folder tool
  QToolButton* CalendarButton;
  QAction* N11;  // status line on/off

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
  void PlaceTodayCursor();
  void ReadFonts();
  void LoadDaySummaries();
  void WalkDirectories(const std::filesystem::path& dir);
  void FillDirectoryList();
  QToolButton* AddToolButton(const char* name, const QString& text, const QString& hint);
  void BuildMenus();
  void LayoutRows();
  void ApplyCursorRows(platform::TStringGrid* grid);
  void SyncGridFocus();

  void StringGrid1DrawCell(int col, int row, const QRect& rect, int state);
  void StringGrid2DrawCell(int col, int row, const QRect& rect, int state);
  void DrawCell(int grid, int col, int row, const QRect& rect);
  bool CommonGridKey(int grid, int key);
  void StringGrid1KeyDown(int& key, Qt::KeyboardModifiers modifiers);
  void StringGrid2KeyDown(int& key, Qt::KeyboardModifiers modifiers);
  void GridDblClick(int grid);
  void GridMouseUp(int grid, Qt::MouseButton button);
  void RefreshShownDay(int grid);
  void MarqueeLabel1Begin();
  void MarqueeLabel1End();

  platform::TStringGrid* Grid(int grid) const { return grid == 1 ? StringGrid1 : StringGrid2; }
  int LeftRowDay(int row) const;   // day of a left-grid row in the current mode
  int RightRowDay(int row) const;  // day of a right-grid row in the current mode

  QPointer<QWidget> version_window_;
  std::vector<QToolButton*> tool_buttons_;
  QMenu* popup_menu_ = nullptr;
  QAction* close_arc_main_ = nullptr;
  QAction* close_arc_popup_ = nullptr;
  std::filesystem::path listed_dir_;  // the directory whose entries the list shows
  MonthGridPainter painter_;
  std::string title_;
  bool building_ = false;
  bool clear_cursor_cell_ = false;
  std::unique_ptr<ModelCalendarPort> own_calendar_;
  CalendarPort* calendar_ = nullptr;
  DayEntryPort* day_entry_ = nullptr;
  timeclock::TimeSource* time_ = &timeclock::SystemTime();

 private slots:
  void DirectoryListBox1Activated(QListWidgetItem* item);
};

}  // namespace app
