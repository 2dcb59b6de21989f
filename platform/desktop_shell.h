// The desktop's services for files the user registers: a file's icon, the program that opens
// it, and opening it — a program is started directly, a ".desktop" entry as the desktop's menu
// starts it, and a document with the application the desktop associates with its type.
#pragma once

#include <QIcon>
#include <QString>

namespace platform {

// The icon of a file: a desktop entry's own icon, otherwise the icon of its MIME type in the
// icon theme; a null icon when the file does not exist or no icon is found.
QIcon FileIcon(const QString& path);

// The program that opens the file: the file itself for a program or a desktop entry, the
// associated application's desktop entry for a document; empty when nothing is associated.
QString AssociatedProgram(const QString& path);

// Opens the file; false when it does not exist, cannot be started, or is a document without
// an associated application.
bool OpenFile(const QString& path);

}  // namespace platform
