// ArchiveHostAdapter: the main window as the archive commands see it: its folders, the redraw of
// the month, the settings file, the help file and the standard file dialogs.
#pragma once

#include "archive/archive_commands_host.h"

namespace app {

class AppContext;
class TKvrwin;

class ArchiveHostAdapter final : public archive::ArchiveCommandsHost {
 public:
  ArchiveHostAdapter(AppContext& context, TKvrwin& window) : context_(context), window_(window) {}

  QWidget* ArchiveParent() override;
  std::filesystem::path ArchiveDataDir() const override;
  std::filesystem::path ShownYearFolder() const override;
  void RedrawMonth() override;
  int ReadArchiveSetting(const QString& section, const QString& key, int fallback) override;
  void WriteArchiveSetting(const QString& section, const QString& key, int value) override;
  QString ArchiveHelpFile() const override;
  archive::ArchiveFileDialogs& ArchiveDialogs() override;
  // Tests answer the archive commands' file dialogs through their own.
  void SetArchiveDialogs(archive::ArchiveFileDialogs* dialogs) { dialogs_ = dialogs; }

 private:
  archive::ArchiveFileDialogs* dialogs_ = nullptr;
  AppContext& context_;
  TKvrwin& window_;
};

}  // namespace app
