// The program ends when its main window closes, by every path, with the calendar and clock
// windows on the screen; and a second start hands over to the first.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <functional>
#include <future>

#include "app/kvrwin_test_fixture.h"
#include "app/program_windows.h"
#include "app/single_instance.h"
#include "calendar/calendar.h"
#include "clock/time_clock.h"
#include "platform/string_grid.h"

namespace {

QAction* QuitMenuItem(app::TKvrwin& window) {
  for (QAction* menu : window.menuBar()->actions()) {
    if (!menu->menu()) continue;
    for (QAction* item : menu->menu()->actions())
      if (item->text() == QStringLiteral("終了(&X)")) return item;
  }
  return nullptr;
}

struct QuitPath {
  const char* name;
  std::function<void(app::TKvrwin&)> quit;
};

void PrintTo(const QuitPath& path, std::ostream* out) {
  *out << path.name;
}

class ProgramEndTest : public KvrwinTest, public ::testing::WithParamInterface<QuitPath> {};

TEST_P(ProgramEndTest, EventLoopEndsEveryTime) {
  // The order in which Qt used to ask the other windows to close changed from run to run, so
  // one try proves little.
  for (int attempt = 0; attempt < 20; ++attempt) {
    app::ProgramWindows windows(NewContext());
    windows.Show();
    windows.CalendarWindow().show();
    ASSERT_TRUE(windows.CalendarWindow().isVisible());
    ASSERT_TRUE(windows.ClockWindow() && windows.ClockWindow()->isVisible());
    bool ended = false;
    QObject::connect(&windows, &app::ProgramWindows::Ended, [&] { ended = true; });
    QTimer::singleShot(0, &windows, [&] { GetParam().quit(windows.MainWindow()); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    ASSERT_EQ(QApplication::exec(), 0) << GetParam().name << ", attempt " << attempt;
    EXPECT_TRUE(ended);
    EXPECT_FALSE(windows.MainWindow().isVisible());
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryPath, ProgramEndTest,
    ::testing::Values(QuitPath{"tool button",
                               [](app::TKvrwin& w) {
                                 w.findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->click();
                               }},
                      QuitPath{"menu", [](app::TKvrwin& w) { QuitMenuItem(w)->trigger(); }},
                      QuitPath{"close box", [](app::TKvrwin& w) { w.windowHandle()->close(); }},
                      QuitPath{"Esc in the grid",
                               [](app::TKvrwin& w) {
                                 QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                                 QApplication::sendEvent(
                                     w.findChild<QWidget*>(QStringLiteral("StringGrid1")), &esc);
                               }}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST(SingleInstanceTest, SecondStartHandsOverToTheFirst) {
  const QString name = QStringLiteral("mirune-test-%1").arg(QCoreApplication::applicationPid());
  app::SingleInstance first(name);
  // Nobody listens yet: the start goes on by itself.
  EXPECT_FALSE(app::SingleInstance(name).HandOver());
  ASSERT_TRUE(first.Listen());
  int activated = 0;
  QObject::connect(&first, &app::SingleInstance::Activated, [&] { ++activated; });
  for (int start = 1; start <= 2; ++start) {
    // The second start blocks on its socket, so it runs beside this thread's event loop.
    std::future<bool> second =
        std::async(std::launch::async, [&] { return app::SingleInstance(name).HandOver(); });
    while (second.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
      QCoreApplication::processEvents();
    EXPECT_TRUE(second.get());
    QCoreApplication::processEvents();
    EXPECT_EQ(activated, start);
  }
}

TEST(SingleInstanceTest, OneNamePerSettingsFile) {
  test_support::TempDir dir;
  const fs::path ini = dir.path() / "vuruva.ini";
  EXPECT_EQ(app::SingleInstance::ServerName(ini),
            app::SingleInstance::ServerName(dir.path() / "." / "vuruva.ini"));
  EXPECT_NE(app::SingleInstance::ServerName(ini),
            app::SingleInstance::ServerName(dir.path() / "other.ini"));
}

}  // namespace
