#include "archive/archive_progress_dialog.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <thread>

namespace archive {

TArchiveProgressDialog::TArchiveProgressDialog(QWidget* parent, const QString& title)
    : QProgressDialog(parent) {
  setWindowTitle(title);
  setWindowModality(Qt::WindowModal);
  setCancelButtonText(QStringLiteral("キャンセル"));
  setAutoClose(false);
  setAutoReset(false);
  setMinimumDuration(0);
  setMinimumWidth(360);
  setLabelText(QStringLiteral("準備しています..."));
  unit_ = QStringLiteral("ファイル");
  setRange(0, 0);
  connect(this, &QProgressDialog::canceled, this, [this] {
    cancel_ = true;
    setLabelText(QStringLiteral("中止しています..."));
  });
  hide();
}

void TArchiveProgressDialog::SetStage(const QString& stage) {
  std::lock_guard lock(stage_mutex_);
  stage_ = stage;
}

void TArchiveProgressDialog::Update() {
  const std::size_t done = done_, total = total_;
  if (!cancel_ && total > 0) {
    setRange(0, static_cast<int>(total));
    setValue(static_cast<int>(std::min(done, total)));
    QString counts = QStringLiteral("%1 / %2 %3").arg(done).arg(total).arg(unit_);
    std::lock_guard lock(stage_mutex_);
    setLabelText(stage_.isEmpty() ? counts : stage_ + QStringLiteral("\n") + counts);
  }
  if (on_update) on_update(*this);
}

int TArchiveProgressDialog::Run(const Job& job) {
  done_ = total_ = 0;
  cancel_ = finished_ = false;
  int result = -1;
  QEventLoop loop;
  ProgressCallback progress = [this](std::size_t done, std::size_t total) {
    done_ = done;
    total_ = total;
    return !cancel_;
  };
  std::thread worker([&] {
    result = job(progress);
    finished_ = true;
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });
  QTimer timer;
  QElapsedTimer clock;
  clock.start();
  connect(&timer, &QTimer::timeout, this, [&] {
    // Short jobs end before the dialog would only flash up.
    if (!isVisible() && clock.elapsed() >= 300) show();
    if (isVisible()) Update();
  });
  timer.start(50);
  if (!finished_) loop.exec();
  worker.join();
  timer.stop();
  hide();
  return result;
}

}  // namespace archive
