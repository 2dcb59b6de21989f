#include "archive/archive_commands.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <system_error>

#include "archive/archive_commands_host.h"
#include "archive/archive_file_dialogs.h"
#include "archive/archive_listing.h"
#include "archive/archive_messages.h"
#include "archive/archive_progress_dialog.h"
#include "archive/archiver_library.h"
#include "archive/unlha_result.h"
#include "archive/year_archive.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/trash.h"
#include "settings/schema.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

// The help topic of every archive dialog.
constexpr int kArchiveHelpTopic = 13;

const QString kAllFiles = QStringLiteral("すべてのファイル(*.*)");
const QString kLzhArchives = QStringLiteral("圧縮ファイル (*.lzh)");
const QString kZipArchives = QStringLiteral("ZIP ファイル (*.zip)");

QString Text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

fs::path PathOf(const QString& text) {
  return fs::path(text.toStdString());
}

// The archive's name on the command line, always quoted: unquoted, the library ends it at the
// first ".lzh" or ".zip" followed by a blank ("/d/old.zip files/2026.lzh" would name
// "/d/old.zip"), and a name without either ending at its first blank.
bool ArchiveArgument(const QString& path, std::string& out) {
  bool exact = true;
  out = platform::Cp932FromPath(PathOf(path), &exact);
  if (!exact || out.find('"') != std::string::npos) return false;
  out = "\"" + out + "\"";
  return true;
}

QString Trimmed(const std::string& output) {
  return Text(output).trimmed();
}

QString FolderText(const fs::path& folder) {
  return QString::fromStdString(folder.string());
}

}  // namespace

TArchiveCommands::TArchiveCommands(ArchiveCommandsHost& host, settings::TIniGT& settings,
                                   const std::filesystem::path& data_dir, QString help_file,
                                   QObject* parent)
    : QObject(parent),
      host_(host),
      settings_(settings),
      data_dir_(data_dir),
      help_file_(std::move(help_file)),
      library_path_(ArchiverLibrary::DefaultPath()) {}

void TArchiveCommands::AttachCloseArcActions(QAction* main_menu, QAction* popup_menu) {
  close_arc_main_ = main_menu;
  close_arc_popup_ = popup_menu;
  close_arc_ = settings_.Store().ReadInteger(settings::keys::CloseArc) == 1;
  for (QAction* action : {main_menu, popup_menu}) {
    action->setCheckable(true);
    action->setEnabled(true);
    action->setChecked(close_arc_);
    connect(action, &QAction::triggered, this, &TArchiveCommands::SetCloseArc);
  }
}

void TArchiveCommands::SetCloseArc(bool on) {
  close_arc_ = on;
  for (QAction* action : {close_arc_main_.data(), close_arc_popup_.data()}) {
    if (action && action->isChecked() != on) action->setChecked(on);
  }
  try {
    settings_.Store().WriteInteger(settings::keys::CloseArc, on ? 1 : 0);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(host_.ArchiveParent(), Text(e.what()));
  }
}

TArchiveCommands::Loaded TArchiveCommands::Load(ArchiverLibrary& library) {
  switch (library.Load()) {
    case ArchiverLibrary::LoadState::kLoaded:
      return Loaded::kYes;
    case ArchiverLibrary::LoadState::kNoEntry:
      return Loaded::kNoEntry;
    case ArchiverLibrary::LoadState::kNotLoadable:
      break;
  }
  ShowInfo(QStringLiteral("UNLHA32.DLL が組込まれていません。\n(") + Text(library_path_.string()) +
           QStringLiteral(")"));
  return Loaded::kNotLoadable;
}

int TArchiveCommands::RunWithProgress(const QString& title,
                                      const std::function<int(const ProgressCallback&)>& job) {
  TArchiveProgressDialog dialog(host_.ArchiveParent(), title);
  return dialog.Run([&](const ProgressCallback& progress) {
    ProgressCallback reported = [&](std::size_t done, std::size_t total) {
      if (on_progress) on_progress(done, total);
      return progress(done, total);
    };
    return job(reported);
  });
}

