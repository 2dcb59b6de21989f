// The main window as the archive commands' host: its folders, the redraw of the month, the
// settings file, the help file and the standard file dialogs.
#include "app/kvrwin.h"
#include "archive/archive_qt_file_dialogs.h"

namespace app {

QWidget* TKvrwin::ArchiveParent() {
  return this;
}

std::filesystem::path TKvrwin::ArchiveDataDir() const {
  return data_dir_;
}

std::filesystem::path TKvrwin::ShownYearFolder() const {
  // The year folder the month display last entered: the one the working directory is in.
  return data_dir_ / (year_folder_.empty() ? std::to_string(cursor_.Year()) : year_folder_);
}

void TKvrwin::RedrawMonth() {
  // The current date set to itself reloads the day texts and puts the working directory back.
  SetDate(ShownDate());
}

int TKvrwin::ReadArchiveSetting(const QString& section, const QString& key, int fallback) {
  return IniGT1->ReadInteger(section, key, fallback);
}

void TKvrwin::WriteArchiveSetting(const QString& section, const QString& key, int value) {
  IniGT1->WriteInteger(section, key, value);
  settings_.close_arc = value;
}

QString TKvrwin::ArchiveHelpFile() const {
  return help_file_;
}

archive::ArchiveFileDialogs& TKvrwin::ArchiveDialogs() {
  static archive::TArchiveFileDialogs standard;
  return archive_dialogs_ ? *archive_dialogs_ : standard;
}

}  // namespace app
