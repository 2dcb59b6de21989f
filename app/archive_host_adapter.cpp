#include "app/archive_host_adapter.h"

#include "app/kvrwin.h"
#include "archive/archive_qt_file_dialogs.h"

namespace app {

QWidget* ArchiveHostAdapter::ArchiveParent() {
  return &window_;
}

std::filesystem::path ArchiveHostAdapter::ArchiveDataDir() const {
  return context_.DataDir();
}

std::filesystem::path ArchiveHostAdapter::ShownYearFolder() const {
  // The year folder the month display last read its days from.
  return context_.DataDir() / (window_.year_folder_.empty() ? std::to_string(window_.cursor_.Year())
                                                            : window_.year_folder_);
}

void ArchiveHostAdapter::RedrawMonth() {
  // The current date set to itself reloads the day texts.
  window_.SetDate(window_.ShownDate());
}

int ArchiveHostAdapter::ReadArchiveSetting(const QString& section, const QString& key,
                                           int fallback) {
  return context_.Settings().ReadInteger(section, key, fallback);
}

void ArchiveHostAdapter::WriteArchiveSetting(const QString& section, const QString& key,
                                             int value) {
  context_.Settings().WriteInteger(section, key, value);
  window_.settings_.close_arc = value;
}

QString ArchiveHostAdapter::ArchiveHelpFile() const {
  return context_.HelpFile();
}

archive::ArchiveFileDialogs& ArchiveHostAdapter::ArchiveDialogs() {
  static archive::TArchiveFileDialogs standard;
  return dialogs_ ? *dialogs_ : standard;
}

}  // namespace app
