#include "platform/window_area.h"

#include <QScreen>

#include <cmath>

namespace platform {

QRect WindowArea(const QScreen& screen) {
  QRect area = screen.availableGeometry();
  const qreal ratio = screen.devicePixelRatio();
  if (ratio != std::floor(ratio)) area.adjust(0, 0, -1, -1);
  return area;
}

}  // namespace platform
