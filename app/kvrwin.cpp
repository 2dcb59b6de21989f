#include "app/kvrwin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <algorithm>
#include <system_error>

#include "app/settings_location.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

namespace fs = std::filesystem;

namespace app {
namespace {

QString PathText(const fs::path& path) { return QString::fromStdString(path.string()); }

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
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

  auto* client = new QWidget(this);
  client->setObjectName("ClientArea");
  setCentralWidget(client);
  ToolPanel = new QFrame(client);
  ToolPanel->setObjectName("ToolPanel");
  Panel1 = new QLabel(client);
  Panel1->setObjectName("Panel1");
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setAutoFillBackground(true);
  Panel4 = new QFrame(client);
  Panel4->setObjectName("Panel4");
  Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  DirTabPanel = new QFrame(Panel4);
  DirTabPanel->setObjectName("DirTabPanel");
  DirTabPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  DirectoryListBox1 = new QListWidget(DirTabPanel);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setToolTip(QStringLiteral("データの保管されているディレクトリを指定して下さい"));
  connect(DirectoryListBox1, &QListWidget::itemActivated, this,
          &TKvrwin::DirectoryListBox1Activated);

  BuildMenus();
  FormCreate();
}

TKvrwin::~TKvrwin() { FormDestroy(); }

QToolButton* TKvrwin::AddToolButton(const char* name, const QString& text, const QString& hint) {
  auto* button = new QToolButton(ToolPanel);
  button->setObjectName(name);
  button->setText(text);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  tool_buttons_.push_back(button);
  return button;
}

void TKvrwin::BuildMenus() {
  // Commands whose windows are not part of the program yet stand disabled in their places.
  auto disabled = [](QAction* action) {
    action->setEnabled(false);
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  disabled(file->addAction(QStringLiteral("印刷(&P)...")));
  disabled(file->addAction(QStringLiteral("印刷設定(&S)...")));
  file->addSeparator();
  disabled(file->addAction(QStringLiteral("データ圧縮(&P)...")));
  disabled(file->addAction(QStringLiteral("データ解凍(&U)...")));
  disabled(file->addAction(QStringLiteral("データ削除(&D)...")));
  disabled(file->addAction(QStringLiteral("終了時にデータ圧縮処理(&A)")));
  file->addSeparator();
  connect(file->addAction(QStringLiteral("終了(&X)")), &QAction::triggered, this, &QWidget::close);

  QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  for (const char* caption : {"前年(&Z)", "前月(&P)", "今月(&K)", "次月(&N)", "次年(&R)"}) {
    disabled(view->addAction(QString::fromUtf8(caption)))->setObjectName(QString::fromUtf8(caption));
  }
  disabled(view->addAction(QStringLiteral("月指定(&J)...")));
  view->addSeparator();
  N11 = view->addAction(QStringLiteral("ｽﾃｰﾀｽﾊﾞｰON/OFF"));
  N11->setObjectName("N11");
  N11->setCheckable(true);

  QMenu* tools = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
  disabled(tools->addAction(QStringLiteral("設定(&F)")));
  disabled(tools->addAction(QStringLiteral("検索(&S)")));
  QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  disabled(help->addAction(QStringLiteral("目次(&C)")));

  popup_menu_ = new QMenu(this);
  popup_menu_->setObjectName("PopupMenu1");
  disabled(popup_menu_->addAction(QStringLiteral("設定(&O)...")));
  disabled(popup_menu_->addAction(QStringLiteral("検索(&S)...")));
  disabled(popup_menu_->addAction(QStringLiteral("終了時にデータ圧縮処理(&A)")));
  connect(popup_menu_->addAction(QStringLiteral("終了(&X)")), &QAction::triggered, this,
          &QWidget::close);

  struct Button {
    const char* name;
    const char* text;
    const char* hint;
  };
  static const Button kButtons[] = {
      {"SpeedButton1", "終了", "終了"},         {"SpeedButton2", "«年", "前年表示"},
      {"SpeedButton3", "‹月", "前月表示"},      {"SpeedButton4", "‹半", "前半月表示"},
      {"SpeedButton5", "今月", "今月表示"},     {"SpeedButton6", "半›", "次半月表示"},
      {"SpeedButton7", "月›", "次月表示"},      {"SpeedButton8", "年»", "次年表示"},
      {"SpeedButton9", "年月", "年月変更"},     {"SpeedButton10", "暦", "カレンダーON/OFF"},
      {"SpeedButton11", "設定", "設定ダイアログ"}, {"SpeedButton12", "検索", "検索"},
      {"SpeedButton17", "圧縮", "データ圧縮"},  {"SpeedButton24", "解凍", "データ解凍"},
      {"SpeedButton25", "祝日", "祝日書込"},    {"SpeedButton26", "印刷", "予定表印刷"},
      {"SpeedButton27", "フォルダ", "データフォルダ変更"},
  };
  for (const Button& b : kButtons) {
    QToolButton* button = AddToolButton(b.name, QString::fromUtf8(b.text), QString::fromUtf8(b.hint));
    button->setEnabled(false);
  }
  QToolButton* quit = ToolPanel->findChild<QToolButton*>("SpeedButton1");
  quit->setEnabled(true);
  connect(quit, &QToolButton::clicked, this, &QWidget::close);
  ToolPanel->findChild<QToolButton*>("SpeedButton10")->setCheckable(true);
  SpeedButton27 = ToolPanel->findChild<QToolButton*>("SpeedButton27");
  SpeedButton27->setCheckable(true);
  SpeedButton27->setEnabled(true);
  connect(SpeedButton27, &QToolButton::toggled, this, &TKvrwin::SpeedButton27Click);
}

void TKvrwin::FormCreate() {
  StartupDir = platform::CurrentDir();

  // An older settings file of the start-up folder is taken over once. An existing new file is
  // never overwritten by it.
  fs::path old_file = StartupDir / kOldSettingsFileName;
  int attributes = platform::FileAttributes(old_file);
  if (attributes >= 0 &&
      (attributes & (platform::kAttrDirectory | platform::kAttrHidden | platform::kAttrSystem)) == 0 &&
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

  resize(800, 600);
  IniGT1->ReadPlacement(QStringLiteral("ミルネ"), QStringLiteral("winpos"), *this);

  ReadMainSettings(IniGT1->Store(), Settings);
  N11->setChecked(Settings.tool_bar == 1);
  HalfMonth = Settings.half_month;
  IniGT1->ReadFont(QStringLiteral("各曜日枠フォント"), QStringLiteral("daysFont"), DaysFont);
  IniGT1->ReadFont(QStringLiteral("予定表枠フォント"), QStringLiteral("yoteiFont"), YoteiFont);
  IniGT1->ReadFont(QStringLiteral("予定表タイトル"), QStringLiteral("taitolFont"), TaitolFont);
  IniGT1->ReadFont(QStringLiteral("入力ダイアログタイトル"), QStringLiteral("InputTaitolFont"),
                   InputTaitolFont);

  ShownDate = QDate::currentDate();
  CursorDay = ShownDate.day();
  ShownYear = QString::number(ShownDate.year());
  ShownMonth = QString::number(ShownDate.month());

  QToolButton* calendar_button = ToolPanel->findChild<QToolButton*>("SpeedButton10");
  calendar_button->setChecked(Settings.calendar_on_off == 1);
  QApplication::processEvents();
  if (version_window_) version_window_->close();

  ResolveDataFolder();
  DirTabPanel->hide();
  DirectoryListBox1->hide();
  BuildMonth();
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
  Panel1->setFont(TaitolFont);
  Panel1->setText(QString::asprintf("%d年%2d月のスケジュ－ル", ShownDate.year(), ShownDate.month()));
}

int TKvrwin::DaysInMonth(int year, int month) const { return QDate(year, month, 1).daysInMonth(); }

void TKvrwin::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TKvrwin::FormResize() {
  const QRect client = centralWidget()->rect();
  ToolPanel->setGeometry(0, 0, client.width(), 38);
  int x = 4;
  for (QToolButton* button : tool_buttons_) {
    button->setGeometry(x, 4, 44, 30);
    x += 46;
  }
  Panel1->setGeometry(0, 38, client.width(), 32);
  Panel4->setGeometry(client.left() + 10, client.top() + 71, client.right() - 21,
                      client.bottom() - client.top() - 77);
  DirTabPanel->setGeometry(Panel4->width() - 240, 2, 236, Panel4->height() - 4);
  DirectoryListBox1->setGeometry(4, 14, DirTabPanel->width() - 8, DirTabPanel->height() - 18);
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
    IniGT1->WriteInteger(QStringLiteral("半月表示"), QStringLiteral("HalfMonth"), HalfMonth == 1 ? 1 : 0);
    IniGT1->WritePlacement(QStringLiteral("ミルネ"), QStringLiteral("winpos"), *this);
    IniGT1->WriteInteger(QStringLiteral("固定グリッド１幅"), QStringLiteral("1FixedColWidth"),
                         Settings.fixed_col_width);
    IniGT1->WriteInteger(QStringLiteral("固定グリッド2幅"), QStringLiteral(" 2FixedColWidth"),
                         Settings.fixed_col_width);
    IniGT1->WriteInteger(QStringLiteral("グリッド1高"), QStringLiteral(" 1RowHeight"), Settings.row_height);
    IniGT1->WriteInteger(QStringLiteral("グリッド2高"), QStringLiteral(" 2RowHeight"), Settings.row_height);
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
  for (const platform::FoundFile& entry : platform::FindFiles(dir, "*.*", platform::kAttrDirectory)) {
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
    add(p, p == p.root_path() ? PathText(p) : QString::fromStdString(p.filename().string()), depth++);
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
    platform::ShowMessage(this, QStringLiteral("データフォルダを移動できるのは起動フォルダ内のみです"),
                          QStringLiteral("Current_Dir"));
  }
}

}  // namespace app
