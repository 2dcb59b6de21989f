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
#include <map>
#include <memory>
#include <vector>

#include "app/launcher_host.h"
#include "app/month_grid_painter.h"
#include "archive/archive_commands_host.h"
#include "calendar/calendar_host.h"
#include "calendar/calendar_port.h"
#include "calendar/chosen_holiday_rules.h"
#include "calendar/lunar_almanac.h"
#include "clock/time_clock_host.h"
#include "clock/time_source.h"
#include "daydata/day_entry_host.h"
#include "daydata/light_strings.h"
#include "month/grid_keys.h"
#include "month/main_settings.h"
#include "month/month_cursor.h"
#include "month/month_model.h"
#include "month/row_heights.h"
#include "options/options_host.h"
#include "options/yearly_day_host.h"
#include "search/grep_search_host.h"
#include "settings/ini_gt.h"
#include "widgets/marquee_label.h"

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QToolButton;

namespace archive {
class TArchiveCommands;
}
namespace platform {
class TStringGrid;
}
namespace widgets {
class TGradBox;
}

namespace app {

class TMonthPrinter;
class TLauncherButtons;
class SyncCommands;
class LauncherShell;
using widgets::TMarqueeDirection;
using widgets::TMarqueeLabel;

class TKvrwin : public QMainWindow,
                public daydata::DayEntryHost,
                public LauncherHost,
                public calendar::CalendarHost,
                public archive::ArchiveCommandsHost,
                public timeclock::TimeClockHost,
                public options::OptionsHost,
                public search::GrepSearchHost,
                public options::SpecialDayHost,
                private month::GridKeyTarget {
  Q_OBJECT

 public:
  // `version_window` is the start-up window that FormCreate closes (it may be gone already).
  explicit TKvrwin(QWidget* version_window = nullptr, QWidget* parent = nullptr);
  ~TKvrwin() override;

  virtual void BuildMonth();
  virtual int DaysInMonth(int year, int month) const;

  // Date operations on the shown date; every change rebuilds the month.
  void SetDate(const QDate& date);
  void SetDatePart(int part, int value);  // 1 year, 2 month, 3 day; the day is kept valid
  int DatePart(int part) const;
  void StepMonth(int n) override;
  void NextYear();
  void PrevYear();
  // Day of the month for a row of a grid (1 left, 2 right), or -1 past the month's end.
  int RowDay(int grid, int row) const;

  // Commands of the tool bar and menus.
  void ThisMonth();
  void LeaveHalfMonth();  // full-month display, both half flags cleared
  void PrevHalfMonth() override;
  void NextHalfMonth() override;
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
  // Selects a grid row and gives that grid the focus.
  void SelectGridRow(int grid, int row);
  void SelectDay(int day) override;

  // The calendar window, attached right after it is made (before any navigation).
  void SetCalendar(calendar::CalendarPort* calendar);
  calendar::CalendarPort& Calendar() override { return *calendar_; }
  void SetDayEntry(daydata::DayEntryPort* entry) { day_entry_ = entry; }
  // True when the settings held no placement of this window (a first start); the program then
  // arranges its windows beside each other (kvrwin_row_fit.cpp).
  bool PlacedByDefault() const { return placed_by_default_; }
  // The least width at which the tool bar holds its buttons and all the launcher buttons (on
  // two rows if need be), and
  // the height from the window's top down to the tool bar's bottom, which nothing may cover.
  int ToolBarLeastWidth() const;
  int ToolBarBottom() const;

  // The state the other windows read, each through the host interface of its own.
  const month::MonthCursor& Cursor() const override { return cursor_; }
  QDate ShownDate() const override;
  bool HalfMonth() const override { return cursor_.HalfMonth(); }
  int CursorDay() const { return cursor_day_; }
  const std::filesystem::path& StartupDir() const override { return startup_dir_; }
  const std::filesystem::path& DataDir() const override { return data_dir_; }
  const month::MainSettings& Settings() const { return settings_; }
  // Settings changed elsewhere (the options dialog) take effect at the next month build.
  void SetSettings(const month::MainSettings& settings);
  const QStringList& MaximLines() const { return maxim_lines_; }
  const daydata::TLightStrings& DaySummary(int list) const {
    return day_summaries_[static_cast<std::size_t>(list)];
  }
  const std::vector<std::filesystem::path>& SubDirs() const { return sub_dirs_; }
  calendar::ChosenHolidayRules& Holidays() { return holidays_; }

  // daydata::DayEntryHost.
  QString ShownYear() const override { return shown_year_; }
  QString ShownMonth() const override { return shown_month_; }
  QString ShownDay() const override { return shown_day_; }
  void SetShownYear(const QString& year) override { shown_year_ = year; }
  bool FromCalendar() const override { return from_calendar_; }
  void SetFromCalendar(bool on) override { from_calendar_ = on; }
  void FocusGrid(int grid) override;
  void ShowToday(bool move_calendar) override;
  void ReloadMonth(bool cursor_cell_only) override;
  void DataDirRecreated(const std::filesystem::path& data_dir) override;
  settings::TIniGT& SettingsFile() override { return *IniGT1; }
  QFont InputTitleFont() const override { return input_taitol_font_; }
  int InputKeyClose() const override { return settings_.input_key_close; }
  QString HelpFile() const override { return help_file_; }

  settings::TIniGT* IniGT1;

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
  std::filesystem::path ClockDataDir() const override { return data_dir_; }
  QString ClockHelpFile() const override { return help_file_; }
  QString RememberedSoundPath() const override { return alarm_sound_path_; }
  void RememberSoundPath(const QString& path) override { alarm_sound_path_ = path; }
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
  QDate Today() const { return today_; }

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
  TMonthPrinter* MonthPrinter;
  TLauncherButtons* Launcher;
  archive::TArchiveCommands* ArchiveCommands = nullptr;  // compress, extract, delete, on exit
  SyncCommands* Sync = nullptr;  // ファイル → 同期, at start, at exit, every few minutes

  // What the archive commands ask of the window (kvrwin_archive_host.cpp).
  QWidget* ArchiveParent() override;
  std::filesystem::path ArchiveDataDir() const override;
  std::filesystem::path ShownYearFolder() const override;
  void RedrawMonth() override;
  int ReadArchiveSetting(const QString& section, const QString& key, int fallback) override;
  void WriteArchiveSetting(const QString& section, const QString& key, int value) override;
  QString ArchiveHelpFile() const override;
  archive::ArchiveFileDialogs& ArchiveDialogs() override;
  // Tests answer the archive commands' file dialogs through their own.
  void SetArchiveDialogs(archive::ArchiveFileDialogs* dialogs) { archive_dialogs_ = dialogs; }

  // What the search dialog asks (kvrwin_search_host.cpp), and "検索", which opens it.
  std::filesystem::path SearchDataDir() const override { return data_dir_; }
  int SearchShownYear() const override { return cursor_.Year(); }
  bool SearchHalfMonth() const override { return cursor_.HalfMonth(); }
  void SearchJumpTo(const search::SearchJump& jump) override;
  settings::ColourValue ReadSearchColour(const settings::Key& key) const override;
  int ReadSearchInteger(const settings::Key& key) const override;
  void WriteSearchInteger(const settings::Key& key, int value) override;
  QString SearchHelpFile() const override { return help_file_; }
  void SpeedButton12Click();
  // What the options dialog's page "特別日" asks (kvrwin_day_lists_host.cpp).
  std::filesystem::path SpecialStartupDir() const override { return startup_dir_; }
  std::filesystem::path SpecialDataDir() const override;
  int SpecialShownYear() const override;
  int SpecialShownMonth() const override;
  int SpecialCurrentYear() override;
  bool SpecialHalfMonth() const override { return cursor_.HalfMonth(); }
  void SpecialRebuildMonth() override { BuildMonth(); }
  int ReadBirthdaySuffix(int current) const override;
  void WriteBirthdaySuffix(int index) override;
  QString SpecialHelpFile() const override { return help_file_; }

  // What the launcher buttons ask (kvrwin_launcher_host.cpp).
  settings::TIniGT& LauncherSettings() override;
  std::filesystem::path LauncherStartupDir() const override;
  QString LauncherHelpFile() const override;
  void LauncherRestoreFolder() override;
  void LauncherLaunched() override;
  QWidget* LauncherWindow() override;

  // What the options dialog asks (kvrwin_options_host.cpp).
  settings::TIniGT& OptionsSettings() override { return *IniGT1; }
  QString OptionsHelpFile() const override { return help_file_; }
  options::OptionSwitches Switches() const override;
  void SetSwitches(const options::OptionSwitches& switches) override;
  settings::ColourValue OptionsColour(const settings::Key& key) const override;
  void PreviewColour(const settings::Key& key, settings::ColourValue colour) override;
  QFont OptionsFont(const settings::Key& key) const override;
  int DateColumnWidth() const override { return settings_.fixed_col_width; }
  int DefaultColumnWidth() const override;
  void PreviewDateColumnWidth(int width) override;
  int RowHeightSetting() const override { return settings_.row_height; }
  QString TitleText() const override;
  QStringList OptionsMaximLines() const override { return maxim_lines_; }
  void SetMaximLines(const QStringList& lines) override;
  void RestartStatusLine() override;
  void AppearanceWritten() override;
  void ReloadAppearance() override;
  // "設定ダイアログ": the options dialog, modal.
  void SpeedButton11Click();

 public slots:
  void SpeedButton27Click(bool down);
  void DirectoryListBox1Change();
  // Opens a directory of the list as the user's double click does.
  void OpenDirectory(const std::filesystem::path& dir);

  // calendar::CalendarHost (kvrwin_calendar_host.cpp); SetFromCalendar serves both hosts.
  int ReadInteger(const QString& section, const QString& key, int default_value) const override;
  void WriteInteger(const QString& section, const QString& key, int value) override;
  void ReadFont(const QString& section, const QString& key, QFont& font) const override;
  void ReadPlacement(const QString& section, const QString& prefix, QWidget& window) const override;
  void WritePlacement(const QString& section, const QString& prefix,
                      const QWidget& window) override;
  calendar::WindowColours Colours() const override;
  calendar::RestDaySwitches RestDays() const override;
  void SetRestDays(int syu2color, int syu1color) override;
  bool CalendarToggleDown() const override;
  void SetCalendarToggle(bool down) override;
  bool IsFromCalendar() const override { return from_calendar_; }
  void OpenEntryDialog(int year, int month, int day) override;
  calendar::HolidayRules& Rules() override { return holidays_; }
  calendar::Date MainDate() const override;
  void SetMainDate(const calendar::Date& date) override;
  QRect MainWindowFrame() const override { return frameGeometry(); }
  // "年月変更": the month jump dialog for the main window.
  void SpeedButton9Click();

 signals:
  // The window has accepted its close, by whatever path; the program ends on it.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;  // kvrwin_row_fit.cpp

  virtual void FormCreate();
  virtual void FormDestroy();
  virtual void FormClose();
  virtual void FormResize();
  void SetCaption(const QString& separator);
  void ResolveDataFolder();
  void PlaceTodayCursor();
  void ReadFonts();
  void LoadDaySummaries();
  void FillDirectoryList();
  QToolButton* AddToolButton(const char* name, const QString& text, const QString& hint);
  void BuildMenus();
  void LayoutRows();
  // Keeps the window tall enough for rows of `row_height` (kvrwin_row_fit.cpp).
  void FitWindowToRows(int row_height, bool status_shown);
  // The client height of a window as tall as its screen's free area (a large number while the
  // window is not shown).
  int MostClientHeight() const;
  void KeepFrameOnScreen();
  static QFont ScaledFont(const QFont& font, double scale);
  // `font` as the grids draw it: shrunk with the rows when they are (font_scale_).
  QFont ShownFont(const QFont& font) const;
  // The date column's width: the chosen one, or what the longest holiday name needs.
  int ShownDateColumnWidth() const;
  void ApplyCursorRows(platform::TStringGrid* grid);
  void SyncGridFocus();

  void StringGrid1DrawCell(int col, int row, const QRect& rect, int state);
  void StringGrid2DrawCell(int col, int row, const QRect& rect, int state);
  void DrawCell(int grid, int col, int row, const QRect& rect);
  bool CommonGridKey(int grid, int key);
  void GridKeyDown(int grid, int key);
  void StringGrid1KeyDown(int& key, Qt::KeyboardModifiers modifiers);
  void StringGrid2KeyDown(int& key, Qt::KeyboardModifiers modifiers);
  void GridDblClick(int grid);
  void GridMouseUp(int grid, Qt::MouseButton button);
  void RefreshShownDay(int grid);
  void MarqueeLabel1Begin();
  void MarqueeLabel1End();

  platform::TStringGrid* Grid(int grid) const { return grid == 1 ? StringGrid1 : StringGrid2; }

  // GridKeyTarget: the arrow keys' view of the window.
  int Row(int grid) const override;
  void SetRow(int grid, int row) override;
  void SelectRow(int grid, int row) override { SelectGridRow(grid, row); }

  std::filesystem::path startup_dir_;
  std::filesystem::path data_dir_;
  QString shown_year_, shown_month_, shown_day_;
  bool from_calendar_ = false;
  bool placed_by_default_ = false;
  int tool_bar_extra_ = 0;  // the tool bar's second row, when the window is too narrow
  month::MonthCursor cursor_;
  QDate today_;  // the day marked as today; cursor_day_ is its day of the month
  int cursor_day_ = 1;
  std::array<daydata::TLightStrings, 33> day_summaries_;  // 1..32 are used
  std::string year_folder_;
  QStringList maxim_lines_;
  QString help_file_;
  QFont days_font_, yotei_font_, taitol_font_, input_taitol_font_;
  month::MainSettings settings_;
  calendar::ChosenHolidayRules holidays_;  // shared with the holiday writer and the calendar
  calendar::LunarAlmanac lunar_;
  QString alarm_sound_path_;  // the clock window's sound file, remembered between alarms
  timeclock::TimeSource* time_ = &timeclock::SystemTime();
  month::MonthLayout shown_;  // the year and month each grid showed when it was last drawn
  // The directories below the start-up folder that may become the data folder; filled while
  // the data-folder tool is open.
  std::vector<std::filesystem::path> sub_dirs_;

  QPointer<QWidget> version_window_;
  std::vector<QToolButton*> tool_buttons_;
  QMenu* popup_menu_ = nullptr;
  QAction* close_arc_main_ = nullptr;
  QAction* close_arc_popup_ = nullptr;
  std::filesystem::path listed_dir_;  // the directory whose entries the list shows
  // The grid (1 or 2) and row that had the cursor when the data-folder list was opened; they
  // get it back when the list closes.
  int folder_tool_grid_ = 1, folder_tool_row_ = 0;
  // How far the grids' fonts are shrunk: below 1 when the screen is too small for rows of
  // the chosen fonts' size.
  double font_scale_ = 1.0;
  month::GridLines laid_out_lines_;  // the line heights the rows were last laid out for
  MonthGridPainter painter_;
  std::string title_;
  bool building_ = false;
  bool clear_cursor_cell_ = false;
  std::unique_ptr<LauncherShell> launcher_shell_;
  calendar::CalendarPort* calendar_ = nullptr;
  daydata::DayEntryPort* day_entry_ = nullptr;
  archive::ArchiveFileDialogs* archive_dialogs_ = nullptr;
  // The status line's colours while the options dialog shows them before OK.
  std::map<const settings::Key*, settings::ColourValue> previewed_colours_;

 private slots:
  void DirectoryListBox1Activated(QListWidgetItem* item);
};

}  // namespace app
