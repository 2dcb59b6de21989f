#include "app/kvrwin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolButton>

#include <algorithm>
#include <system_error>

#include "app/desktop_launcher_shell.h"
#include "app/ical_commands.h"
#include "app/launcher_buttons.h"
#include "app/main_window_hosts.h"
#include "app/month_printer.h"
#include "app/sync_commands.h"
#include "archive/archive_commands.h"
#include "calendar/jamp_month.h"
#include "clock/time_source.h"
#include "month/row_heights.h"
#include "options/option1.h"
#include "options/yearly_day_page.h"
#include "platform/cp932.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/help_viewer.h"
#include "platform/install_layout.h"
#include "platform/line_height.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "platform/string_grid.h"
#include "platform/system_colours.h"
#include "search/grep_search.h"
#include "settings/settings_location.h"
#include "sync/sync_page.h"
#include "widgets/grad_box.h"

namespace fs = std::filesystem;

namespace app {

using month::ApplyCalendarChoices;
using month::BuildDateColumn;
using month::DefaultPdfName;
using month::FontScaleFor;
using month::GridLines;
using month::GridRow;
using month::LayoutOf;
using month::MainSettings;
using month::MinimumRowHeight;
using month::MonthCursor;
using month::MonthTitle;
using month::MonthView;
using month::ReadMainSettings;
using month::RowHeightFor;
using month::RowShare;
using month::ShownTextOf;

namespace {

QString PathText(const fs::path& path) {
  return QString::fromStdString(path.string());
}

constexpr int kToolBarLeft = 4;
constexpr int kToolButtonGap = 2;

// A command button's width is what its text needs in the current font.
int ToolButtonWidth(const QToolButton& button) {
  return button.sizeHint().width();
}

// The tool bar's width up to the launcher buttons with every command button at its least.
int ToolButtonsMinimumWidth(const std::vector<QToolButton*>& buttons) {
  int width = kToolBarLeft;
  for (const QToolButton* button : buttons) width += ToolButtonWidth(*button) + kToolButtonGap;
  return width;
}

}  // namespace

TKvrwin::TKvrwin(AppContext& context, QWidget* version_window)
    : context_(context),
      hosts_(std::make_unique<MainWindowHosts>(context, *this)),
      version_window_(version_window) {
  setObjectName("Kvrwin");

  // The client area: the gradient background with the tool bar, the month title, the frame
  // with both grids and the directory list, and the status line along the bottom.
  GradBox1 = new widgets::TGradBox(this);
  GradBox1->setObjectName("GradBox1");
  setCentralWidget(GradBox1);
  GradBox2 = new widgets::TGradBox(GradBox1);
  GradBox2->setObjectName("GradBox2");
  Panel1 = new QLabel(GradBox1);
  Panel1->setObjectName("Panel1");
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setAutoFillBackground(true);
  Panel4 = new QFrame(GradBox1);
  Panel4->setObjectName("Panel4");
  Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  for (int g = 1; g <= 2; ++g) {
    auto* grid = new platform::TStringGrid(Panel4);
    grid->setObjectName(g == 1 ? "StringGrid1" : "StringGrid2");
    grid->SetColCount(2);
    grid->SetRowCount(16);
    grid->SetFixedCols(1);
    (g == 1 ? StringGrid1 : StringGrid2) = grid;
    connect(grid, &platform::TStringGrid::DrawCell, this,
            [this, g](int col, int row, const QRect& rect, int) { DrawCell(g, col, row, rect); });
    connect(grid, &platform::TStringGrid::KeyDown, this,
            g == 1 ? &TKvrwin::StringGrid1KeyDown : &TKvrwin::StringGrid2KeyDown);
    connect(grid, &platform::TStringGrid::DblClick, this, [this, g] { GridDblClick(g); });
    connect(grid, &platform::TStringGrid::MouseUp, this,
            [this, g](Qt::MouseButton button, const QPoint&) { GridMouseUp(g, button); });
    connect(grid, &platform::TStringGrid::RightClick, this,
            [this](const QPoint& at) { popup_menu_->popup(at); });
    connect(grid, &platform::TStringGrid::RowChanged, this,
            [this, grid] { ApplyCursorRows(grid); });
    connect(grid, &platform::TStringGrid::FocusChanged, this, &TKvrwin::SyncGridFocus);
    connect(grid, &platform::TStringGrid::CellHint, this,
            [this, g](int col, int row, const QRect& rect, QString& hint) {
              if (col == 0) {
                hint = painter_.HolidayHint(rect, painter_.Date(g - 1, row), ShownFont(days_font_));
              }
            });
  }
  DirTabPanel = new QFrame(Panel4);
  DirTabPanel->setObjectName("DirTabPanel");
  DirTabPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  DirectoryListBox1 = new QListWidget(DirTabPanel);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setToolTip(
      QStringLiteral("データの保管されているディレクトリを指定して下さい"));
  connect(DirectoryListBox1, &QListWidget::itemActivated, this,
          &TKvrwin::DirectoryListBox1Activated);
  MarqueeLabel1 = new TMarqueeLabel(GradBox1);
  MarqueeLabel1->setObjectName("MarqueeLabel1");
  QFont mincho(platform::kMinchoFace);
  mincho.setPixelSize(17);
  MarqueeLabel1->setFont(mincho);
  MarqueeLabel1->SetFontColor(Qt::yellow);
  MarqueeLabel1->SetColor(platform::ToQColor(platform::kClBtnFace));
  MarqueeLabel1->OnBegin = [this] { MarqueeLabel1Begin(); };
  MarqueeLabel1->OnEnd = [this] { MarqueeLabel1End(); };
  MarqueeLabel1->OnClick = [this] { StartStatusLine(); };

  MonthPrinter = new TMonthPrinter(*GradBox1, *GradBox2, this);
  BuildMenus();
  launcher_shell_ = std::make_unique<DesktopLauncherShell>();
  Launcher = new TLauncherButtons(*GradBox2, hosts_->launcher, *launcher_shell_,
                                  context_.Settings(), context_.StartupDir(), context_.HelpFile());
  // The panels' colours are read before everything else, as the window is made.
  MainSettings& s = settings_;
  {
    settings::IniSnapshot once(context_.Store());
    ReadMainSettings(context_.Store(), s);
  }
  GradBox1->SetTopColor(s.title_top_color);
  GradBox1->SetLastColor(s.title_last_color);
  GradBox2->SetTopColor(s.toolbar_top_color);
  GradBox2->SetLastColor(s.toolbar_last_color);
  ArchiveCommands = new archive::TArchiveCommands(hosts_->archive, context_.Settings(),
                                                  context_.DataDir(), context_.HelpFile(), this);
  ArchiveCommands->AttachCloseArcActions(close_arc_main_, close_arc_popup_);
  FormCreate();
}

TKvrwin::~TKvrwin() {
  FormDestroy();
}

QToolButton* TKvrwin::AddToolButton(const char* name, const QString& text, const QString& hint) {
  auto* button = new QToolButton(GradBox2);
  button->setObjectName(name);
  button->setText(text);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  tool_buttons_.push_back(button);
  return button;
}

void TKvrwin::BuildMenus() {
  // Commands whose windows are not part of the program yet stand disabled in their places.
  auto later = [](QAction* action) {
    action->setEnabled(false);
    return action;
  };
  auto on = [this](QAction* action, auto slot) {
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  on(file->addAction(QStringLiteral("印刷(&P)...")), [this] { MonthPrinter->Print(); });
  on(file->addAction(QStringLiteral("印刷設定(&S)...")), [this] { MonthPrinter->PrinterSetup(); });
  on(file->addAction(QStringLiteral("印刷プレビュー(&V)...")), [this] { MonthPrinter->Preview(); });
  on(file->addAction(QStringLiteral("PDF に保存(&E)...")), [this] { MonthPrinter->SaveAsPdf(); });
  file->addSeparator();
  // The days as iCalendar: each call reads the folders of the moment.
  auto* ical = new IcalCommands(
      this, {[this] { return context_.DataDir(); }, [this] { return context_.StartupDir(); },
             nullptr, [this] { BuildMonth(); }});
  on(file->addAction(QStringLiteral("iCalendar に書き出し(&I)...")),
     [ical] { ical->ExportClick(); });
  on(file->addAction(QStringLiteral("iCalendar を読み込み(&M)...")),
     [ical] { ical->ImportClick(); });
  // Two-way sync with the CalDAV calendar the options page 同期 set up.
  sync_ = new SyncCommands(this, {[this] { return context_.DataDir(); },
                                  [this]() -> settings::IniStore& { return context_.Store(); },
                                  [] { return QApplication::activeModalWidget() != nullptr; },
                                  [this] { BuildMonth(); }});
  on(file->addAction(QStringLiteral("同期(&Y)")), [this] { sync_->SyncClick(); });
  menuBar()->setCornerWidget(sync_->CornerWidget(), Qt::TopRightCorner);
  file->addSeparator();
  on(file->addAction(QStringLiteral("データ圧縮(&P)...")), [this] { ArchiveCommands->N1Click(); });
  on(file->addAction(QStringLiteral("データ解凍(&U)...")), [this] { ArchiveCommands->N2Click(); });
  on(file->addAction(QStringLiteral("データ削除(&D)...")), [this] { ArchiveCommands->D1Click(); });
  close_arc_main_ = later(file->addAction(QStringLiteral("終了時にデータ圧縮処理(&A)")));
  close_arc_main_->setCheckable(true);
  file->addSeparator();
  on(file->addAction(QStringLiteral("終了(&X)")), &QWidget::close);

  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  on(view->addAction(QStringLiteral("前年(&Z)")), &TKvrwin::PrevYearCommand);
  on(view->addAction(QStringLiteral("前月(&P)")), [this] { PrevMonthCommand(false); });
  on(view->addAction(QStringLiteral("今月(&K)")), &TKvrwin::ThisMonth);
  on(view->addAction(QStringLiteral("次月(&N)")), [this] { NextMonthCommand(false); });
  on(view->addAction(QStringLiteral("次年(&R)")), &TKvrwin::NextYearCommand);
  on(view->addAction(QStringLiteral("月指定(&J)...")), &TKvrwin::SpeedButton9Click);
  view->addSeparator();
  N11 = on(view->addAction(QStringLiteral("ｽﾃｰﾀｽﾊﾞｰON/OFF")), &TKvrwin::N11Click);
  N11->setObjectName("N11");
  N11->setCheckable(true);

  QMenu* tools = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
  on(tools->addAction(QStringLiteral("設定(&F)")), &TKvrwin::SpeedButton11Click);
  on(tools->addAction(QStringLiteral("検索(&S)")), &TKvrwin::SpeedButton12Click);
  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  on(help->addAction(QStringLiteral("目次(&C)")),
     [this] { platform::ShowHelp(this, context_.HelpFile(), 0); });

  popup_menu_ = new QMenu(this);
  popup_menu_->setObjectName("PopupMenu1");
  on(popup_menu_->addAction(QStringLiteral("設定(&O)...")), &TKvrwin::SpeedButton11Click);
  on(popup_menu_->addAction(QStringLiteral("検索(&S)...")), &TKvrwin::SpeedButton12Click);
  close_arc_popup_ = popup_menu_->addAction(QStringLiteral("終了時にデータ圧縮処理(&A)"));
  close_arc_popup_->setCheckable(true);
  on(popup_menu_->addAction(QStringLiteral("終了(&X)")), &QWidget::close);

  struct Button {
    const char* name;
    const char* text;
    const char* hint;
    void (TKvrwin::*command)();
  };
  static const Button kButtons[] = {
      {"SpeedButton1", "終了", "終了", nullptr},
      {"SpeedButton2", "«年", "前年表示", &TKvrwin::PrevYearCommand},
      {"SpeedButton3", "‹月", "前月表示", nullptr},
      {"SpeedButton4", "‹半", "前半月表示", &TKvrwin::PrevHalfMonth},
      {"SpeedButton5", "今月", "今月表示", &TKvrwin::ThisMonth},
      {"SpeedButton6", "半›", "次半月表示", &TKvrwin::NextHalfMonth},
      {"SpeedButton7", "月›", "次月表示", nullptr},
      {"SpeedButton8", "年»", "次年表示", &TKvrwin::NextYearCommand},
      {"SpeedButton9", "年月", "年月変更", &TKvrwin::SpeedButton9Click},
      {"SpeedButton10", "暦", "カレンダーON/OFF", nullptr},
      {"SpeedButton11", "設定", "設定ダイアログ", &TKvrwin::SpeedButton11Click},
      {"SpeedButton12", "検索", "検索", &TKvrwin::SpeedButton12Click},
      {"SpeedButton17", "圧縮", "データ圧縮", nullptr},
      {"SpeedButton24", "解凍", "データ解凍", nullptr},
      {"SpeedButton25", "祝日", "祝日書込", nullptr},
      {"SpeedButton26", "印刷", "予定表印刷", nullptr},
      {"SpeedButton27", "フォルダ", "データフォルダ変更", nullptr},
  };
  for (const Button& b : kButtons) {
    QToolButton* button =
        AddToolButton(b.name, QString::fromUtf8(b.text), QString::fromUtf8(b.hint));
    if (b.command) {
      connect(button, &QToolButton::clicked, this, b.command);
    } else {
      button->setEnabled(false);
    }
  }
  auto button = [this](const char* name) { return GradBox2->findChild<QToolButton*>(name); };
  button("SpeedButton1")->setEnabled(true);
  connect(button("SpeedButton1"), &QToolButton::clicked, this, &QWidget::close);
  button("SpeedButton3")->setEnabled(true);
  connect(button("SpeedButton3"), &QToolButton::clicked, this, [this] { PrevMonthCommand(true); });
  button("SpeedButton7")->setEnabled(true);
  connect(button("SpeedButton7"), &QToolButton::clicked, this, [this] { NextMonthCommand(true); });
  CalendarButton = button("SpeedButton10");
  CalendarButton->setCheckable(true);
  CalendarButton->setEnabled(true);
  connect(CalendarButton, &QToolButton::clicked, this, &TKvrwin::CalendarToggle);
  button("SpeedButton25")->setEnabled(true);
  connect(button("SpeedButton25"), &QToolButton::clicked, this, &TKvrwin::SpeedButton25Click);
  button("SpeedButton26")->setEnabled(true);
  connect(button("SpeedButton26"), &QToolButton::clicked, this, [this] { MonthPrinter->Print(); });
  for (const char* name : {"SpeedButton17", "SpeedButton24"}) button(name)->setEnabled(true);
  connect(button("SpeedButton17"), &QToolButton::clicked, this,
          [this] { ArchiveCommands->N1Click(); });
  connect(button("SpeedButton24"), &QToolButton::clicked, this,
          [this] { ArchiveCommands->N2Click(); });
  SpeedButton27 = button("SpeedButton27");
  SpeedButton27->setCheckable(true);
  SpeedButton27->setEnabled(true);
  connect(SpeedButton27, &QToolButton::toggled, this, &TKvrwin::SpeedButton27Click);
}

void TKvrwin::ReadFonts() {
  settings::IniSnapshot once(context_.Store());
  SettingsFile().ReadFont(settings::keys::DaysFont, days_font_);
  SettingsFile().ReadFont(settings::keys::YoteiFont, yotei_font_);
  SettingsFile().ReadFont(settings::keys::TaitolFont, taitol_font_);
  SettingsFile().ReadFont(settings::keys::InputTaitolFont, input_taitol_font_);
}

void TKvrwin::FormCreate() {
  // The start-up reads the settings file once, not once a key; a write drops the snapshot.
  settings::IniSnapshot once(context_.Store());
  for (auto& list : day_summaries_) list.Clear();
  maxim_lines_.clear();

  resize(1000, 760);
  placed_by_default_ = !SettingsFile().HasPlacement(settings::keys::MainPlacement);
  SettingsFile().ReadPlacement(settings::keys::MainPlacement, *this);

  ReadMainSettings(context_.Store(), settings_);
  ApplyCalendarChoices(settings_, holidays_, lunar_);
  N11->setChecked(settings_.tool_bar == 1);
  MarqueeLabel1->setVisible(!N11->isChecked());
  Launcher->LoadButtons();
  close_arc_main_->setChecked(settings_.close_arc == 1);
  close_arc_popup_->setChecked(settings_.close_arc == 1);
  cursor_.SetHalfMonth(settings_.half_month == 1);
  days_font_ = yotei_font_ = QFont(platform::kGothicFace, 10);
  taitol_font_ = QFont(platform::kMinchoFace, 16, QFont::Bold);
  input_taitol_font_ = QFont(platform::kMinchoFace, 14, QFont::Bold);
  ReadFonts();
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    grid->SetFixedColor(platform::ToQColor(settings_.fixed_grid_color));
    grid->SetColWidth(0, settings_.fixed_col_width);
  }
  MarqueeLabel1->setToolTip(
      settings_.kakugen ? QString() : QStringLiteral("ここをクリックすると文字がスクロールします"));

  const QDate today = CurrentToday();
  cursor_.SetDate(today.year(), today.month(), today.day());
  shown_year_ = QString::number(today.year());
  shown_month_ = QString::number(today.month());

  CalendarButton->setChecked(settings_.calendar_on_off == 1);
  CalendarButton->setToolTip(QStringLiteral("カレンダーON/OFF"));
  QApplication::processEvents();
  if (version_window_) version_window_->close();

  PlaceTodayCursor();
  ResolveDataFolder();
  DirTabPanel->hide();
  DirectoryListBox1->hide();
  BuildMonth();
  StartStatusLine();
}

void TKvrwin::PlaceTodayCursor() {
  const int d = cursor_day_;
  // The test is made on the grid that holds the day in full-month display, also when half-month
  // display puts the day into the other grid.
  const GridRow full = MonthCursor::FullMonthRowOf(d);
  const GridRow at = cursor_.RowOfDay(d);
  if (at.grid != 0 && Grid(full.grid)->Col() == 1 &&
      d <= month::DaysInMonth(cursor_.Year(), cursor_.Month()))
    SelectGridRow(at.grid, at.row);
  if (cursor_.HalfMonth()) cursor_.SetHalves(d<17, d> 16);
}

void TKvrwin::SetCaption(const QString& separator) {
  setWindowTitle(QStringLiteral("ミルネ") + separator + PathText(context_.DataDir()));
}

void TKvrwin::ResolveDataFolder() {
  fs::path setting = settings::ReadDataFolderSetting(context_.Store());
  // A folder written by hand without its whole path is taken from the start-up folder, once,
  // so that every day file is named by a whole path.
  if (setting.is_relative() && !setting.empty()) setting = context_.StartupDir() / setting;
  context_.SetDataDir(setting);
  const bool unset = context_.DataDir().empty();
  SetCaption(QStringLiteral("-"));
  settings::DataFolder folder =
      settings::ResolveDataFolder(context_.DataDir(), context_.StartupDir());
  if (folder.is_default && (unset || folder.must_create)) {
    std::error_code ec;
    fs::create_directories(folder.path, ec);
    context_.SetDataDir(folder.path);
    SetCaption(QStringLiteral(" - "));
    try {
      settings::WriteDataFolderSetting(context_.Store(), context_.DataDir());
    } catch (const std::system_error& e) {
      platform::ShowErrorBox(this, QString::fromStdString(e.what()));
    }
  }
  // Nothing in the program reads by relative name; the working folder is where the file
  // dialogs that name no folder of their own open (the maxims file, an alarm sound).
  platform::SetCurrentDir(context_.DataDir());
}

void TKvrwin::BuildMonth() {
  ReadFonts();
  // Rows follow the fonts' line heights: a font chosen in the options dialog re-lays them.
  if (GridLines now{platform::LineHeight(days_font_), platform::LineHeight(yotei_font_)};
      now.date_line != laid_out_lines_.date_line || now.text_line != laid_out_lines_.text_line) {
    LayoutRows();
  } else {
    // Another face of the same line height: drawn at the rows' scale as before.
    for (platform::TStringGrid* grid : {StringGrid1, StringGrid2})
      grid->SetColWidth(0, ShownDateColumnWidth());
  }
  building_ = true;
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, platform::ToQColor(GradBox1->TopColor()));
  palette.setColor(QPalette::WindowText, platform::ToQColor(settings_.title_font_color));
  Panel1->setPalette(palette);
  Panel1->setFont(taitol_font_);
  const MonthView& view = cursor_.View();
  title_ = MonthTitle(view, title_);
  MonthPrinter->SetPdfName(QString::fromStdString(DefaultPdfName(view)));
  Panel1->setText(platform::ToQString(title_));
  LoadDaySummaries();
  shown_ = LayoutOf(view);
  const QDate today = today_;
  painter_.SetDates(BuildDateColumn(view, {today.year(), today.month(), cursor_day_}, settings_,
                                    holidays_, lunar_));
  for (int row = 0; row < 16; ++row) {
    painter_.SetText(0, row,
                     ShownTextOf(day_summaries_[static_cast<size_t>(shown_.left.ListOf(row))]));
    painter_.SetText(1, row,
                     ShownTextOf(day_summaries_[static_cast<size_t>(shown_.right.ListOf(row))]));
  }
  clear_cursor_cell_ = false;
  building_ = false;
  StringGrid1->update();
  StringGrid2->update();
}

