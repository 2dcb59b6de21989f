// How long the day entry dialog takes to open on a large day: a day file of SIZE_MB megabytes
// (short Japanese lines, CR LF) in a year folder, the dialog shown for it and the first paint
// done. Prints each run's milliseconds from show() until the dialog has painted with the whole
// text in its editor, and the file's size and line count. On the offscreen platform.
//
// usage: bench_entry_dialog [SIZE_MB] [RUNS]   (10 MB, 3 runs)
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "daydata/day_entry_host.h"
#include "daydata/day_store.h"
#include "daydata/iptdlg.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "settings/ini_gt.h"
#include "test_support/fake_calendar_port.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// The dialog's view of a main window that shows 10 December 2026 and follows nothing.
class Host : public daydata::DayEntryHost {
 public:
  Host(fs::path data, calendar::CalendarPort& calendar)
      : data_(std::move(data)), start_(data_.parent_path()), calendar_(calendar) {}
  QString ShownYear() const override { return QStringLiteral("2026"); }
  QString ShownMonth() const override { return QStringLiteral("12"); }
  QString ShownDay() const override { return QStringLiteral("10"); }
  void SetShownYear(const QString&) override {}
  bool FromCalendar() const override { return false; }
  void SetFromCalendar(bool) override {}
  calendar::CalendarPort& Calendar() override { return calendar_; }
  QDate ShownDate() const override { return QDate(2026, 12, 10); }
  bool HalfMonth() const override { return false; }
  const fs::path& DataDir() const override { return data_; }
  const fs::path& StartupDir() const override { return start_; }
  void StepMonth(int) override {}
  void SelectDay(int) override {}
  void FocusGrid(int) override {}
  void ShowToday(bool) override {}
  void ReloadMonth(bool) override {}
  void DataDirRecreated(const fs::path&) override {}
  QFont InputTitleFont() const override { return QFont(); }
  int InputKeyClose() const override { return 0; }

 private:
  fs::path data_, start_;
  calendar::CalendarPort& calendar_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  platform::SetMessageHook([](const platform::MessageRequest&) { return QMessageBox::Ok; });
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 10;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;

  test_support::TempDir temp;
  const fs::path data = temp.path() / "data";
  fs::create_directories(data / "2026");
  std::string day;
  int lines = 0;
  while (day.size() < megabytes * 1e6) {
    day += cp932::FromUtf8("12月10日 会議室で打合せ、資料を確認する ") + std::to_string(lines++) +
           "\r\n";
  }
  std::ofstream(data / "2026" / daydata::DayFileName(2026, 12, 10), std::ios::binary) << day;

  test_support::FakeCalendarPort calendar;
  Host host(data, calendar);
  settings::TIniGT settings;
  settings.SetFileName(QString::fromStdString((temp.path() / "bench.ini").string()));
  for (int run = 0; run < runs; ++run) {
    daydata::TIptdlg dialog(host, settings, QString());
    QElapsedTimer clock;
    clock.start();
    dialog.show();  // loads the day as it is shown
    QApplication::processEvents();
    const qint64 shown = clock.elapsed();
    const bool whole = dialog.Memo1->document()->blockCount() >= lines;
    std::printf("run %d: %lld ms (%.1f MB, %d lines%s)\n", run + 1, static_cast<long long>(shown),
                static_cast<double>(day.size()) / 1e6, lines, whole ? "" : ", TEXT NOT WHOLE");
  }
  return 0;
}
