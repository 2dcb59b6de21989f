#include "app/launcher_buttons.h"

#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>

#include <algorithm>
#include <system_error>

#include "app/launcher_host.h"
#include "app/launcher_shell.h"
#include "platform/cp932_question.h"
#include "platform/file_system.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "settings/ini_gt.h"

namespace app {
namespace {

// "User Software n の設定": the registered file, and the program associated with it, whose icon
// the button shows at start-up.
constexpr const settings::Key& kFileKey = settings::keys::LauncherFile;
constexpr const settings::Key& kProgramKey = settings::keys::LauncherExe;

constexpr int kButtonCount = 10;

const char* const kButtonNames[kButtonCount] = {
    "SpeedButton13", "SpeedButton14", "SpeedButton15", "SpeedButton16", "SpeedButton18",
    "SpeedButton19", "SpeedButton20", "SpeedButton21", "SpeedButton22", "SpeedButton23"};

constexpr int kButtonSize = 25;
constexpr int kButtonStep = 31;
constexpr int kMargin = 6;

QString DefaultHint() {
  return QStringLiteral("マウスの右クリックで登録できます");
}

QString NotRegisteredText() {
  return QStringLiteral(
      "     実行したいﾌｧｲﾙが登録されていません.\n"
      "    ツールボタンをマウスの右クリックし、「登録」で登録して下さい．\n"
      "    また、登録しても実行できない場合は、\n"
      "    実行ﾌｧｲﾙがｴｸｽﾌﾟﾛｰﾗｰ等で関連付けられていない可能性があります");
}

QString NotAssociatedText() {
  return QStringLiteral("実行したいﾌｧｲﾙがｴｸｽﾌﾟﾛｰﾗｰ等で関連付けられていない可能性があります");
}

// Paths are stored as code page 932 text, as on Windows; on disk they are UTF-8.
QString PathOfStored(const std::string& stored) {
  return QString::fromStdString(platform::PathFromCp932(stored).string());
}

// An empty button keeps its raised frame, so that the user sees the ten places to register
// programs on (the tool tip says how); a registered one shows its program's icon flat.
void SetIcon(QToolButton& button, const QIcon& icon) {
  button.setIcon(icon);
  button.setAutoRaise(!icon.isNull());
}

}  // namespace

TLauncherButtons::TLauncherButtons(QWidget& tool_bar, LauncherHost& host, LauncherShell& shell,
                                   settings::TIniGT& settings, std::filesystem::path startup_dir,
                                   QString help_file)
    : QObject(&tool_bar),
      tool_bar_(tool_bar),
      host_(host),
      shell_(shell),
      settings_(settings),
      startup_dir_(std::move(startup_dir)),
      help_file_(std::move(help_file)) {
  for (int n = 1; n <= kButtonCount; ++n) {
    auto* button = new QToolButton(&tool_bar);
    button->setObjectName(kButtonNames[n - 1]);
    SetIcon(*button, QIcon());
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setIconSize(QSize(20, 20));
    button->setToolTip(DefaultHint());
    button->setMouseTracking(true);
    button->installEventFilter(this);
    connect(button, &QToolButton::clicked, this, [this, n] { SpeedButton13Click(n); });
    buttons_[static_cast<size_t>(n - 1)] = button;
  }
  tool_bar.installEventFilter(this);

  PopupMenu2 = new QMenu(&tool_bar);
  PopupMenu2->setObjectName("PopupMenu2");
  N12 = PopupMenu2->addAction(QStringLiteral("登　　録"), this, &TLauncherButtons::N12Click);
  N12->setObjectName("N12");
  N13 = PopupMenu2->addAction(QStringLiteral("削　　除"), this, &TLauncherButtons::N13Click);
  N13->setObjectName("N13");
  Help2 = PopupMenu2->addAction(QStringLiteral("ヘ ル プ"), this, &TLauncherButtons::Help2Click);
  Help2->setObjectName("Help2");
  PlaceButtons();
}

void TLauncherButtons::PlaceButtons() {
  // At the right end of the tool bar, but never over the other tool buttons: on a narrow
  // window they go onto the bar's second row when it has one, else follow the last of those.
  int others_end = 0;
  for (QToolButton* other : tool_bar_.findChildren<QToolButton*>()) {
    if (std::find(buttons_.begin(), buttons_.end(), other) != buttons_.end()) continue;
    others_end = std::max(others_end, other->geometry().right() + 1);
  }
  const int right_end = tool_bar_.width() - RowWidth() + kMargin;
  const bool second_row =
      others_end + kMargin > right_end && tool_bar_.height() >= 2 * (kButtonSize + kMargin);
  const int left =
      second_row ? std::max(right_end, kMargin) : std::max(right_end, others_end + kMargin);
  const int top = second_row ? tool_bar_.height() - kButtonSize - kMargin
                             : std::max((tool_bar_.height() - kButtonSize) / 2, 0);
  for (int i = 0; i < kButtonCount; ++i) {
    buttons_[static_cast<size_t>(i)]->move(left + i * kButtonStep, top);
  }
}

int TLauncherButtons::RowWidth() {
  return kMargin + (kButtonCount - 1) * kButtonStep + kButtonSize + kMargin;
}

int TLauncherButtons::NumberOf(QObject* button) const {
  auto it = std::find(buttons_.begin(), buttons_.end(), button);
  return it == buttons_.end() ? 0 : static_cast<int>(it - buttons_.begin()) + 1;
}

bool TLauncherButtons::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &tool_bar_) {
    if (event->type() == QEvent::Resize) {
      // The other tool buttons are placed after the bar's own resize; look again once they are.
      PlaceButtons();
      QMetaObject::invokeMethod(this, &TLauncherButtons::PlaceButtons, Qt::QueuedConnection);
    }
    return false;
  }
  const int n = NumberOf(watched);
  if (n == 0) return false;
  switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
      SpeedButton13MouseMove(n);
      break;
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::RightButton) {
        SpeedButton13MouseUp(n, mouse->button(), mouse->globalPosition().toPoint());
        return true;
      }
      break;
    }
    default:
      break;
  }
  return false;
}