void TKvrwin::LoadDaySummaries() {
  // The schedule cells are cleared before the reload; after a save in the entry dialog only
  // the cursor row of the focused grid is, so that the other rows do not flicker.
  const MonthView& view = cursor_.View();
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    for (int row = 0; row < 16; ++row) {
      if (!clear_cursor_cell_ || (grid->Focused() && row == grid->Row())) grid->SetCell(1, row, {});
    }
  }
  year_folder_ = month::LoadDaySummaries(context_.DataDir(), view, day_summaries_);
}

void TKvrwin::SetSettings(const MainSettings& settings) {
  settings_ = settings;
  ApplyCalendarChoices(settings_, holidays_, lunar_);
}

void TKvrwin::ReloadMonth(bool cursor_cell_only) {
  clear_cursor_cell_ = cursor_cell_only;
  BuildMonth();
}

void TKvrwin::DataDirRecreated(const fs::path& data_dir) {
  context_.SetDataDir(data_dir);
  try {
    settings::WriteDataFolderSetting(context_.Store(), data_dir);
  } catch (const std::system_error& e) {
    // The day still goes into the new folder; only remembering it failed.
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
  SetCaption(QStringLiteral("-"));
}

void TKvrwin::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TKvrwin::FormResize() {
  const QRect client = GradBox1->rect();
  const int r = client.width();
  N11->setChecked(context_.Store().ReadInteger(settings::keys::ToolBar, settings_.tool_bar) == 1);
  MarqueeLabel1->setVisible(!N11->isChecked());
  // A window too narrow for the command and launcher buttons side by side gets a tool bar of
  // two rows, the launcher buttons on the second: they are never pushed out of the window.
  tool_bar_extra_ =
      r < ToolButtonsMinimumWidth(tool_buttons_) + TLauncherButtons::RowWidth() ? 32 : 0;
  GradBox2->setGeometry(0, 0, r, 38 + tool_bar_extra_);
  // The command buttons take what their texts need and share out what the launcher buttons
  // leave, up to their full width, so that all ten launcher buttons stay on the bar.
  const int spare = r - ToolButtonsMinimumWidth(tool_buttons_) - TLauncherButtons::RowWidth();
  const int extra = std::clamp(spare / static_cast<int>(tool_buttons_.size()), 0, 44);
  int x = kToolBarLeft;
  for (QToolButton* button : tool_buttons_) {
    const int least = ToolButtonWidth(*button);
    const int width = std::max(least, std::min(least + extra, 44));
    button->setGeometry(x, 4, width, 30);
    x += width + kToolButtonGap;
  }
  Panel1->setGeometry(10, 40 + tool_bar_extra_, r - 21, 29);
  Panel4->move(client.left() + 10, client.top() + 71 + tool_bar_extra_);
  const int grid_width = (r - 20) / 2 - 2;
  StringGrid1->setGeometry(1, 1, grid_width, StringGrid1->height());
  StringGrid2->setGeometry(1 + grid_width, 1, grid_width, StringGrid2->height());
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2})
    grid->SetColWidth(1, grid->DefaultColWidth() + grid_width);
  LayoutRows();
  // The rows may have resized the window meanwhile (and laid it out again): its size now.
  MarqueeLabel1->setGeometry(0, GradBox1->height() - 24, GradBox1->width(), 24);
}

