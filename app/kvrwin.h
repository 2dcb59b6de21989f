// TKvrwin: the main window. It shows the month in two grids with the tool bar, the menus and the
// status line, keeps the month view's state (the shown date, the half-month flags, the 32
// day-summary lists, the fonts and colours of the settings), moves through days, months and
// years by keys, mouse and commands, and writes its settings back when it is destroyed.
// Start-up, the month display and the status line are in kvrwin.cpp; the navigation rules are
// in kvrwin_navigation.cpp. The other windows see it only through the adapters of
// MainWindowHosts; what they share besides (settings, folders, help, clock) is in AppContext.
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

#include "app/app_context.h"
#include "app/month_grid_painter.h"
#include "calendar/chosen_holiday_rules.h"
#include "calendar/lunar_almanac.h"
#include "daydata/light_strings.h"
#include "month/main_settings.h"
#include "month/month_cursor.h"
#include "month/month_model.h"
#include "month/row_heights.h"
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
namespace calendar {
class CalendarPort;
}
namespace daydata {
class DayEntryPort;
}
namespace platform {
class TStringGrid;
}
namespace widgets {
class TGradBox;
}

namespace app {

class MainWindowHosts;
class TMonthPrinter;
class TLauncherButtons;
class SyncCommands;
class LauncherShell;
using widgets::TMarqueeDirection;
using widgets::TMarqueeLabel;

class TKvrwin : public QMainWindow {
  Q_OBJECT

 public:
  // `version_window` is the start-up window that FormCreate closes (it may be gone already).
  explicit TKvrwin(AppContext& context, QWidget* version_window = nullptr);
  ~TKvrwin() override;

  // What the other windows see of this one, each through the adapter of its own host.
  MainWindowHosts& Hosts() { return *hosts_; }
  // The calendar window and the day entry dialog, attached right after they are made (before
  // any navigation).
  void SetCalendar(calendar::CalendarPort* calendar) { calendar_ = calendar; }
  void SetDayEntry(daydata::DayEntryPort* entry) { day_entry_ = entry; }
  SyncCommands& Sync() { return *sync_; }
  TMonthPrinter& Printer() { return *MonthPrinter; }
  // True when the settings held no placement of this window (a first start); the program then
  // arranges its windows beside each other (kvrwin_row_fit.cpp).
  bool PlacedByDefault() const { return placed_by_default_; }
  // The least width at which the tool bar holds its buttons and all the launcher buttons (on
  // two rows if need be), and the height from the window's top down to the month title's
  // bottom (tool bar and title), which nothing may cover.
  int ToolBarLeastWidth() const;
  int TitleBottom() const;

  // The month on display. Every change of date rebuilds it.
  virtual void BuildMonth();
  // After a save in the entry dialog only the cursor row's cell is cleared before the reload.
  void ReloadMonth(bool cursor_cell_only);
  const month::MonthCursor& Cursor() const { return cursor_; }
  QDate ShownDate() const;
  void SetDate(const QDate& date);
  void StepMonth(int n);
  void ThisMonth();
  void LeaveHalfMonth();  // full-month display, both half flags cleared
  void PrevHalfMonth();
  void NextHalfMonth();
  // Today's month in full-month display with the cursor on today, the calendar too if asked.
  void ShowToday(bool move_calendar);
  void SelectDay(int day);
  // Selects a grid row (1 left, 2 right) and gives that grid the focus.
  void SelectGridRow(int grid, int row);
  void FocusGrid(int grid);
  // Opens the day entry dialog for a grid row by the rules of both modes; false when the row
  // stands for no day.
  bool OpenDayEntry(int grid, int row);

  // Today by the context's clock. A date that has moved on without the clock window (closed,
  // or asleep) is taken as the new today first, so that today's year, month and day never mix
  // two days.
  QDate CurrentToday();
  QDate Today() const { return today_; }
  int CursorDay() const { return cursor_day_; }

  const month::MainSettings& Settings() const { return settings_; }
  // Settings changed elsewhere (the options dialog) take effect at the next month build.
  void SetSettings(const month::MainSettings& settings);
  const QStringList& MaximLines() const { return maxim_lines_; }
  const daydata::TLightStrings& DaySummary(int list) const {
    return day_summaries_[static_cast<std::size_t>(list)];
  }

 public slots:
  // Opens a directory of the data-folder tool's list as the user's double click does.
  void OpenDirectory(const std::filesystem::path& dir);

 signals:
  // The window has accepted its close, by whatever path; the program ends on it.
  void Closed();

 protected:
  // The adapters are this window's faces towards the other windows: each turns its window's
  // host interface into the month view's own state and commands.
  friend class ArchiveHostAdapter;
  friend class CalendarHostAdapter;
  friend class ClockHostAdapter;
  friend class DayEntryHostAdapter;
  friend class GridKeysAdapter;
  friend class LauncherHostAdapter;
  friend class OptionsHostAdapter;
  friend class SearchHostAdapter;
  friend class YearlyDayHostAdapter;

  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;  // kvrwin_row_fit.cpp

  void FormCreate();
  void FormDestroy();
  void FormClose();
  void FormResize();
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
  // The entry dialog made the data folder anew at `data_dir` (the old one had gone).
  void DataDirRecreated(const std::filesystem::path& data_dir);
  settings::TIniGT& SettingsFile() { return context_.Settings(); }

  // Commands of the tool bar and menus.
  void NextYear();
  void PrevYear();
  void PrevMonthCommand(bool move_calendar);
  void NextMonthCommand(bool move_calendar);
  void PrevYearCommand();
  void NextYearCommand();
  void CalendarToggle(bool down);
  void N11Click();
  void StartStatusLine();
  void SpeedButton9Click();   // "年月変更": the month jump dialog
  void SpeedButton11Click();  // "設定ダイアログ": the options dialog, modal
  void SpeedButton12Click();  // "検索": the search dialog
  // "祝日書込": stamps the holiday names of the shown month into its day files.
  void SpeedButton25Click();
  void SpeedButton27Click(bool down);
  void DirectoryListBox1Change();
  void DirectoryListBox1Activated(QListWidgetItem* item);

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

  AppContext& context_;
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
  SyncCommands* sync_ = nullptr;  // ファイル → 同期, at start, at exit, every few minutes

  std::unique_ptr<MainWindowHosts> hosts_;
  // The date the day entry dialog opens on, as text: the cursor's day, or the calendar's.
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
  QFont days_font_, yotei_font_, taitol_font_, input_taitol_font_;
  month::MainSettings settings_;
  calendar::ChosenHolidayRules holidays_;  // shared with the holiday writer and the calendar
  calendar::LunarAlmanac lunar_;
  QString alarm_sound_path_;  // the clock window's sound file, remembered between alarms
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
  // The status line's colours while the options dialog shows them before OK.
  std::map<const settings::Key*, settings::ColourValue> previewed_colours_;
};

}  // namespace app
