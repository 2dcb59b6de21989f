// The detail columns of the toolkit's own file dialog (shown where no desktop dialog is
// found, and always by the archive windows) are sized for English texts: in Japanese the size
// column cut "3 キロバイト" to "3…ト", and the type column its names. Here the size, type and
// date columns are widened to their texts each time the dialog has loaded a folder, and sizes
// and dates are written in the program's locale (Japanese) whatever the system's is.
#pragma once

class QFileDialog;
class QObject;

namespace platform {

// Fits `dialog`'s columns now and after every folder it loads. Calling it again for the same
// dialog changes nothing more.
void FitFileDialogColumns(QFileDialog& dialog);

// Does so for every file dialog the application shows, those of QFileDialog's static
// functions included. The watcher belongs to `owner`.
void FitEveryFileDialogsColumns(QObject* owner);

}  // namespace platform
