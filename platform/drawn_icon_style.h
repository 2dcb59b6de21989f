// DrawnIconStyle: the application's style with the menu bar's extension arrows drawn in code.
// The standard style reads them from PNG files, and reading the first image file makes Qt load
// every image-format plugin (SVG, TIFF, WebP, JPEG, … with their libraries) to ask whether one
// of them reads PNG: about 5 ms of every start, for a button that shows only when the menu bar
// is too narrow for its menus. Everything else is the standard style's.
#pragma once

#include <QProxyStyle>

namespace platform {

class DrawnIconStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace platform
