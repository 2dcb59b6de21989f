// One month switch of the main window: BuildMonth (title, date column, day texts of a month
// in which every day has a file) and a full repaint of both grids, on the offscreen platform
// (argument: 0 without the rokuyou, 1 with the rokuyou by the accurate method, 2 by the
// series); and one month step of the calendar window: the control's model, the window's title,
// holiday list and scrolling line, and a full repaint of the control.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <filesystem>

#include "app/app_context.h"
#include "app/kvrwin.h"
#include "app/main_window_hosts.h"
#include "calendar/calendar.h"
#include "calendar/calendar_ex.h"
#include "daydata/day_store.h"
#include "platform/cp932.h"
#include "platform/executable_dir.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/string_grid.h"
#include "settings/settings_location.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

void MonthSwitch(benchmark::State& state) {
  test_support::TempDir dir;
  fs::create_directories(dir.path() / "bin");
  fs::create_directories(dir.path() / "start");
  platform::OverrideExecutableDir(dir.path() / "bin");
  fs::current_path(dir.path() / "start");
  platform::SetMessageHook([](const platform::MessageRequest&) { return QMessageBox::Ok; });
  app::AppContext context(fs::current_path());
  app::TKvrwin window(context);
  month::MainSettings settings = window.Settings();
  settings.rokuyou = state.range(0) == 0 ? 0 : 1;
  settings.lunar_method = state.range(0) == 2 ? 1 : 0;
  window.SetSettings(settings);
  window.resize(1000, 760);
  window.show();
  // A day file for every day of the two months the benchmark switches between.
  daydata::DayStore store(context.DataDir(), context.StartupDir());
  for (int month : {5, 6}) {
    for (int day = 1; day <= 31; ++day) {
      std::string text = cp932::FromUtf8("10:00 会議\r\n資料作成 " + std::to_string(day));
      store.SaveDay(store.DayFilePath(2026, month, day), text, std::to_string(day % 5));
    }
  }
  window.SetDate(QDate(2026, 5, 15));
  auto* left = window.findChild<platform::TStringGrid*>(QStringLiteral("StringGrid1"));
  auto* right = window.findChild<platform::TStringGrid*>(QStringLiteral("StringGrid2"));
  QImage canvas(left->size(), QImage::Format_RGB32);
  int step = 1;
  for (auto _ : state) {
    window.StepMonth(step);
    step = -step;
    for (platform::TStringGrid* grid : {left, right}) {
      grid->render(&canvas);
    }
  }
  platform::SetMessageHook(nullptr);
}
BENCHMARK(MonthSwitch)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void CalendarMonthStep(benchmark::State& state) {
  test_support::TempDir dir;
  fs::create_directories(dir.path() / "bin");
  fs::create_directories(dir.path() / "start");
  platform::OverrideExecutableDir(dir.path() / "bin");
  fs::current_path(dir.path() / "start");
  platform::SetMessageHook([](const platform::MessageRequest&) { return QMessageBox::Ok; });
  app::AppContext context(fs::current_path());
  app::TKvrwin window(context);
  calendar::TCalendar calendar_window(window.Hosts().calendar, context.Settings());
  window.SetCalendar(&calendar_window);
  calendar_window.show();
  calendar_window.GoToDate(2026, 8, 31);  // September's equinox entry changes at every step
  calendar::TCalendarEx& control = *calendar_window.CalendarEx1;
  QImage canvas(control.size(), QImage::Format_RGB32);
  bool forward = true;
  for (auto _ : state) {
    if (forward) {
      calendar_window.GoNextMonth();
    } else {
      calendar_window.GoPrevMonth();
    }
    forward = !forward;
    control.render(&canvas);
  }
  platform::SetMessageHook(nullptr);
}
BENCHMARK(CalendarMonthStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  platform::UseJapaneseUiFont();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
