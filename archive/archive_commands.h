// TArchiveCommands: the main window's maintenance commands over the day files: compress,
// extract, delete (into the trash), and the compression of the shown year when the window
// closes, with its two check-mark entries. It talks to the window only through its host.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

#include "archive/archive_progress.h"
#include "settings/ini_gt.h"

class QAction;

namespace archive {

class ArchiveCommandsHost;
class ArchiverLibrary;

class TArchiveCommands : public QObject {
  Q_OBJECT

 public:
  // `settings` holds "CloseArc"; `data_dir` is the data folder in use (the context's, which
  // follows the folder tool), whose year folders the commands work on; `help_file` is what the
  // dialogs' help buttons open.
  TArchiveCommands(ArchiveCommandsHost& host, settings::TIniGT& settings,
                   const std::filesystem::path& data_dir, QString help_file,
                   QObject* parent = nullptr);

  // The two check-mark entries of compress-on-exit; their state is read from "CloseArc".
  void AttachCloseArcActions(QAction* main_menu, QAction* popup_menu);
  bool CloseArc() const { return close_arc_; }

  // The archiver library to load (the one beside the executable unless set).
  void SetLibraryPath(std::filesystem::path path) { library_path_ = std::move(path); }

  void N1Click();             // compress data
  void N2Click();             // extract data
  void D1Click();             // delete data
  void SetCloseArc(bool on);  // either check-mark entry: both follow, "CloseArc" is written
  void FormClose();           // compress on exit when ticked

  // Tests hold the worker's progress here (called on the worker thread for each report).
  std::function<void(std::size_t done, std::size_t total)> on_progress;

 private:
  enum class Loaded { kYes, kNotLoadable, kNoEntry };
  Loaded Load(ArchiverLibrary& library);
  int RunWithProgress(const QString& title, const std::function<int(const ProgressCallback&)>& job);
  void ShowInfo(const QString& text);
  void ShowError(const QString& text);
  // The folder no trash may be made in for files of `folder`: the data folder when `folder`
  // lies in it, else `folder` itself.
  std::filesystem::path KeepOut(const std::filesystem::path& folder) const;
  bool ListsEveryFile(ArchiverLibrary& library, const std::string& archive,
                      const QStringList& files);
  // Where no trash can be used: may these files be overwritten or deleted for good?
  bool AskDeleteForGood(const std::vector<std::filesystem::path>& files, const QString& verb);
  QString HelpFile() const;
  QString DaysFolder() const;

  ArchiveCommandsHost& host_;
  settings::TIniGT& settings_;
  const std::filesystem::path& data_dir_;
  const QString help_file_;
  std::filesystem::path library_path_;
  QPointer<QAction> close_arc_main_, close_arc_popup_;
  bool close_arc_ = false;
};

}  // namespace archive
