// DesktopLauncherShell: the launcher buttons' shell on the real desktop, with the standard
// open-file dialog.
#pragma once

#include "app/launcher_shell.h"

namespace app {

class DesktopLauncherShell : public LauncherShell {
 public:
  std::optional<QString> ChooseFile(QWidget* parent, const QString& folder) override;
  QIcon FileIcon(const QString& path) override;
  QString AssociatedProgram(const QString& path) override;
  bool Open(const QString& path) override;
};

}  // namespace app