int TKvrwin::ShownDateColumnWidth() const {
  // The longest name a day can carry under its date; the column is widened for it in the font
  // it is drawn in, but never beyond half the grid (past that the painter elides the name).
  static const QString kLongestHolidayName = QStringLiteral("休日（祝日扱い）");
  const int needed = QFontMetrics(ShownFont(days_font_)).horizontalAdvance(kLongestHolidayName) + 6;
  const int most = std::max(settings_.fixed_col_width, StringGrid1->width() / 2);
  return std::clamp(needed, settings_.fixed_col_width, most);
}

int TKvrwin::ToolBarLeastWidth() const {
  // The frame around the client and the wider of the bar's two rows (the launcher buttons
  // take the second when the first has no room for them).
  return width() - GradBox1->width() +
         std::max(ToolButtonsMinimumWidth(tool_buttons_) + kToolBarLeft,
                  TLauncherButtons::RowWidth());
}

int TKvrwin::TitleBottom() const {
  return Panel1->mapTo(this, QPoint(0, Panel1->height())).y();
}

void TKvrwin::LayoutRows() {
  const QRect client = GradBox1->rect();
  const bool status_shown = !N11->isChecked();
  const GridLines lines{platform::LineHeight(days_font_), platform::LineHeight(yotei_font_)};
  laid_out_lines_ = lines;
  // The rows get what the fonts need, the window growing for them (FitWindowToRows), but no
  // more than a window as tall as the screen can share out; there the fonts shrink with them.
  const int row_height =
      std::min(RowHeightFor(client.height() - tool_bar_extra_, status_shown, lines),
               RowShare(MostClientHeight() - tool_bar_extra_, status_shown));
  font_scale_ = FontScaleFor(row_height, lines);
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    grid->SetColWidth(0, ShownDateColumnWidth());
    grid->SetDefaultRowHeight(row_height);
    ApplyCursorRows(grid);
  }
  const int grid_height = 16 * (row_height + 1);
  StringGrid1->resize(StringGrid1->width(), grid_height);
  StringGrid2->resize(StringGrid2->width(), grid_height);
  const int panel_height =
      status_shown ? grid_height + 6 : client.height() - client.top() - 77 - tool_bar_extra_;
  Panel4->resize(client.width() - 21, panel_height);
  DirTabPanel->setGeometry(Panel4->width() - 240, 2, 236, Panel4->height() - 4);
  DirectoryListBox1->setGeometry(4, 14, DirTabPanel->width() - 8, DirTabPanel->height() - 18);
  // Last: a window made taller lays itself out again from its resize.
  FitWindowToRows(MinimumRowHeight(lines), status_shown);
}

