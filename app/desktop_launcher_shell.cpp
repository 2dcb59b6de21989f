#include "app/desktop_launcher_shell.h"

#include <QFileDialog>

#include "platform/desktop_shell.h"

namespace app {

std::optional<QString> DesktopLauncherShell::ChooseFile(QWidget* parent, const QString& folder) {
  QFileDialog dialog(parent, QStringLiteral("登録するファイル"), folder);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setDefaultSuffix(QStringLiteral("TXT"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

QIcon DesktopLauncherShell::FileIcon(const QString& path) {
  return platform::FileIcon(path);
}

QString DesktopLauncherShell::AssociatedProgram(const QString& path) {
  return platform::AssociatedProgram(path);
}

bool DesktopLauncherShell::Open(const QString& path) {
  return platform::OpenFile(path);
}

}  // namespace app
