#include "platform/desktop_shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "platform/desktop_entry.h"
#include "platform/file_system.h"

namespace platform {
namespace {

bool IsDesktopEntry(const QFileInfo& info) {
  return info.isFile() && info.suffix() == QLatin1String("desktop");
}

bool IsProgram(const QFileInfo& info) {
  return info.isFile() && info.isExecutable() && !IsDesktopEntry(info);
}

std::optional<DesktopEntry> ReadEntry(const QString& path) {
  std::string bytes;
  if (!ReadFile(path.toStdString(), bytes)) return std::nullopt;
  return DesktopEntry::Parse(bytes);
}

void EnsureIconTheme() {
  // Outside a desktop session no theme is set, and every type would show the same icon.
  static const bool done = [] {
    if (QIcon::themeName().isEmpty()) QIcon::setThemeName(QStringLiteral("Adwaita"));
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(QStringLiteral("/usr/share/icons")))
      paths << QStringLiteral("/usr/share/icons");
    QIcon::setThemeSearchPaths(paths);
    return true;
  }();
  (void)done;
}

}  // namespace

QIcon FileIcon(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {};
  EnsureIconTheme();
  if (IsDesktopEntry(info)) {
    if (auto entry = ReadEntry(path)) {
      const QString icon = QString::fromStdString(entry->Value("Icon"));
      if (QFileInfo(icon).isAbsolute() && QFileInfo::exists(icon)) return QIcon(icon);
      if (!icon.isEmpty() && QIcon::hasThemeIcon(icon)) return QIcon::fromTheme(icon);
    }
  }
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
  for (const QString& name : {mime.iconName(), mime.genericIconName()}) {
    if (!name.isEmpty() && QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  }
  return QFileIconProvider().icon(info);
}

QString AssociatedProgram(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {};
  if (IsProgram(info) || IsDesktopEntry(info)) return info.absoluteFilePath();
  const QString mime = QMimeDatabase().mimeTypeForFile(info).name();
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"), mime});
  if (!query.waitForFinished(5000)) {
    query.kill();
    query.waitForFinished();
    return {};
  }
  const QString id = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
  if (id.isEmpty()) return {};
  const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
  return entry.isEmpty() ? id : entry;
}

bool OpenFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return false;
  if (IsDesktopEntry(info)) {
    auto entry = ReadEntry(path);
    if (!entry || !entry->IsApplication()) return false;
    std::vector<std::string> words = entry->ExecArguments(info.absoluteFilePath().toStdString());
    if (words.empty()) return false;
    if (entry->Terminal()) words.insert(words.begin(), {"x-terminal-emulator", "-e"});
    QStringList arguments;
    for (size_t i = 1; i < words.size(); ++i) arguments << QString::fromStdString(words[i]);
    return QProcess::startDetached(QString::fromStdString(words[0]), arguments,
                                   QString::fromStdString(entry->Value("Path")));
  }
  if (IsProgram(info)) return QProcess::startDetached(info.absoluteFilePath(), {});
  // A document: the desktop opens it with its application, which must exist, for the opener
  // reports success even when nothing is associated.
  if (AssociatedProgram(path).isEmpty()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

}  // namespace platform
