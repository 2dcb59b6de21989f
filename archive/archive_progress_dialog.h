// TArchiveProgressDialog: runs one archiver call on a worker thread while a progress dialog
// shows how many files are done of how many, so that the window stays responsive; Cancel asks
// the call to stop before its next member.
#pragma once

#include <QProgressDialog>

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>

#include "archive/archive_progress.h"

namespace archive {

class TArchiveProgressDialog : public QProgressDialog {
  Q_OBJECT

 public:
  using Job = std::function<int(const ProgressCallback& progress)>;

  TArchiveProgressDialog(QWidget* parent, const QString& title);

  // Runs `job` to its end and returns its result. The dialog appears only when the job takes
  // longer than a moment.
  int Run(const Job& job);

  // What the counts count ("ファイル" unless set), and a text before them that the job may set
  // from its thread to say which stage it is in.
  void SetUnit(const QString& unit) { unit_ = unit; }
  void SetStage(const QString& stage);

  // Called on every update, with the counts shown (for pictures of the dialog).
  std::function<void(TArchiveProgressDialog&)> on_update;

 private:
  void Update();

  std::atomic<std::size_t> done_{0}, total_{0};
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  QString unit_;
  std::mutex stage_mutex_;
  QString stage_;
};

}  // namespace archive
