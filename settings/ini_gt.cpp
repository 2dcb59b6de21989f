#include "settings/ini_gt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <climits>

#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/qt_text.h"
#include "platform/window_area.h"
#include "settings/settings_location.h"
#include "settings/window_fit.h"

namespace settings {
namespace {

std::string B(const QString& text) {
  return platform::ToCp932(text);
}

enum ShowCommand { kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3 };

int StyleOf(const QFont& font) {
  return (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
         (font.strikeOut() ? 8 : 0);
}

// The restored window's rectangle and its show command.
QRect NormalGeometry(const QWidget& window) {
  QRect normal =
      window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
  return normal.isValid() ? normal : window.geometry();
}

int ShowOf(const QWidget& window) {
  return window.isMaximized()   ? kShowMaximized
         : window.isMinimized() ? kShowMinimized
                                : kShowNormal;
}

// The free area of the screen the placement lies on (most of it), or of the window's own screen
// when the placement lies on no screen at all (one that has been taken away).
QRect FreeAreaFor(const QRect& placement, const QWidget& window) {
  const QScreen* screen = QGuiApplication::screenAt(placement.center());
  if (!screen) screen = window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? platform::WindowArea(*screen) : QRect();
}

}  // namespace

TIniGT::TIniGT(QObject* parent) : QObject(parent) {
  Resolve();
}

void TIniGT::SetFileName(const QString& name) {
  file_name_ = name;
  Resolve();
}

void TIniGT::SetDefaultDir(TIniGTDefaultDir dir) {
  default_dir_ = dir;
  Resolve();
}

void TIniGT::Resolve() {
  std::filesystem::path name(file_name_.toStdString());
  if (file_name_.isEmpty()) {
    std::error_code ec;
    name = std::filesystem::read_symlink("/proc/self/exe", ec).filename();
    name.replace_extension(".ini");
  }
  if (name.has_parent_path()) {
    store_.SetPath(name);
  } else if (default_dir_ == TIniGTDefaultDir::ddApplication) {
    store_.SetPath(settings::SettingsFilePath(platform::ExecutableDir(), name.string()));
  } else if (default_dir_ == TIniGTDefaultDir::ddWindows) {
    // The per-user configuration folder stands in for the Windows folder.
    store_.SetPath(settings::UserConfigDir() / name);
  } else {
    store_.SetPath(name);
  }
}

QString TIniGT::ReadString(const QString& section, const QString& key,
                           const QString& default_value) const {
  return platform::ToQString(store_.ReadString(B(section), B(key), B(default_value)));
}

void TIniGT::WriteString(const QString& section, const QString& key, const QString& value) {
  store_.WriteString(B(section), B(key), B(value));
}

QString TIniGT::ReadString(const Key& key, const QString& current) const {
  return platform::ToQString(store_.ReadString(key, B(current)));
}

void TIniGT::WriteString(const Key& key, const QString& value) {
  store_.WriteString(key, B(value));
}

void TIniGT::ReadFont(const Key& key, QFont& font) const {
  ReadFont(QString::fromUtf8(key.section), QString::fromUtf8(key.name), font);
}

void TIniGT::WriteFont(const Key& key, const QFont& font) {
  WriteFont(QString::fromUtf8(key.section), QString::fromUtf8(key.name), font);
}

void TIniGT::ReadPlacement(const Key& key, QWidget& window) const {
  ReadPlacement(QString::fromUtf8(key.section), QString::fromUtf8(key.name), window);
}

void TIniGT::WritePlacement(const Key& key, const QWidget& window) {
  WritePlacement(QString::fromUtf8(key.section), QString::fromUtf8(key.name), window);
}

bool TIniGT::HasPlacement(const Key& key) const {
  return store_.ReadInteger(SectionBytes(key), std::string(key.name) + ".XSize", INT_MIN) !=
         INT_MIN;
}

void TIniGT::ReadFont(const QString& section, const QString& prefix, QFont& font) const {
  QString name = ReadString(section, prefix + ".Name", font.family());
  int size = store_.ReadInteger(B(section), B(prefix + ".Size"),
                                font.pointSize() > 0 ? font.pointSize() : 9);
  int style = store_.ReadInteger(B(section), B(prefix + ".Style"), StyleOf(font));
  QFont fresh(platform::JapaneseFace(name));
  if (size > 0) fresh.setPointSize(size);
  fresh.setBold(style & 1);
  fresh.setItalic(style & 2);
  fresh.setUnderline(style & 4);
  fresh.setStrikeOut(style & 8);
  font = fresh;
}

void TIniGT::WriteFont(const QString& section, const QString& prefix, const QFont& font) {
  // A stored Windows name that stands for the same face keeps its spelling, so that a file
  // shared with Windows still names a face that Windows has.
  const QString stored = ReadString(section, prefix + ".Name", QString());
  const bool same_face = !stored.isEmpty() && platform::JapaneseFace(stored) == font.family();
  WriteString(section, prefix + ".Name", same_face ? stored : font.family());
  store_.WriteInteger(B(section), B(prefix + ".Size"), font.pointSize());
  store_.WriteInteger(B(section), B(prefix + ".Style"), StyleOf(font));
}

void TIniGT::ReadPlacement(const QString& section, const QString& prefix, QWidget& window) const {
  const QRect normal = NormalGeometry(window);
  int show = ShowOf(window);
  show = store_.ReadInteger(B(section), B(prefix + ".Show"), show);
  int x = store_.ReadInteger(B(section), B(prefix + ".X"), normal.left());
  int y = store_.ReadInteger(B(section), B(prefix + ".Y"), normal.top());
  int right = store_.ReadInteger(B(section), B(prefix + ".XSize"), normal.left() + normal.width());
  int bottom = store_.ReadInteger(B(section), B(prefix + ".YSize"), normal.top() + normal.height());
  // Edges that make no window (a hand-edited file) leave the size as it is, but not the
  // place. Any real size counts: the collapsed clock is less than 50 pixels tall.
  QRect placement(x, y, normal.width(), normal.height());
  if (right > x && bottom > y) placement = QRect(x, y, right - x, bottom - y);
  // What was right on another screen or at another scale is moved and shrunk onto this one.
  const QRect free = FreeAreaFor(placement, window);
  const WindowRect fitted =
      FitOnScreen({placement.x(), placement.y(), placement.width(), placement.height()},
                  {free.x(), free.y(), free.width(), free.height()});
  window.setGeometry(fitted.x, fitted.y, fitted.width, fitted.height);
  Qt::WindowStates state = window.windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
  if (show == kShowMaximized) state |= Qt::WindowMaximized;
  if (show == kShowMinimized) state |= Qt::WindowMinimized;
  window.setWindowState(state);
}

void TIniGT::WritePlacement(const QString& section, const QString& prefix, const QWidget& window) {
  const QRect normal = NormalGeometry(window);
  const int show = ShowOf(window);
  // Flags and the maximised corner have no Qt counterpart: what the file holds is kept.
  store_.WriteInteger(B(section), B(prefix + ".Flags"),
                      store_.ReadInteger(B(section), B(prefix + ".Flags"), 0));
  store_.WriteInteger(B(section), B(prefix + ".Show"), show);
  store_.WriteInteger(B(section), B(prefix + ".MaxX"),
                      store_.ReadInteger(B(section), B(prefix + ".MaxX"), -1));
  store_.WriteInteger(B(section), B(prefix + ".MaxY"),
                      store_.ReadInteger(B(section), B(prefix + ".MaxY"), -1));
  store_.WriteInteger(B(section), B(prefix + ".X"), normal.left());
  store_.WriteInteger(B(section), B(prefix + ".Y"), normal.top());
  store_.WriteInteger(B(section), B(prefix + ".XSize"), normal.left() + normal.width());
  store_.WriteInteger(B(section), B(prefix + ".YSize"), normal.top() + normal.height());
}

}  // namespace settings