fs::path TArchiveCommands::KeepOut(const fs::path& folder) const {
  // The trash never goes into the data folder, nor into the folder being worked in.
  const fs::path data = data_dir_;
  std::error_code ec;
  const fs::path a = fs::weakly_canonical(folder, ec), b = fs::weakly_canonical(data, ec);
  const bool in_data =
      !ec && std::mismatch(b.begin(), b.end(), a.begin(), a.end()).first == b.end();
  return in_data ? data : folder;
}

bool TArchiveCommands::AskDeleteForGood(const std::vector<fs::path>& files, const QString& verb) {
  QString names;
  for (size_t i = 0; i < files.size() && i < 10; ++i) names += Text(files[i].string()) + "\n";
  if (files.size() > 10) names += QStringLiteral("ほか %1 個\n").arg(files.size() - 10);
  const QString text =
      QStringLiteral("ごみ箱を使えないため、次の %1 個のファイルは%2すると元に戻せません。\n\n")
          .arg(files.size())
          .arg(verb) +
      names + QStringLiteral("\n%1しますか？").arg(verb);
  return platform::ShowMessage(host_.ArchiveParent(), text, QApplication::applicationName(),
                               platform::MessageIcon::kExclamation,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool TArchiveCommands::ListsEveryFile(ArchiverLibrary& library, const std::string& archive,
                                      const QStringList& files) {
  // Success is reported only for an archive that was written and reads back with every file.
  std::string listing;
  if (library.List(archive, &listing) != kUnlhaOk) return false;
  std::vector<std::string> listed = ListedNames(listing);
  for (std::string& name : listed) name = cp932::FoldAsciiCase(name);
  for (const QString& file : files) {
    const std::string name = cp932::FoldAsciiCase(PathOf(file).filename().string());
    if (std::find(listed.begin(), listed.end(), name) == listed.end()) return false;
  }
  return true;
}

void TArchiveCommands::ShowInfo(const QString& text) {
  platform::ShowMessage(host_.ArchiveParent(), text, QApplication::applicationName());
}

void TArchiveCommands::ShowError(const QString& text) {
  platform::ShowErrorBox(host_.ArchiveParent(), text);
}

QString TArchiveCommands::HelpFile() const {
  return help_file_;
}

// The dialogs open where the month's days are: the shown year's folder, or the data folder for
// a year that has none yet.
QString TArchiveCommands::DaysFolder() const {
  const fs::path year = host_.ShownYearFolder();
  std::error_code ec;
  return FolderText(fs::is_directory(year, ec) ? year : data_dir_);
}

void TArchiveCommands::N1Click() {
  ArchiverLibrary library(library_path_);
  const Loaded loaded = Load(library);
  if (loaded == Loaded::kNotLoadable) return;  // the month is not redrawn then
  if (loaded == Loaded::kYes) {
    ArchiveFileDialogs& dialogs = host_.ArchiveDialogs();
    FileDialogRequest pick{QStringLiteral("データ圧縮"),
                           {QStringLiteral("すべてのファイル (*.*)")},
                           {},
                           {},
                           true,
                           HelpFile(),
                           kArchiveHelpTopic,
                           DaysFolder()};
    const QStringList files = dialogs.OpenFiles(host_.ArchiveParent(), pick);
    if (!files.isEmpty()) {
      FileDialogRequest save{QStringLiteral("名前を付けて圧縮ファイルを保存"),
                             {kLzhArchives, kZipArchives, kAllFiles},
                             QStringLiteral("LZH"),
                             {},
                             false,
                             HelpFile(),
                             kArchiveHelpTopic,
                             // The archive is offered beside the files it takes.
                             QFileInfo(files.front()).absolutePath()};
      const QString archive = dialogs.SaveFile(host_.ArchiveParent(), save);
      if (!archive.isEmpty()) {
        std::string command, name;
        bool names_ok = ArchiveArgument(archive, name);
        command = "U " + name + " ";
        for (const QString& file : files) {
          bool exact = true;
          command += platform::Cp932FromPath(PathOf(file), &exact) + "\r\n";
          names_ok = names_ok && exact;
        }
        if (!names_ok) {
          ShowError(archive + QStringLiteral(
                                  "に圧縮できませんでした。\nシフトJISで表せない名前があります。"));
        } else {
          std::string output;
          const int result =
              RunWithProgress(QStringLiteral("データ圧縮"), [&](const ProgressCallback& progress) {
                return library.Run(command, &output, 4096, progress);
              });
          if (result == kUnlhaOk && !ListsEveryFile(library, name, files)) {
            ShowError(archive + QStringLiteral("に圧縮できませんでした。\n") +
                      QStringLiteral("書庫を読み返しても、選んだファイルがそろっていません。"));
          } else if (result == kUnlhaOk) {
            ShowInfo(archive + QStringLiteral("に圧縮しました。"));
          } else if (result == kUnlhaCancelled) {
            ShowInfo(QStringLiteral("圧縮を中止しました。\n") + archive +
                     QStringLiteral("はそのままです。"));
          } else {
            ShowError(archive + QStringLiteral("に圧縮できませんでした。\n") + Trimmed(output));
          }
        }
      }
    }
  }
  library.Release();
  host_.RedrawMonth();
}

void TArchiveCommands::N2Click() {
  ArchiverLibrary library(library_path_);
  const Loaded loaded = Load(library);
  if (loaded == Loaded::kNotLoadable) return;
  if (loaded == Loaded::kYes) {
    ArchiveFileDialogs& dialogs = host_.ArchiveDialogs();
    FileDialogRequest pick{QStringLiteral("解凍ファイル"),
                           {QStringLiteral("解凍するファイル (*.lzh)"), kZipArchives},
                           {},
                           {},
                           false,
                           HelpFile(),
                           kArchiveHelpTopic,
                           DaysFolder()};
    const QStringList chosen = dialogs.OpenFiles(host_.ArchiveParent(), pick);
    if (!chosen.isEmpty()) {
      const QString archive = QFileInfo(chosen.front()).absoluteFilePath();
      FileDialogRequest where{QStringLiteral("データ解凍先"),
                              {QStringLiteral("解凍ファイル (*.lzh)"), kAllFiles},
                              QStringLiteral("LZH"),
                              archive,
                              false,
                              HelpFile(),
                              kArchiveHelpTopic};
      const QString confirmed = dialogs.SaveFile(host_.ArchiveParent(), where);
      if (!confirmed.isEmpty()) {
        // Only the folder in which the user confirmed matters: the archive goes there.
        const fs::path destination = PathOf(QFileInfo(confirmed).absolutePath());
        // The library's extract command names no destination: it extracts into the working
        // folder, which is the destination for this command alone.
        const fs::path keep = platform::CurrentDir();
        const bool entered = platform::SetCurrentDir(destination);
        bool exact = true;
        const std::string name = platform::Cp932FromPath(PathOf(archive), &exact);
        std::string output;
        int trashed = 0, not_trashed = 0;
        int result = kUnlhaBadCommand;
        if (!exact) {
          output = "シフトJISで表せない名前です";
        } else if (!entered) {
          output = "解凍先のフォルダに入れません: " + destination.string();
        } else {
          // The files that extraction overwrites go to the trash first, so that an old
          // archive never silently replaces newer days.
          std::string listing;
          result = library.List(name, &listing);
          if (result == kUnlhaOk) {
            std::vector<fs::path> no_trash;
            for (const fs::path& file :
                 FilesReplacedByExtraction(ListedNames(listing), destination)) {
              if (platform::MoveToTrash(file, KeepOut(destination)) ==
                  platform::TrashResult::kTrashed) {
                ++trashed;
              } else {
                no_trash.push_back(file);
              }
            }
            not_trashed = static_cast<int>(no_trash.size());
            if (!no_trash.empty() && !AskDeleteForGood(no_trash, QStringLiteral("上書き"))) {
              result = kUnlhaCancelled;
            } else {
              result = RunWithProgress(
                  QStringLiteral("データ解凍"), [&](const ProgressCallback& progress) {
                    return library.Run("X -c1 " + name, &output, 4096, progress);
                  });
            }
          } else {
            output = listing;
          }
        }
        if (entered) platform::SetCurrentDir(keep);
        if (result == kUnlhaOk) {
          ShowInfo(Text(ExtractionMessage(archive.toStdString(), trashed, not_trashed)));
        } else {
          QString text =
              archive + (result == kUnlhaCancelled
                             ? QStringLiteral("の解凍を中止しました。")
                             : QStringLiteral("を解凍できませんでした。\n") + Trimmed(output));
          if (trashed > 0) {
            text += QStringLiteral("\n置き換える予定だった %1 個のファイルはごみ箱にあります。")
                        .arg(trashed);
          }
          (result == kUnlhaCancelled ? ShowInfo(text) : ShowError(text));
        }
      }
    }
  }
  library.Release();
  host_.RedrawMonth();
}

void TArchiveCommands::D1Click() {
  FileDialogRequest pick{QStringLiteral("データ削除"),
                         {QStringLiteral("データファイル (*.dat)")},
                         {},
                         {},
                         true,
                         HelpFile(),
                         kArchiveHelpTopic,
                         DaysFolder()};
  const QStringList files = host_.ArchiveDialogs().OpenFiles(host_.ArchiveParent(), pick);
  if (!files.isEmpty() && QFileInfo::exists(files.front())) {
    std::vector<std::string> removed, not_removed;
    std::vector<fs::path> no_trash;
    int for_good = 0;
    for (const QString& file : files) {
      // Into the trash, so that a wrong choice can be undone.
      const fs::path path = PathOf(file);
      if (platform::MoveToTrash(path, KeepOut(path.parent_path())) ==
          platform::TrashResult::kTrashed) {
        removed.push_back(file.toStdString());
      } else {
        no_trash.push_back(path);
      }
    }
    // Deleted for good only when the user says so, knowing it cannot be undone.
    const bool for_good_allowed =
        !no_trash.empty() && AskDeleteForGood(no_trash, QStringLiteral("削除"));
    for (const fs::path& path : no_trash) {
      std::error_code ec;
      if (for_good_allowed && fs::remove(path, ec)) {
        removed.push_back(path.string());
        ++for_good;
      } else {
        not_removed.push_back(path.string());
      }
    }
    ShowInfo(Text(DeletionMessage(removed, not_removed, for_good)));
  }
  host_.RedrawMonth();
}

void TArchiveCommands::FormClose() {
  if (!close_arc_) return;
  ArchiverLibrary library(library_path_);
  if (Load(library) != Loaded::kYes) return;
  FileDialogRequest save{QStringLiteral("ミルネ-  名前を付けて圧縮ファイルを保存"),
                         {kLzhArchives, kZipArchives, kAllFiles},
                         QStringLiteral("LZH"),
                         {},
                         false,
                         HelpFile(),
                         kArchiveHelpTopic,
                         DaysFolder()};
  const QString archive = host_.ArchiveDialogs().SaveFile(host_.ArchiveParent(), save);
  if (archive.isEmpty()) return;
  const fs::path folder = host_.ShownYearFolder();
  YearArchiveResult result;
  RunWithProgress(QStringLiteral("終了時のデータ圧縮"), [&](const ProgressCallback& progress) {
    result = CompressYearFolder(library, folder, PathOf(archive), progress);
    return 0;
  });
  library.Release();
  const QString message = Text(YearArchiveMessage(result));
  if (result.outcome == YearArchiveResult::Outcome::kFailed) {
    ShowError(message);
  } else {
    ShowInfo(message);
  }
}

}  // namespace archive
