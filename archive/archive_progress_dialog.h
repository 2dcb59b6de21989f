// TArchiveProgressDialog: runs one archiver call on a worker thread while a progress dialog
// shows how many files are done of how many, so that the window stays responsive; Cancel asks
// the call to stop before its next member.
#pragma once

#include <QProgressDialog>

#include <atomic>
#include <cstddef>
#include <functional>

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

  // Called on every update, with the counts shown (for pictures of the dialog).
  std::function<void(TArchiveProgressDialog&)> on_update;

 private:
  void Update();

  std::atomic<std::size_t> done_{0}, total_{0};
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
};

}  // namespace archive