void TKvrwin::SyncGridFocus() {
  // A grid without the focus keeps its cursor on the first row.
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    if (!grid->Focused()) {
      QSignalBlocker block(grid);
      grid->SetRow(0);
    }
    ApplyCursorRows(grid);
  }
}

void TKvrwin::ApplyCursorRows(platform::TStringGrid* grid) {
  // The focused grid's cursor row may be drawn enlarged; every other row has the default height.
  const int normal = grid->DefaultRowHeight();
  for (int row = 0; row < grid->RowCount(); ++row) {
    const bool enlarged = grid->Focused() && row == grid->Row() && settings_.cursor_wide == 1 &&
                          settings_.cursor_wide_position > 0;
    grid->SetRowHeight(row, enlarged ? settings_.cursor_wide_position * normal : normal);
  }
}

void TKvrwin::DrawCell(int grid_number, int col, int row, const QRect& rect) {
  platform::TStringGrid* grid = Grid(grid_number);
  QPainter& painter = *grid->Canvas();
  const int index = grid_number - 1;
  const QColor grid_colour = platform::ToQColor(settings_.grid_color);
  grid->SetColor(grid_colour);
  if (col == 0) {
    painter_.PaintDate(painter, rect, painter_.Date(index, row), ShownFont(days_font_),
                       platform::ToQColor(settings_.today_color));
    return;
  }
  const bool cursor = grid->Focused() && row == grid->Row();
  painter_.PaintText(painter, rect, painter_.Text(index, row), ShownFont(yotei_font_),
                     cursor ? platform::ToQColor(settings_.cursor_color) : grid_colour);
}

