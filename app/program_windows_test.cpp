// The program ends when its main window closes, by every path, with the calendar and clock
// windows on the screen; a second start hands over to the first; and at a first and a second
// start every window stands on the screen, clear of the main window's tool bar and title.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <cmath>
#include <functional>
#include <future>

#include "app/kvrwin_test_fixture.h"
#include "app/program_windows.h"
#include "app/single_instance.h"
#include "calendar/calendar.h"
#include "clock/time_clock.h"
#include "platform/string_grid.h"
#include "test_support/temp_dir.h"

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

// Where a window lands in device pixels: Qt rounds the place and the size each on its own.
QRect InDevicePixels(const QRect& r, qreal ratio) {
  return QRect(qRound(r.x() * ratio), qRound(r.y() * ratio), qRound(r.width() * ratio),
               qRound(r.height() * ratio));
}

// The screen and the scale come from the environment the process was started with (see
// EveryWindowOnTheScreenBesideTheMainWindow); the screen's size in device pixels too.
TEST_F(KvrwinTest, PlacementOnThisProcessesScreen) {
  const QByteArray device = qgetenv("MIRUNE_PLACEMENT_SCREEN");
  if (device.isEmpty()) GTEST_SKIP() << "run by EveryWindowOnTheScreenBesideTheMainWindow";
  const QList<QByteArray> size = device.split('x');
  ASSERT_EQ(size.size(), 2);
  const QRect screen_pixels(0, 0, size[0].toInt(), size[1].toInt());
  for (const char* start : {"first start", "second start"}) {
    SCOPED_TRACE(start);
    app::ProgramWindows windows(NewContext());
    windows.Show();
    QApplication::processEvents();
    app::TKvrwin& main = windows.MainWindow();
    const qreal ratio = main.devicePixelRatioF();
    const QRect main_pixels = InDevicePixels(main.frameGeometry(), ratio);
    const struct {
      const char* name;
      QWidget* window;
    } shown[] = {
        {"main", &main}, {"calendar", &windows.CalendarWindow()}, {"clock", windows.ClockWindow()}};
    for (const auto& w : shown) {
      ASSERT_TRUE(w.window) << w.name;
      if (!w.window->isVisible()) {
        // Only the calendar may start hidden, toggled off, so that one click of 暦 shows it.
        EXPECT_TRUE(w.window == &windows.CalendarWindow() && windows.CalendarWindow().Minimised())
            << w.name;
        continue;
      }
      const QRect pixels = InDevicePixels(w.window->frameGeometry(), ratio);
      EXPECT_TRUE(screen_pixels.contains(pixels))
          << w.name << " at " << pixels.x() << "," << pixels.y() << " " << pixels.width() << "x"
          << pixels.height();
      if (w.window != &main) {
        EXPECT_FALSE(pixels.intersects(main_pixels))
            << w.name << " over the main window, whose right edge is " << main_pixels.right();
      }
    }
    // The clock dragged flush into the bottom right corner, as far as Qt lets it go: the
    // second start must bring it back there, not a device pixel beyond.
    if (QWidget* clock = windows.ClockWindow()) {
      const QRect free = clock->screen()->availableGeometry();
      clock->move(free.right() + 1 - clock->frameGeometry().width(),
                  free.bottom() + 1 - clock->frameGeometry().height());
    }
  }  // the windows write their placements as they go: the second start reads them
}

// The offscreen platform reads its screen, and Qt its scale, once at start: each screen is a
// process of its own, this test program run again for the test above.
TEST(FirstStartPlacementTest, EveryWindowOnTheScreenBesideTheMainWindow) {
  if (qEnvironmentVariableIsSet("MIRUNE_PLACEMENT_SCREEN")) GTEST_SKIP() << "the child itself";
  const struct {
    int width, height;
    const char* scale;
  } screens[] = {{1280, 900, "1.5"}, {1920, 1080, "1.5"}, {1280, 800, "1.5"},
                 {1280, 800, "1"},   {1920, 1080, "1"},   {1366, 768, "1.25"}};
  for (const auto& screen : screens) {
    const std::string what = std::to_string(screen.width) + "x" + std::to_string(screen.height) +
                             " at scale " + screen.scale;
    SCOPED_TRACE(what);
    test_support::TempDir dir;
    const QString config = QString::fromStdString((dir.path() / "screen.json").string());
    test_support::WriteBytes(dir.path() / "screen.json",
                             "{\"screens\": [{\"name\": \"S\", \"x\": 0, \"y\": 0, \"width\": " +
                                 std::to_string(screen.width) + ", \"height\": " +
                                 std::to_string(screen.height) + ", \"logicalDpi\": 96}]}");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(screen.scale));
    env.insert(QStringLiteral("MIRUNE_PLACEMENT_SCREEN"),
               QStringLiteral("%1x%2").arg(screen.width).arg(screen.height));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=KvrwinTest.PlacementOnThisProcessesScreen")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
  }
}

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
