// What the archive commands need of the main window: the shown year's folder, a redraw of the
// month (which also puts the working directory back into the day-file folder) and the file
// dialogs. The settings file, the data folder and the help file come in through the commands'
// constructor.
#pragma once

#include <filesystem>

class QWidget;

namespace archive {

class ArchiveFileDialogs;

class ArchiveCommandsHost {
 public:
  virtual ~ArchiveCommandsHost() = default;

  // The window the dialogs and message boxes belong to.
  virtual QWidget* ArchiveParent() = 0;
  // The folder of the shown year's day files, which the exit compression packs.
  virtual std::filesystem::path ShownYearFolder() const = 0;
  // Shows the current month again: reloads the day texts and sets the working directory back.
  virtual void RedrawMonth() = 0;
  virtual ArchiveFileDialogs& ArchiveDialogs() = 0;
};

}  // namespace archive
