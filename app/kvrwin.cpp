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

#include "app/marquee_label.h"
#include "app/model_calendar_port.h"
#include "app/settings_location.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "platform/string_grid.h"
#include "platform/system_colours.h"
#include "widgets/grad_box.h"

namespace fs = std::filesystem;

namespace app {
namespace {

QString PathText(const fs::path& path) {
  return QString::fromStdString(path.string());
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

TKvrwin::TKvrwin(QWidget* version_window, QWidget* parent)
    : QMainWindow(parent), version_window_(version_window) {
  setObjectName("Kvrwin");
  IniGT1 = new TIniGT(this);
  IniGT1->setObjectName("IniGT1");
  IniGT1->SetFileName(kSettingsFileName);
  IniGT1->SetDefaultDir(TIniGTDefaultDir::ddApplication);
  own_calendar_ = std::make_unique<ModelCalendarPort>();
  calendar_ = own_calendar_.get();

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
  QFont mincho(QStringLiteral("ＭＳ 明朝"));
  mincho.setPixelSize(17);
  MarqueeLabel1->setFont(mincho);
  MarqueeLabel1->SetFontColor(Qt::yellow);
  MarqueeLabel1->SetColor(platform::ToQColor(platform::kClBtnFace));
  MarqueeLabel1->OnBegin = [this] { MarqueeLabel1Begin(); };
  MarqueeLabel1->OnEnd = [this] { MarqueeLabel1End(); };
  MarqueeLabel1->OnClick = [this] { StartStatusLine(); };

  BuildMenus();
  // The panels' colours are read before everything else, as the window is made.
  MainSettings& s = Settings;
  ReadMainSettings(IniGT1->Store(), s);
  GradBox1->SetTopColor(s.title_top_color);
  GradBox1->SetLastColor(s.title_last_color);
  GradBox2->SetTopColor(s.toolbar_top_color);
  GradBox2->SetLastColor(s.toolbar_last_color);
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
  later(file->addAction(QStringLiteral("印刷(&P)...")));
  later(file->addAction(QStringLiteral("印刷設定(&S)...")));
  file->addSeparator();
  later(file->addAction(QStringLiteral("データ圧縮(&P)...")));
  later(file->addAction(QStringLiteral("データ解凍(&U)...")));
  later(file->addAction(QStringLiteral("データ削除(&D)...")));
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
  later(view->addAction(QStringLiteral("月指定(&J)...")));
  view->addSeparator();
  N11 = on(view->addAction(QStringLiteral("ｽﾃｰﾀｽﾊﾞｰON/OFF")), &TKvrwin::N11Click);
  N11->setObjectName("N11");
  N11->setCheckable(true);

  QMenu* tools = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
  later(tools->addAction(QStringLiteral("設定(&F)")));
  later(tools->addAction(QStringLiteral("検索(&S)")));
  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  later(help->addAction(QStringLiteral("目次(&C)")));

  popup_menu_ = new QMenu(this);
  popup_menu_->setObjectName("PopupMenu1");
  later(popup_menu_->addAction(QStringLiteral("設定(&O)...")));
  later(popup_menu_->addAction(QStringLiteral("検索(&S)...")));
  close_arc_popup_ = later(popup_menu_->addAction(QStringLiteral("終了時にデータ圧縮処理(&A)")));
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
      {"SpeedButton9", "年月", "年月変更", nullptr},
      {"SpeedButton10", "暦", "カレンダーON/OFF", nullptr},
      {"SpeedButton11", "設定", "設定ダイアログ", nullptr},
      {"SpeedButton12", "検索", "検索", nullptr},
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
  SpeedButton27 = button("SpeedButton27");
  SpeedButton27->setCheckable(true);
  SpeedButton27->setEnabled(true);
  connect(SpeedButton27, &QToolButton::toggled, this, &TKvrwin::SpeedButton27Click);
}

void TKvrwin::ReadFonts() {
  IniSnapshot once(IniGT1->Store());
  IniGT1->ReadFont(QStringLiteral("各曜日枠フォント"), QStringLiteral("daysFont"), DaysFont);
  IniGT1->ReadFont(QStringLiteral("予定表枠フォント"), QStringLiteral("yoteiFont"), YoteiFont);
  IniGT1->ReadFont(QStringLiteral("予定表タイトル"), QStringLiteral("taitolFont"), TaitolFont);
  IniGT1->ReadFont(QStringLiteral("入力ダイアログタイトル"), QStringLiteral("InputTaitolFont"),
                   InputTaitolFont);
}

void TKvrwin::FormCreate() {
  StartupDir = platform::CurrentDir();

  // An older settings file of the start-up folder is taken over once. An existing new file is
  // never overwritten by it.
  fs::path old_file = StartupDir / kOldSettingsFileName;
  int attributes = platform::FileAttributes(old_file);
  if (attributes >= 0 &&
      (attributes & (platform::kAttrDirectory | platform::kAttrHidden | platform::kAttrSystem)) ==
          0 &&
      !fs::exists(IniGT1->Path())) {
    std::error_code ignore;
    fs::rename(old_file, IniGT1->Path(), ignore);
    if (ignore) {
      fs::copy_file(old_file, IniGT1->Path(), ignore);
      if (!ignore) fs::remove(old_file, ignore);
    }
  }

  for (auto& list : DaySummaries) list.Clear();
  MaximLines.clear();

  fs::path help = ExecutableDir() / "mirune.HLP";
  HelpFile = fs::exists(help) ? PathText(help) : QStringLiteral("mirune.HLP");

  resize(1000, 760);
  IniGT1->ReadPlacement(QStringLiteral("ミルネ"), QStringLiteral("winpos"), *this);

  ReadMainSettings(IniGT1->Store(), Settings);
  N11->setChecked(Settings.tool_bar == 1);
  MarqueeLabel1->setVisible(!N11->isChecked());
  close_arc_main_->setChecked(Settings.close_arc == 1);
  close_arc_popup_->setChecked(Settings.close_arc == 1);
  HalfMonth = Settings.half_month;
  DaysFont = YoteiFont = QFont(QStringLiteral("ＭＳ Ｐゴシック"), 10);
  TaitolFont = QFont(QStringLiteral("ＭＳ 明朝"), 16, QFont::Bold);
  InputTaitolFont = QFont(QStringLiteral("ＭＳ 明朝"), 14, QFont::Bold);
  ReadFonts();
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    grid->SetFixedColor(platform::ToQColor(Settings.fixed_grid_color));
    grid->SetColWidth(0, Settings.fixed_col_width);
  }
  MarqueeLabel1->setToolTip(
      Settings.kakugen ? QString() : QStringLiteral("ここをクリックすると文字がスクロールします"));

  ShownDate = QDate::currentDate();
  Today = ShownDate;
  CursorDay = ShownDate.day();
  ShownYear = QString::number(ShownDate.year());
  ShownMonth = QString::number(ShownDate.month());

  CalendarButton->setChecked(Settings.calendar_on_off == 1);
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
  const int d = CursorDay;
  const int n = DaysInMonth(ShownDate.year(), ShownDate.month());
  if (HalfMonth != 1) {
    if (StringGrid2->Col() == 1 && d >= 17 && d <= n) SelectGridRow(2, d - 17);
    if (StringGrid1->Col() == 1 && d >= 1 && d <= 16) SelectGridRow(1, d - 1);
    return;
  }
  if (StringGrid1->Col() == 1 && d >= 1 && d <= 16) SelectGridRow(2, d - 1);
  if (StringGrid2->Col() == 1 && d >= 17 && d <= n) SelectGridRow(1, d - 17);
  FirstHalfShown = d < 17;
  SecondHalfShown = d > 16;
}

void TKvrwin::SetCaption(const QString& separator) {
  setWindowTitle(QStringLiteral("ミルネ") + separator + PathText(DataDir));
}

void TKvrwin::ResolveDataFolder() {
  std::string setting = IniGT1->Store().ReadString(sections::DataFolder(), "Current_Dir", "");
  DataDir = platform::PathFromCp932(setting);
  SetCaption(QStringLiteral("-"));
  DataFolder folder = app::ResolveDataFolder(DataDir, StartupDir);
  if (folder.is_default && (setting.empty() || folder.must_create)) {
    platform::SetCurrentDir(StartupDir);
    std::error_code ec;
    fs::create_directories(folder.path, ec);
    DataDir = folder.path;
    SetCaption(QStringLiteral(" - "));
    bool exact = true;
    std::string stored = platform::Cp932FromPath(DataDir, &exact);
    if (exact) {
      try {
        IniGT1->Store().WriteString(sections::DataFolder(), "Current_Dir", stored);
      } catch (const std::system_error& e) {
        platform::ShowErrorBox(this, QString::fromStdString(e.what()));
      }
    }
  }
  platform::SetCurrentDir(DataDir);
}

void TKvrwin::BuildMonth() {
  ReadFonts();
  building_ = true;
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, platform::ToQColor(GradBox1->TopColor()));
  palette.setColor(QPalette::WindowText, platform::ToQColor(Settings.title_font_color));
  Panel1->setPalette(palette);
  Panel1->setFont(TaitolFont);
  MonthView view{ShownDate.year(), ShownDate.month(), ShownDate.day(),
                 HalfMonth == 1,   FirstHalfShown,    SecondHalfShown};
  title_ = MonthTitle(view, title_);
  Panel1->setText(platform::ToQString(title_));
  LoadDaySummaries();
  Shown = LayoutOf(view);
  const QDate today = Today;
  painter_.SetDates(
      BuildDateColumn(view, {today.year(), today.month(), CursorDay}, Settings, Holidays, Lunar));
  for (int row = 0; row < 16; ++row) {
    painter_.SetText(0, row,
                     ShownTextOf(DaySummaries[static_cast<size_t>(Shown.left.ListOf(row))]));
    painter_.SetText(1, row,
                     ShownTextOf(DaySummaries[static_cast<size_t>(Shown.right.ListOf(row))]));
  }
  clear_cursor_cell_ = false;
  building_ = false;
  StringGrid1->update();
  StringGrid2->update();
}

void TKvrwin::LoadDaySummaries() {
  // The schedule cells are cleared before the reload; after a save in the entry dialog only
  // the cursor row of the focused grid is, so that the other rows do not flicker.
  MonthView view{ShownDate.year(), ShownDate.month(), ShownDate.day(),
                 HalfMonth == 1,   FirstHalfShown,    SecondHalfShown};
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    for (int row = 0; row < 16; ++row) {
      if (!clear_cursor_cell_ || (grid->Focused() && row == grid->Row())) grid->SetCell(1, row, {});
    }
  }
  YearFolder = app::LoadDaySummaries(DataDir, view, DaySummaries);
}

