// TArchiveFileDialogs: the archive commands' file dialogs as Qt's own dialogs, with a Help
// button tied to the commands' help topic and the default extension following the filter.
#pragma once

#include <memory>

#include "archive/archive_file_dialogs.h"

class QFileDialog;

namespace archive {

class TArchiveFileDialogs : public ArchiveFileDialogs {
 public:
  QStringList OpenFiles(QWidget* parent, const FileDialogRequest& request) override;
  QString SaveFile(QWidget* parent, const FileDialogRequest& request) override;

  // The dialog as it would be shown (exposed for pictures of it).
  static std::unique_ptr<QFileDialog> Make(QWidget* parent, const FileDialogRequest& request,
                                           bool save);
};

}  // namespace archive