void TKvrwin::N11Click() {
  // The action has already toggled its check.
  MarqueeLabel1->setVisible(!N11->isChecked());
  context_.Reported(this, [&] {
    context_.Store().WriteInteger(settings::keys::ToolBar, N11->isChecked() ? 1 : 0);
  });
  settings_.tool_bar = N11->isChecked() ? 1 : 0;
  LayoutRows();
}

void TKvrwin::StartStatusLine() {
  context_.Reported(this, [this] {
    settings::IniStore& store = context_.Store();
    // Read with 0 for a missing key, so that a missing speed is written back as well.
    int speed = store.ReadInteger(settings::keys::Speed, 0);
    if (speed == 0) {
      speed = settings::keys::Speed.default_value;
      store.WriteInteger(settings::keys::Speed, speed);
    }
    if (store.ReadBool(settings::keys::Kakugen, settings_.kakugen != 0)) return;
    QFont font = MarqueeLabel1->font();
    SettingsFile().ReadFont(settings::keys::MarqueeLabelFont, font);
    MarqueeLabel1->setFont(font);
    settings::ColourValue word = store.ReadColour(settings::keys::MarqueeWordColor),
                          back = store.ReadColour(settings::keys::MarqueeLabelColor);
    if (word == 0 && back == 0) {
      // Black on black would show nothing: the text becomes yellow, and stays so.
      store.WriteColour(settings::keys::MarqueeWordColor, 0x00FFFF);
      word = store.ReadColour(settings::keys::MarqueeWordColor);
    }
    MarqueeLabel1->SetFontColor(platform::ToQColor(word));
    MarqueeLabel1->SetColor(platform::ToQColor(back));
    const std::string file = context_.Store().ReadString(settings::keys::KakuGenFile);
    // Also when the chosen file has gone (moved, or the program's own one with an old install):
    // the user would otherwise wonder why the line stays empty.
    std::error_code missing;
    if (file.empty() || !fs::is_regular_file(platform::PathFromCp932(file), missing)) {
      platform::ShowMessage(
          this, QStringLiteral("設定ダイアログでスクロール文字用ファイルを選択して下さい."),
          QStringLiteral("注意"));
    }
    daydata::TLightStrings lines;
    // An unreadable maxims file keeps the lines loaded before.
    if (lines.TryLoadFromFile(platform::PathFromCp932(file))) {
      maxim_lines_.clear();
      for (int i = 0; i < lines.Count(); ++i) maxim_lines_ << platform::ToQString(lines[i]);
    }
    if (!maxim_lines_.isEmpty()) {
      MarqueeLabel1->SetCaption(maxim_lines_.join(QStringLiteral("\r\n")));
      MarqueeLabel1->SetDirection(TMarqueeDirection::mlRightToLeft);
      MarqueeLabel1->SetSpeed(1);
      MarqueeLabel1->SetSteps(speed);
      MarqueeLabel1->Start(0);
    }
  });
}

