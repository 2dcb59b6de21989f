// The part of a screen a window may take: its available geometry (less panels and docks), in
// the program's pixels, made safe against rounding. At a scale such as 1.5 a window's place
// and size are each rounded to device pixels, so a window that ends on the free area's last
// pixel can end one device pixel beyond the screen (259 + 341 becomes 389 + 512 of 900). At a
// fractional scale the area is therefore one pixel smaller on the right and at the bottom.
#pragma once

#include <QRect>

class QScreen;

namespace platform {

QRect WindowArea(const QScreen& screen);

}  // namespace platform
