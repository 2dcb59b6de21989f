#include "settings/window_fit.h"

#include <algorithm>

namespace settings {

namespace {

// One axis: the length shrunk to the room, the start pushed inside it.
void FitAxis(int& start, int& length, int room_start, int room_length) {
  if (room_length <= 0) return;  // no screen known: nothing to fit into
  length = std::clamp(length, 1, room_length);
  start = std::clamp(start, room_start, room_start + room_length - length);
}

}  // namespace

WindowRect FitOnScreen(const WindowRect& placement, const WindowRect& free_area) {
  WindowRect fitted = placement;
  FitAxis(fitted.x, fitted.width, free_area.x, free_area.width);
  FitAxis(fitted.y, fitted.height, free_area.y, free_area.height);
  return fitted;
}

}  // namespace settings

namespace settings {

FirstStartPlaces ArrangeFirstStart(const WindowRect& free_area, WindowSize main,
                                   int main_least_width, int main_top_band, WindowSize calendar,
                                   int calendar_least_width, WindowSize clock) {
  constexpr int kGap = 8;
  const int right = free_area.x + free_area.width, bottom = free_area.y + free_area.height;
  FirstStartPlaces at;
  at.main = FitOnScreen({free_area.x, free_area.y, main.width, main.height}, free_area);

  // The column beside the main window: as wide as the calendar would like, or as it can be
  // with the main window at its least.
  const int room = free_area.width - std::min(at.main.width, main_least_width) - kGap;
  const int column = std::min(std::max(calendar.width, clock.width), room);
  const bool calendar_beside = column >= std::max(calendar_least_width, clock.width);
  if (calendar_beside || room >= clock.width) {
    const int width = calendar_beside ? column : clock.width;
    at.main.width = std::min(at.main.width, free_area.width - width - kGap);
    const int x = at.main.x + at.main.width + kGap;
    at.clock = FitOnScreen({x, free_area.y, clock.width, clock.height}, free_area);
    if (calendar_beside) {
      at.calendar = FitOnScreen({x, at.clock.y + at.clock.height + kGap,
                                 std::min(calendar.width, column), calendar.height},
                                free_area);
      return at;
    }
    // Only the clock fits (a small screen at a large scale). A calendar over the month would
    // hide a third of its days at every start; hidden, it is one click of 暦 away, and then
    // stands at the screen's bottom right as below.
    at.calendar_shown = false;
  }
  // No room for the calendar beside it (the tool bar alone takes most of the width): at the
  // bottom right, the clock above it where the clock has no room beside either, over the right
  // grid's lower rows but clear of the main window's top band. The calendar comes at its least
  // width there, so that it keeps off the left grid.
  const int lowest_top = std::min(at.main.y + main_top_band, bottom);
  const WindowRect below_band{free_area.x, lowest_top, free_area.width, bottom - lowest_top};
  const int narrow = std::min(calendar.width, calendar_least_width);
  at.calendar =
      FitOnScreen({right - narrow, bottom - calendar.height, narrow, calendar.height}, below_band);
  if (!at.calendar_shown) return at;
  at.clock = FitOnScreen(
      {right - clock.width, at.calendar.y - kGap - clock.height, clock.width, clock.height},
      below_band);
  if (at.clock.y + at.clock.height > at.calendar.y) {  // no room above it: left of it
    at.clock = FitOnScreen(
        {at.calendar.x - kGap - clock.width, bottom - clock.height, clock.width, clock.height},
        below_band);
  }
  return at;
}

}  // namespace settings