void TKvrwin::MarqueeLabel1Begin() {
  MarqueeLabel1->SetColor(
      platform::ToQColor(context_.Store().ReadColour(settings::keys::MarqueeLabelColor)));
}

void TKvrwin::MarqueeLabel1End() {
  MarqueeLabel1->SetColor(platform::ToQColor(platform::kClBtnFace));
}

void TKvrwin::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  emit Closed();
}

void TKvrwin::FormClose() {
  // The days go to the server before the archive on exit packs them.
  sync_->SyncAtExit();
  ArchiveCommands->FormClose();
}

void TKvrwin::FormDestroy() {
  {
    QSignalBlocker block(SpeedButton27);
    SpeedButton27->setChecked(false);
  }
  for (auto& list : day_summaries_) list.Clear();
  maxim_lines_.clear();
  context_.Reported(nullptr, [this] {
    using namespace settings::keys;
    settings::IniStore& store = context_.Store();
    if (!cursor_.HalfMonth()) cursor_.SetHalves(cursor_.FirstHalfShown(), false);
    store.WriteInteger(HalfMonth, cursor_.HalfMonth() ? 1 : 0);
    SettingsFile().WritePlacement(MainPlacement, *this);
    store.WriteInteger(FixedColWidth1, settings_.fixed_col_width);
    store.WriteInteger(FixedColWidth2, settings_.fixed_col_width);
    store.WriteInteger(RowHeight1, settings_.row_height);
    store.WriteInteger(RowHeight2, settings_.row_height);
  });
}

