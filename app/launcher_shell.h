// LauncherShell: what the launcher buttons ask of the desktop — a file chosen by the user, a
// file's icon, its associated program, and opening it. Tests put a recording shell in its
// place so that nothing is really started.
#pragma once

#include <QIcon>
#include <QString>

#include <optional>

class QWidget;

namespace app {

class LauncherShell {
 public:
  virtual ~LauncherShell() = default;
  // The open-file dialog in `folder`; nullopt when the user cancels.
  virtual std::optional<QString> ChooseFile(QWidget* parent, const QString& folder) = 0;
  virtual QIcon FileIcon(const QString& path) = 0;
  virtual QString AssociatedProgram(const QString& path) = 0;
  // False when the file cannot be opened.
  virtual bool Open(const QString& path) = 0;
};

}  // namespace app
