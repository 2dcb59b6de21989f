// The standard file dialogs of the archive commands behind an interface, so that tests answer
// them instead of a user.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace archive {

struct FileDialogRequest {
  QString title;
  QStringList filters;     // "name (*.ext)", the first one selected
  QString default_suffix;  // added to a typed name without an extension; empty for none
  QString preset_file;     // the name the dialog starts with
  bool multiple = false;   // open dialogs: several files may be chosen
  QString help_file;       // the Help button opens this file at help_topic
  int help_topic = 0;
  QString folder = {};  // where the dialog opens, unless preset_file names a folder
};

class ArchiveFileDialogs {
 public:
  virtual ~ArchiveFileDialogs() = default;
  // The chosen existing files in the order the dialog returns them; empty when cancelled.
  virtual QStringList OpenFiles(QWidget* parent, const FileDialogRequest& request) = 0;
  // The confirmed name to write; empty when cancelled.
  virtual QString SaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
};

}  // namespace archive