void TKvrwin::SpeedButton27Click(bool down) {
  sub_dirs_.clear();
  if (down) {
    folder_tool_grid_ = StringGrid2->Focused() ? 2 : 1;
    folder_tool_row_ = Grid(folder_tool_grid_)->Row();
    DirTabPanel->show();
    DirectoryListBox1->show();
    sub_dirs_ = platform::PlainSubdirectories(context_.StartupDir());
    listed_dir_ = context_.StartupDir();
    FillDirectoryList();
  } else {
    DirTabPanel->hide();
    DirectoryListBox1->hide();
    // The data folder may have moved: the dialogs without a folder of their own follow it.
    platform::SetCurrentDir(context_.DataDir());
    SelectGridRow(folder_tool_grid_, folder_tool_row_);
  }
}

void TKvrwin::FillDirectoryList() {
  DirectoryListBox1->clear();
  // The folders from the root down to the listed one, then the listed one's own subfolders,
  // each indented by its depth, as a directory list shows them.
  std::vector<fs::path> chain;
  for (fs::path p = listed_dir_; !p.empty(); p = p.parent_path()) {
    chain.insert(chain.begin(), p);
    if (p == p.parent_path()) break;
  }
  int depth = 0;
  auto add = [&](const fs::path& path, const QString& label, int level) {
    auto* item = new QListWidgetItem(QString(level * 2, ' ') + label, DirectoryListBox1);
    item->setData(Qt::UserRole, PathText(path));
  };
  for (const fs::path& p : chain) {
    add(p, p == p.root_path() ? PathText(p) : QString::fromStdString(p.filename().string()),
        depth++);
  }
  DirectoryListBox1->setCurrentRow(DirectoryListBox1->count() - 1);
  std::vector<fs::path> children;
  for (const platform::FoundFile& entry :
       platform::FindFiles(listed_dir_, "*", platform::kAttrDirectory)) {
    if (entry.name != "." && entry.name != ".." && (entry.attributes & platform::kAttrDirectory)) {
      children.push_back(listed_dir_ / entry.name);
    }
  }
  std::sort(children.begin(), children.end());
  for (const fs::path& child : children) {
    add(child, QString::fromStdString(child.filename().string()), depth);
  }
}