int TKvrwin::DaysInMonth(int year, int month) const {
  return app::DaysInMonth(year, month);
}

void TKvrwin::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TKvrwin::FormResize() {
  const QRect client = GradBox1->rect();
  const int r = client.width(), h = client.height();
  N11->setChecked(IniGT1->ReadInteger(QStringLiteral("ツールバー"), QStringLiteral("ToolBar"),
                                      Settings.tool_bar) == 1);
  MarqueeLabel1->setVisible(!N11->isChecked());
  GradBox2->setGeometry(0, 0, r, 38);
  int x = 4;
  for (QToolButton* button : tool_buttons_) {
    button->setGeometry(x, 4, 44, 30);
    x += 46;
  }
  Panel1->setGeometry(10, 40, r - 21, 29);
  Panel4->move(client.left() + 10, client.top() + 71);
  const int grid_width = (r - 20) / 2 - 2;
  StringGrid1->setGeometry(1, 1, grid_width, StringGrid1->height());
  StringGrid2->setGeometry(1 + grid_width, 1, grid_width, StringGrid2->height());
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    grid->SetColWidth(0, Settings.fixed_col_width);
    grid->SetColWidth(1, grid->DefaultColWidth() + grid_width);
  }
  LayoutRows();
  MarqueeLabel1->setGeometry(0, h - 24, r, 24);
}

