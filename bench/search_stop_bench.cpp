// How soon "中断" settles in the search dialog while results pour in: a year folder of 300 day
// files of 20,000 short lines each (6 million lines, every one a match), the search started,
// 中断 pressed after a second. Prints, for each run, how late the click got its turn on the
// dialog's thread, the time from the click to the last line added to the list, and to
// "中断しました", and the longest the dialog's thread was kept from its events. On the offscreen
// platform.
//
// usage: bench_search_stop [DATA_DIR] [RUNS] [STOP_AFTER_MS]   (DATA_DIR is written when it
// holds no 2026 folder, by default a temporary folder; 3 runs; 中断 after 1000 ms)
#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/cp932.h"
#include "platform/message_box.h"
#include "search/grep_search.h"
#include "search/grep_search_host.h"
#include "settings/ini_gt.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class Host : public search::GrepSearchHost {
 public:
  explicit Host(fs::path data) : data_(std::move(data)) {}
  fs::path SearchDataDir() const override { return data_; }
  int SearchShownYear() const override { return 2026; }
  void ShowResultDay(const search::ResultDate&) override {}
  void ReportedWrite(const std::function<void()>& write) override { write(); }

 private:
  fs::path data_;
};

// 300 day files "KVR2026MMDD.dat" (the first 300 days of 2026) of 20,000 lines each.
void WriteYear(const fs::path& data) {
  const fs::path year = data / "2026";
  fs::create_directories(year);
  const std::string word = cp932::FromUtf8("予定 ");
  int month = 1, day = 1;
  const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int file = 0; file < 300; ++file) {
    char name[40];
    std::snprintf(name, sizeof name, "KVR2026%02d%02d.dat", month, day);
    std::string text;
    for (int line = 0; line < 20000; ++line) text += word + std::to_string(line) + "\r\n";
    std::ofstream(year / name, std::ios::binary) << text;
    if (++day > lengths[month - 1]) day = 1, ++month;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  platform::SetMessageHook([](const platform::MessageRequest&) { return QMessageBox::Ok; });
  std::optional<test_support::TempDir> temp;
  fs::path data;
  if (argc > 1) {
    data = argv[1];
  } else {
    temp.emplace();
    data = temp->path() / "data";
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const int stop_after = argc > 3 ? std::atoi(argv[3]) : 1000;
  if (!fs::exists(data / "2026")) WriteYear(data);

  Host host(data);
  settings::TIniGT settings;
  settings.SetFileName(QString::fromStdString((data.parent_path() / "bench.ini").string()));
  for (int run = 0; run < runs; ++run) {
    auto dialog = std::make_unique<search::TGrepSearch>(host, settings, QString());
    dialog->show();
    dialog->RetComboBox2->setEditText(QStringLiteral("予定"));
    QElapsedTimer clock;
    qint64 due = -1, clicked = -1, last_added = -1, stopped = -1;
    int at_click = 0;
    QObject::connect(dialog->ListBox1->model(), &QAbstractItemModel::rowsInserted, [&] {
      if (clicked >= 0) last_added = clock.nsecsElapsed();
    });
    QObject::connect(dialog.get(), &search::TGrepSearch::SearchFinished, [&] {
      stopped = clock.nsecsElapsed();
      QCoreApplication::exit(0);
    });
    // The longest the dialog's thread went without turning to its events while results came.
    qint64 last_tick = 0, longest_stall = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      longest_stall = std::max(longest_stall, now - last_tick);
      last_tick = now;
    });
    tick.start(1);
    dialog->Button1->click();
    clock.start();
    due = stop_after * 1000LL * 1000;
    QTimer::singleShot(stop_after, Qt::PreciseTimer, dialog.get(), [&] {
      clicked = clock.nsecsElapsed();
      at_click = dialog->ListBox1->count();
      dialog->Button2->click();
    });
    QApplication::exec();
    const double ms = 1e-6;
    std::printf(
        "run %d: click %.1f ms late; from the click: last line added %s ms, stopped %.1f ms "
        "(\"%s\"); %d lines listed at the click, %d at the end; longest stall %.1f ms\n",
        run + 1, (clicked - due) * ms,
        last_added < 0 ? "(none)" : QByteArray::number((last_added - clicked) * ms, 'f', 1).data(),
        (stopped - clicked) * ms, dialog->ProgressLabel->text().toUtf8().data(), at_click,
        dialog->ListBox1->count(), longest_stall * ms);
    std::fflush(stdout);
  }
  platform::SetMessageHook(nullptr);
  return 0;
}
