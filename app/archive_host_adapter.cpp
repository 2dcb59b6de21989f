#include "app/archive_host_adapter.h"

#include "app/kvrwin.h"
#include "archive/archive_qt_file_dialogs.h"

namespace app {

QWidget* ArchiveHostAdapter::ArchiveParent() {
  return &window_;
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

archive::ArchiveFileDialogs& ArchiveHostAdapter::ArchiveDialogs() {
  static archive::TArchiveFileDialogs standard;
  return dialogs_ ? *dialogs_ : standard;
}

}  // namespace app