void TKvrwin::LayoutRows() {
  const QRect client = GradBox1->rect();
  const bool status_shown = !N11->isChecked();
  const int row_height = std::max((client.height() - (status_shown ? 120 : 92)) / 16, 1);
  for (platform::TStringGrid* grid : {StringGrid1, StringGrid2}) {
    grid->SetDefaultRowHeight(row_height);
    ApplyCursorRows(grid);
  }
  const int grid_height = 16 * (row_height + 1);
  StringGrid1->resize(StringGrid1->width(), grid_height);
  StringGrid2->resize(StringGrid2->width(), grid_height);
  const int panel_height = status_shown ? grid_height + 6 : client.height() - client.top() - 77;
  Panel4->resize(client.width() - 21, panel_height);
  DirTabPanel->setGeometry(Panel4->width() - 240, 2, 236, Panel4->height() - 4);
  DirectoryListBox1->setGeometry(4, 14, DirTabPanel->width() - 8, DirTabPanel->height() - 18);
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
    const bool enlarged = grid->Focused() && row == grid->Row() && Settings.cursor_wide == 1 &&
                          Settings.cursor_wide_position > 0;
    grid->SetRowHeight(row, enlarged ? Settings.cursor_wide_position * normal : normal);
  }
}

void TKvrwin::DrawCell(int grid_number, int col, int row, const QRect& rect) {
  platform::TStringGrid* grid = Grid(grid_number);
  QPainter& painter = *grid->Canvas();
  const int index = grid_number - 1;
  const QColor grid_colour = platform::ToQColor(Settings.grid_color);
  grid->SetColor(grid_colour);
  if (col == 0) {
    painter_.PaintDate(painter, rect, painter_.Date(index, row), DaysFont,
                       platform::ToQColor(Settings.today_color));
    return;
  }
  const bool cursor = grid->Focused() && row == grid->Row();
  painter_.PaintText(painter, rect, painter_.Text(index, row), YoteiFont,
                     cursor ? platform::ToQColor(Settings.cursor_color) : grid_colour);
}