QString TLauncherButtons::RegisteredFile(int n) const {
  const settings::IniStore& store = settings_.Store();
  const std::string stored = store.ReadString(settings::Numbered(kFileKey.section, n),
                                              settings::Numbered(kFileKey.name, n), "");
  return stored.empty() ? QString() : PathOfStored(stored);
}

void TLauncherButtons::LoadButtons() {
  const settings::IniStore& store = settings_.Store();
  for (int n = 1; n <= kButtonCount; ++n) {
    const std::string program = store.ReadString(settings::Numbered(kProgramKey.section, n),
                                                 settings::Numbered(kProgramKey.name, n), "");
    SetIcon(*Button(n), program.empty() ? QIcon() : shell_.FileIcon(PathOfStored(program)));
  }
}

void TLauncherButtons::SpeedButton13MouseMove(int n) {
  LauncherIndex = n;
  const QString file = RegisteredFile(n);
  Button(n)->setToolTip(file.isEmpty() ? DefaultHint() : file);
}

void TLauncherButtons::SpeedButton13MouseUp(int n, Qt::MouseButton button, const QPoint& global) {
  LauncherIndex = n;
  if (button == Qt::RightButton) PopupMenu2->popup(global);
}

void TLauncherButtons::N12Click() {
  const int n = LauncherIndex;
  QWidget* window = host_.LauncherWindow();
  const std::filesystem::path& startup = startup_dir_;
  const std::optional<QString> chosen =
      shell_.ChooseFile(window, QString::fromStdString(startup.string()));
  if (!chosen || chosen->isEmpty()) return;
  // A file name with "?" in it would name no file: it is refused, its characters named.
  if (!platform::CheckCp932Name(window, *chosen, QStringLiteral("このファイル名"))) return;
  const std::string stored = platform::Cp932FromPath(chosen->toStdString());
  const QIcon icon = shell_.FileIcon(*chosen);
  if (icon.isNull()) {
    platform::ShowMessage(window, QStringLiteral("アイコンがありません！"),
                          QStringLiteral("アイコン"), platform::MessageIcon::kExclamation);
  }
  SetIcon(*Button(n), icon);
  // A program that code page 932 cannot name is left out; the button then shows no picture
  // after a restart, as for a file without an associated program.
  bool program_exact = true;
  std::string program =
      platform::Cp932FromPath(shell_.AssociatedProgram(*chosen).toStdString(), &program_exact);
  if (!program_exact) program.clear();
  host_.ReportedWrite([&] {
    settings::IniStore& store = settings_.Store();
    const std::string section = settings::Numbered(kFileKey.section, n);
    store.WriteString(section, settings::Numbered(kFileKey.name, n), stored);
    store.WriteString(section, settings::Numbered(kProgramKey.name, n), program);
  });
}

void TLauncherButtons::N13Click() {
  const int n = LauncherIndex;
  if (!host_.ReportedWrite(
          [&] { settings_.Store().EraseSection(settings::Numbered(kFileKey.section, n)); })) {
    return;
  }
  LauncherFile.clear();
  SetIcon(*Button(n), QIcon());
  Button(n)->setToolTip(DefaultHint());
}

void TLauncherButtons::SpeedButton13Click(int n) {
  QWidget* window = host_.LauncherWindow();
  LauncherFile = RegisteredFile(n);
  if (LauncherFile.isEmpty()) {
    platform::ShowMessage(window, NotRegisteredText(), QStringLiteral("注意"),
                          platform::MessageIcon::kExclamation);
    return;
  }
  // A launched program inherits the working folder: it starts where the shown days are, as it
  // always has, and the folder is the program's own again once it has started.
  const std::filesystem::path keep = platform::CurrentDir();
  const bool entered = platform::SetCurrentDir(host_.LauncherWorkingFolder());
  // A file that has gone since it was registered cannot be opened either: the same message.
  const bool opened = QFileInfo::exists(LauncherFile) && shell_.Open(LauncherFile);
  if (entered) platform::SetCurrentDir(keep);
  if (opened) {
    host_.LauncherLaunched();
  } else {
    platform::ShowMessage(window, NotAssociatedText(), QStringLiteral("注意"),
                          platform::MessageIcon::kExclamation);
  }
}

void TLauncherButtons::Help2Click() {
  platform::ShowHelp(host_.LauncherWindow(), help_file_, 22);
}

}  // namespace app
