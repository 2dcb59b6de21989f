// Where a stored window placement goes on the screen the program finds now. A placement that
// was right on another screen, or at another scale, would otherwise open the window partly or
// wholly off the screen, where the user cannot reach its title to move it back.
#pragma once

namespace settings {

struct WindowRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const WindowRect&) const = default;
};

// The placement moved and, where it is larger than the screen's free area, shrunk, so that it
// lies wholly within `free_area`. A placement that already fits is returned unchanged; one that
// does not is moved as little as it must be, so that it keeps to the side it was on.
WindowRect FitOnScreen(const WindowRect& placement, const WindowRect& free_area);

}  // namespace settings

namespace settings {

struct WindowSize {
  int width = 0, height = 0;
};

// The three windows of a first start, when no placement has been stored yet.
struct FirstStartPlaces {
  WindowRect main, calendar, clock;
  // False where the calendar had no room beside the main window: it starts hidden, and
  // `calendar` is where it stands once the user asks for it.
  bool calendar_shown = true;
};

// Where the main window, the calendar window and the clock window stand at a first start. The
// main window stands at the free area's top left; the clock and, below it, the calendar stand
// in a column beside it, the main window giving up width for them (down to `main_least_width`,
// what its tool bar needs) and the calendar shrinking down to `calendar_least_width`. Where
// only the clock has room beside it, the calendar starts hidden rather than over the month.
// A screen too small even for the clock gets the two at its bottom right, the calendar at its
// least width, over the main window's grid but never over its top `main_top_band` (window
// title, menu, tool bar with the launcher buttons and the month's title).
FirstStartPlaces ArrangeFirstStart(const WindowRect& free_area, WindowSize main,
                                   int main_least_width, int main_top_band, WindowSize calendar,
                                   int calendar_least_width, WindowSize clock);

}  // namespace settings
