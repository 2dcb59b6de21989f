// What the archive commands need of the main window: its folders, a redraw of the month (which
// also puts the working directory back into the day-file folder), the settings file, the help
// file and the file dialogs.
#pragma once

#include <QString>

#include <filesystem>

class QWidget;

namespace archive {

class ArchiveFileDialogs;

class ArchiveCommandsHost {
 public:
  virtual ~ArchiveCommandsHost() = default;

  // The window the dialogs and message boxes belong to.
  virtual QWidget* ArchiveParent() = 0;
  virtual std::filesystem::path ArchiveDataDir() const = 0;
  // The folder of the shown year's day files, which the exit compression packs.
  virtual std::filesystem::path ShownYearFolder() const = 0;
  // Shows the current month again: reloads the day texts and sets the working directory back.
  virtual void RedrawMonth() = 0;

  virtual int ReadArchiveSetting(const QString& section, const QString& key, int fallback) = 0;
  // Throws std::system_error when the settings file cannot be written.
  virtual void WriteArchiveSetting(const QString& section, const QString& key, int value) = 0;

  virtual QString ArchiveHelpFile() const = 0;
  virtual ArchiveFileDialogs& ArchiveDialogs() = 0;
};

}  // namespace archive