void TKvrwin::N11Click() {
  // The action has already toggled its check.
  MarqueeLabel1->setVisible(!N11->isChecked());
  try {
    IniGT1->WriteInteger(QStringLiteral("ツールバー"), QStringLiteral("ToolBar"),
                         N11->isChecked() ? 1 : 0);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
  Settings.tool_bar = N11->isChecked() ? 1 : 0;
  LayoutRows();
}

void TKvrwin::StartStatusLine() {
  try {
    int speed = IniGT1->ReadInteger(QStringLiteral("流れ文字表示"), QStringLiteral("Speed"), 0);
    if (speed == 0) {
      speed = 400;
      IniGT1->WriteInteger(QStringLiteral("流れ文字表示"), QStringLiteral("Speed"), speed);
    }
    if (IniGT1->ReadBool(QStringLiteral("格言ON/OFF"), QStringLiteral("Kakugen"), Settings.kakugen))
      return;
    QFont font = MarqueeLabel1->font();
    IniGT1->ReadFont(QStringLiteral("ステータスバーフォント"), QStringLiteral("MarqueeLabelFont"),
                     font);
    MarqueeLabel1->setFont(font);
    auto colour = [this](const char* key) {
      return static_cast<ColourValue>(
          IniGT1->ReadInteger(QStringLiteral("ステータスバーフォント"), QString::fromUtf8(key), 0));
    };
    ColourValue word = colour("MarqueeWordColor"), back = colour("MarqueeLabelColor");
    if (word == 0 && back == 0) {
      // Black on black would show nothing: the text becomes yellow, and stays so.
      IniGT1->WriteInteger(QStringLiteral("ステータスバーフォント"),
                           QStringLiteral("MarqueeWordColor"), 0x00FFFF);
      word = colour("MarqueeWordColor");
    }
    MarqueeLabel1->SetFontColor(platform::ToQColor(word));
    MarqueeLabel1->SetColor(platform::ToQColor(back));
    const std::string file = IniGT1->Store().ReadString(sections::Marquee(), "KakuGenFile", "");
    if (file.empty()) {
      platform::ShowMessage(
          this, QStringLiteral("設定ダイアログでスクロール文字用ファイルを選択して下さい."),
          QStringLiteral("注意"));
    }
    daydata::TLightStrings lines;
    try {
      lines.LoadFromFile(platform::PathFromCp932(file));
      MaximLines.clear();
      for (int i = 0; i < lines.Count(); ++i) MaximLines << platform::ToQString(lines[i]);
    } catch (const daydata::EInOutError&) {
      // An unreadable maxims file keeps the lines loaded before.
    }
    if (!MaximLines.isEmpty()) {
      MarqueeLabel1->SetCaption(MaximLines.join(QStringLiteral("\r\n")));
      MarqueeLabel1->SetDirection(TMarqueeDirection::mlRightToLeft);
      MarqueeLabel1->SetSpeed(1);
      MarqueeLabel1->SetSteps(speed);
      MarqueeLabel1->Start(0);
    }
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
}

void TKvrwin::MarqueeLabel1Begin() {
  MarqueeLabel1->SetColor(platform::ToQColor(static_cast<ColourValue>(IniGT1->ReadInteger(
      QStringLiteral("ステータスバーフォント"), QStringLiteral("MarqueeLabelColor"), 0))));
}

void TKvrwin::MarqueeLabel1End() {
  MarqueeLabel1->SetColor(platform::ToQColor(platform::kClBtnFace));
}

void TKvrwin::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TKvrwin::FormClose() {}

void TKvrwin::FormDestroy() {
  {
    QSignalBlocker block(SpeedButton27);
    SpeedButton27->setChecked(false);
  }
  for (auto& list : DaySummaries) list.Clear();
  MaximLines.clear();
  try {
    if (HalfMonth != 1) SecondHalfShown = false;
    IniGT1->WriteInteger(QStringLiteral("半月表示"), QStringLiteral("HalfMonth"),
                         HalfMonth == 1 ? 1 : 0);
    IniGT1->WritePlacement(QStringLiteral("ミルネ"), QStringLiteral("winpos"), *this);
    IniGT1->WriteInteger(QStringLiteral("固定グリッド１幅"), QStringLiteral("1FixedColWidth"),
                         Settings.fixed_col_width);
    IniGT1->WriteInteger(QStringLiteral("固定グリッド2幅"), QStringLiteral(" 2FixedColWidth"),
                         Settings.fixed_col_width);
    IniGT1->WriteInteger(QStringLiteral("グリッド1高"), QStringLiteral(" 1RowHeight"),
                         Settings.row_height);
    IniGT1->WriteInteger(QStringLiteral("グリッド2高"), QStringLiteral(" 2RowHeight"),
                         Settings.row_height);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(nullptr, QString::fromStdString(e.what()));
  }
}

void TKvrwin::SpeedButton27Click(bool down) {
  platform::SetCurrentDir(StartupDir);
  SubDirs.clear();
  if (down) {
    DirTabPanel->show();
    DirectoryListBox1->show();
    WalkDirectories(StartupDir);
    listed_dir_ = StartupDir;
    FillDirectoryList();
  } else {
    DirTabPanel->hide();
    DirectoryListBox1->hide();
    platform::SetCurrentDir(DataDir);
  }
}

void TKvrwin::WalkDirectories(const fs::path& dir) {
  for (const platform::FoundFile& entry :
       platform::FindFiles(dir, "*.*", platform::kAttrDirectory)) {
    if (entry.name == "." || entry.name == "..") continue;
    // Only plain directories: read-only, hidden or linked ones are skipped with their subtrees.
    if (entry.attributes != platform::kAttrDirectory) continue;
    SubDirs.push_back(dir / entry.name);
    WalkDirectories(dir / entry.name);
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
  if (!platform::SetCurrentDir(dir)) return;
  listed_dir_ = dir;
  FillDirectoryList();
  DirectoryListBox1Change();
}

void TKvrwin::DirectoryListBox1Change() {
  fs::path current = platform::CurrentDir();
  std::string name = current.filename().string();
  if (name > "1900" && name < "2100") return;  // a year folder of the data folder
  std::sort(SubDirs.begin(), SubDirs.end());
  bool found = std::any_of(SubDirs.begin(), SubDirs.end(), [&](const fs::path& p) {
    return SameTextIgnoringCase(p.string(), current.string());
  });
  if (found) {
    bool exact = true;
    std::string stored = platform::Cp932FromPath(current, &exact);
    if (!exact) {
      platform::ShowMessage(this,
                            QStringLiteral("このフォルダ名にはシフトJISで表せない文字があるため、"
                                           "データフォルダにできません"),
                            QStringLiteral("注意"), platform::MessageIcon::kExclamation);
      return;
    }
    DataDir = current;
    try {
      IniGT1->Store().WriteString(sections::DataFolder(), "Current_Dir", stored);
    } catch (const std::system_error& e) {
      platform::ShowErrorBox(this, QString::fromStdString(e.what()));
    }
    SetCaption(QStringLiteral(" - "));
    BuildMonth();
  } else if (current != StartupDir) {
    platform::ShowMessage(this,
                          QStringLiteral("データフォルダを移動できるのは起動フォルダ内のみです"),
                          QStringLiteral("Current_Dir"));
  }
}

}  // namespace app
