// IcalCommands: ファイル → iCalendar に書き出し… / iCalendar を読み込み…. The export writes every
// day to one .ics file; the import reads one, says what it will add and asks before it writes,
// and asks again when some characters would become "?". Both run on a worker thread behind a
// progress dialog that can stop them. It needs only the data folder, the start-up folder (for
// the ToDo list), a way to ask for file names, and a call when the days changed.
#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>

class QWidget;

namespace app {

class IcalCommands : public QObject {
  Q_OBJECT

 public:
  struct Needs {
    std::function<std::filesystem::path()> data_dir;
    std::function<std::filesystem::path()> startup_dir;
    // Asks for a file name (save: true for the export); empty when the user cancelled.
    std::function<QString(QWidget* parent, bool save, const QString& suggested)> file_name;
    std::function<void()> days_changed;
  };

  IcalCommands(QWidget* parent, Needs needs);

  // Default file name dialogs: Documents/ミルネ.ics, iCalendar files.
  static QString AskFileName(QWidget* parent, bool save, const QString& suggested);

  void ExportClick();
  void ImportClick();

 private:
  QWidget* parent_;
  Needs needs_;
};

}  // namespace app
