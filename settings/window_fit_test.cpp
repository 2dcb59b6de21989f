#include "settings/window_fit.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using settings::ArrangeFirstStart;
using settings::FitOnScreen;
using settings::WindowRect;

bool Overlap(const WindowRect& a, const WindowRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Within(const WindowRect& inner, const WindowRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

TEST(WindowFitTest, StoredPlacementsAgainstScreens) {
  const WindowRect hd{0, 0, 1920, 1040};         // 1920×1080 less a 40 px panel
  const WindowRect small{0, 0, 1280, 800};       // 1280×800 at 96 dpi
  const WindowRect scaled{0, 0, 853, 600};       // 1280×900 at scale 1.5
  const WindowRect offset{1280, 24, 1024, 744};  // a second screen right of the first
  struct Case {
    const char* what;
    WindowRect stored, screen, expected;
  } cases[] = {
      {"fits: unchanged", {100, 50, 1000, 700}, hd, {100, 50, 1000, 700}},
      {"fits exactly", {0, 0, 1280, 800}, small, {0, 0, 1280, 800}},
      {"off the right: moved left", {1080, 40, 560, 341}, small, {720, 40, 560, 341}},
      {"off the bottom: moved up", {10, 600, 400, 300}, small, {10, 500, 400, 300}},
      {"left of the screen: moved right", {-300, 10, 400, 300}, small, {0, 10, 400, 300}},
      {"above the screen: moved down", {10, -50, 400, 300}, small, {10, 0, 400, 300}},
      {"wider and taller: shrunk to the screen", {0, 0, 1500, 1140}, scaled, {0, 0, 853, 600}},
      {"stored at scale 1: shrunk and moved", {1080, 100, 840, 520}, scaled, {13, 80, 840, 520}},
      {"too tall only: height shrunk", {200, 300, 500, 900}, small, {200, 0, 500, 800}},
      {"on a screen now gone: onto this one", {2500, 900, 600, 400}, hd, {1320, 640, 600, 400}},
      {"second screen's offset kept", {1300, 0, 500, 300}, offset, {1300, 24, 500, 300}},
      {"beyond the second screen", {2400, 700, 500, 300}, offset, {1804, 468, 500, 300}},
      {"no screen known: unchanged", {5000, 5000, 300, 200}, {}, {5000, 5000, 300, 200}},
  };
  for (const Case& c : cases) {
    const WindowRect got = FitOnScreen(c.stored, c.screen);
    EXPECT_EQ(got, c.expected) << c.what << ": got " << got.x << "," << got.y << " " << got.width
                               << "x" << got.height;
    // Whatever the case, a window placed on a known screen lies wholly within it.
    if (c.screen.width > 0) {
      EXPECT_GE(got.x, c.screen.x) << c.what;
      EXPECT_GE(got.y, c.screen.y) << c.what;
      EXPECT_LE(got.x + got.width, c.screen.x + c.screen.width) << c.what;
      EXPECT_LE(got.y + got.height, c.screen.y + c.screen.height) << c.what;
    }
  }
}

TEST(WindowFitTest, FirstStartPutsCalendarAndClockBesideTheMainWindow) {
  // The program's own sizes: a main window of 1000×760 whose tool bar needs 656 px and whose
  // menu, tool bar (of two rows when narrow) and month title take 125 px, a calendar of 560×341
  // (420 at least), a clock of 183×45 (183×250 with its alarms open).
  constexpr int kLeast = 656, kBand = 125;
  constexpr settings::WindowSize kClock{183, 45}, kOpenClock{183, 250};
  struct Case {
    const char* what;
    WindowRect screen;
    settings::WindowSize clock;
    WindowRect main, calendar, clock_at;
    bool calendar_shown;
  } cases[] = {
      {"1920×1040: all at their sizes",
       {0, 0, 1920, 1040},
       kClock,
       {0, 0, 1000, 760},
       {1008, 53, 560, 341},
       {1008, 0, 183, 45},
       true},
      {"1280×800: the main window narrower",
       {0, 0, 1280, 800},
       kClock,
       {0, 0, 712, 760},
       {720, 53, 560, 341},
       {720, 0, 183, 45},
       true},
      {"1920×1080 at scale 1.5 (1280×720, a pixel kept for rounding)",
       {0, 0, 1279, 719},
       kClock,
       {0, 0, 711, 719},
       {719, 53, 560, 341},
       {719, 0, 183, 45},
       true},
      {"1280×900 at scale 1.5 (853×600, a pixel kept): only the clock beside, calendar hidden",
       {0, 0, 852, 599},
       kClock,
       {0, 0, 661, 599},
       {432, 258, 420, 341},
       {669, 0, 183, 45},
       false},
      {"1280×800 at scale 1.5 (853×533, a pixel kept)",
       {0, 0, 852, 532},
       kClock,
       {0, 0, 661, 532},
       {432, 191, 420, 341},
       {669, 0, 183, 45},
       false},
      {"853×450: the calendar's later place shortened to the room under the title",
       {0, 0, 853, 450},
       kClock,
       {0, 0, 662, 450},
       {433, 125, 420, 325},
       {670, 0, 183, 45},
       false},
      {"840 wide, no room even for the clock: both over the right grid, under the title",
       {0, 0, 840, 599},
       kClock,
       {0, 0, 840, 599},
       {420, 258, 420, 341},
       {657, 205, 183, 45},
       true},
      {"the same with the clock's alarms open: no room above the calendar, left of it",
       {0, 0, 840, 599},
       kOpenClock,
       {0, 0, 840, 599},
       {420, 258, 420, 341},
       {229, 349, 183, 250},
       true},
      {"a panel on the left",
       {64, 0, 1856, 1080},
       kClock,
       {64, 0, 1000, 760},
       {1072, 53, 560, 341},
       {1072, 0, 183, 45},
       true},
  };
  for (const Case& c : cases) {
    const auto at =
        ArrangeFirstStart(c.screen, {1000, 760}, kLeast, kBand, {560, 341}, 420, c.clock);
    EXPECT_EQ(at.main, c.main) << c.what;
    EXPECT_EQ(at.calendar, c.calendar) << c.what;
    EXPECT_EQ(at.clock, c.clock_at) << c.what;
    EXPECT_EQ(at.calendar_shown, c.calendar_shown) << c.what;
    const WindowRect band{at.main.x, at.main.y, at.main.width, kBand};
    for (const WindowRect& w : {at.main, at.calendar, at.clock})
      EXPECT_TRUE(Within(w, c.screen)) << c.what;
    EXPECT_FALSE(Overlap(at.calendar, band)) << c.what;
    EXPECT_FALSE(Overlap(at.clock, band)) << c.what;
    EXPECT_FALSE(Overlap(at.calendar, at.clock)) << c.what;
    EXPECT_GE(at.main.width, std::min(kLeast, c.screen.width)) << c.what;
    // A clock beside the main window leaves the month wholly in view.
    if (!Overlap(at.clock, at.main) && at.calendar_shown) {
      EXPECT_FALSE(Overlap(at.calendar, at.main)) << c.what;
    }
    // Over the main window, the calendar keeps to its right half (the left grid's days).
    if (Overlap(at.calendar, at.main)) {
      EXPECT_GE(at.calendar.x, at.main.x + at.main.width / 2) << c.what;
    }
  }
}

}  // namespace
