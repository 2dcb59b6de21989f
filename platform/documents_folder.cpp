#include "platform/documents_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString DocumentsFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

}  // namespace platform
