#include "platform/drawn_icon_style.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace platform {
namespace {

// Two chevrons pointing right (a horizontal bar's overflow) or down (a vertical one), in the
// palette's text colour, at 16 and 32 pixels.
QIcon Chevrons(bool down, bool right_to_left, const QColor& colour) {
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, size / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.translate(size / 2.0, size / 2.0);
    p.scale(size / 16.0, size / 16.0);
    if (down) p.rotate(90);
    if (right_to_left && !down) p.scale(-1, 1);
    for (double x : {-4.0, 1.0}) p.drawPolyline(QPolygonF({{x, -4}, {x + 3.5, 0}, {x, 4}}));
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon DrawnIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                   const QWidget* widget) const {
  if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
    const QPalette palette = widget ? widget->palette() : standardPalette();
    return Chevrons(icon == SP_ToolBarVerticalExtensionButton,
                    widget && widget->layoutDirection() == Qt::RightToLeft,
                    palette.color(QPalette::ButtonText));
  }
  return QProxyStyle::standardIcon(icon, option, widget);
}

}  // namespace platform
