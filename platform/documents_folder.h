// Where files the user keeps (PDFs of the month, iCalendar files) are offered first: the
// documents folder, or the home folder when there is none. A file dialog given a folder that
// does not exist falls back to the working folder, which is the data folder, and puts the
// missing folder's name in the file name box.
#pragma once

#include <QString>

namespace platform {

QString DocumentsFolder();

}  // namespace platform