void TKvrwin::DirectoryListBox1Activated(QListWidgetItem* item) {
  OpenDirectory(item->data(Qt::UserRole).toString().toStdString());
}

void TKvrwin::OpenDirectory(const fs::path& dir) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return;
  listed_dir_ = dir;
  FillDirectoryList();
  DirectoryListBox1Change();
}

void TKvrwin::DirectoryListBox1Change() {
  // The listed folder, kept by the tool itself; the working folder plays no part.
  const fs::path current = listed_dir_;
  std::string name = current.filename().string();
  if (name > "1900" && name < "2100") return;  // a year folder of the data folder
  std::sort(sub_dirs_.begin(), sub_dirs_.end());
  bool found = std::any_of(sub_dirs_.begin(), sub_dirs_.end(), [&](const fs::path& p) {
    return cp932::EqualsIgnoreAsciiCase(p.string(), current.string());
  });
  if (found) {
    bool refused = false;
    try {
      refused = !settings::WriteDataFolderSetting(context_.Store(), current);
    } catch (const std::system_error& e) {
      platform::ShowErrorBox(this, QString::fromStdString(e.what()));
    }
    if (refused) {
      platform::ShowMessage(this,
                            QStringLiteral("このフォルダ名にはシフトJISで表せない文字があるため、"
                                           "データフォルダにできません"),
                            QStringLiteral("注意"), platform::MessageIcon::kExclamation);
      return;
    }
    context_.SetDataDir(current);
    SetCaption(QStringLiteral(" - "));
    BuildMonth();
  } else if (current != context_.StartupDir()) {
    platform::ShowMessage(this,
                          QStringLiteral("データフォルダを移動できるのは起動フォルダ内のみです"),
                          QStringLiteral("Current_Dir"));
  }
}

QDate TKvrwin::CurrentToday() {
  const timeclock::LocalTime now = context_.Time().Now();
  const QDate today(now.year, now.month, now.day);
  if (today.isValid() && today != today_) {
    today_ = today;
    cursor_day_ = today.day();
  }
  return today_;
}

void TKvrwin::SpeedButton9Click() {
  from_calendar_ = false;
  calendar::TJampMonth dialog(hosts_->calendar, calendar_, this);
  dialog.exec();
}

void TKvrwin::SpeedButton11Click() {
  options::Toption1 dialog(hosts_->options, context_.Settings(), context_.HelpFile(), this);
  // The page reads both lists when it is made: a new one for every opening of the dialog.
  dialog.InsertSpecialDayPage(
      new options::TSpecialDayPage(hosts_->yearly_days, context_.Settings(), context_.StartupDir(),
                                   context_.DataDir(), context_.HelpFile()));
  auto* sync_page = new calsync::TSyncPage(
      calsync::ReadAccount(context_.Store()),
      {calsync::FindCalendars, calsync::ReadPassword, calsync::WritePassword});
  dialog.PageControl1->addTab(sync_page, QStringLiteral("同期"));
  if (dialog.exec() != QDialog::Accepted) return;
  context_.Reported(this, [&] { calsync::WriteAccount(context_.Store(), sync_page->Account()); });
  if (!sync_page->SavePassword()) sync_->UsePasswordForThisRun(sync_page->TypedPassword());
  sync_->AccountChanged();
}

void TKvrwin::SpeedButton12Click() {
  search::TGrepSearch dialog(hosts_->search, context_.Settings(), context_.HelpFile(), this);
  dialog.exec();
}

}  // namespace app
