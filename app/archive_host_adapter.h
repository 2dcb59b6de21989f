// ArchiveHostAdapter: the main window as the archive commands see it: the shown year's folder,
// the redraw of the month and the standard file dialogs.
#pragma once

#include "archive/archive_commands_host.h"

namespace app {

class AppContext;
class TKvrwin;

class ArchiveHostAdapter final : public archive::ArchiveCommandsHost {
 public:
  ArchiveHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  QWidget* ArchiveParent() override;
  std::filesystem::path ShownYearFolder() const override;
  void RedrawMonth() override;
  archive::ArchiveFileDialogs& ArchiveDialogs() override;
  // Tests answer the archive commands' file dialogs through their own.
  void SetArchiveDialogs(archive::ArchiveFileDialogs* dialogs) { dialogs_ = dialogs; }

 private:
  archive::ArchiveFileDialogs* dialogs_ = nullptr;
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
