#include "platform/system_colours.h"

#include <QApplication>
#include <QPalette>

namespace platform {
namespace {

QColor SystemColour(unsigned index) {
  const QPalette palette = QApplication::palette();
  switch (index) {
    case 0:
      return palette.color(QPalette::Mid);  // scroll bar
    case 1:
      return QColor(0x3A, 0x6E, 0xA5);  // desktop
    case 2:
      return palette.color(QPalette::Highlight);  // active caption
    case 3:
      return palette.color(QPalette::Disabled, QPalette::Highlight);  // inactive caption
    case 4:
      return palette.color(QPalette::Window);  // menu
    case 5:
      return palette.color(QPalette::Base);  // window
    case 6:
      return palette.color(QPalette::Shadow);  // window frame
    case 7:
      return palette.color(QPalette::WindowText);  // menu text
    case 8:
      return palette.color(QPalette::Text);  // window text
    case 9:
      return palette.color(QPalette::HighlightedText);  // caption text
    case 10:
      return palette.color(QPalette::Mid);  // active border
    case 11:
      return palette.color(QPalette::Midlight);  // inactive border
    case 12:
      return palette.color(QPalette::Dark);  // application workspace
    case 13:
      return palette.color(QPalette::Highlight);  // highlight
    case 14:
      return palette.color(QPalette::HighlightedText);  // highlight text
    case 15:
      return palette.color(QPalette::Button);  // button face
    case 16:
      return palette.color(QPalette::Dark);  // button shadow
    case 17:
      return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18:
      return palette.color(QPalette::ButtonText);  // button text
    case 19:
      return palette.color(QPalette::Disabled, QPalette::HighlightedText);
    case 20:
      return palette.color(QPalette::Light);  // button highlight
    case 21:
      return palette.color(QPalette::Shadow);  // 3D dark shadow
    case 22:
      return palette.color(QPalette::Midlight);  // 3D light
    case 23:
      return palette.color(QPalette::ToolTipText);  // tool-tip text
    case 24:
      return palette.color(QPalette::ToolTipBase);  // tool-tip background
    default:
      return palette.color(QPalette::Window);
  }
}

}  // namespace

QColor ToQColor(std::uint32_t value) {
  if (value & kSystemColourBit) return SystemColour(value & 0xFFu);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::uint32_t ToColourValue(const QColor& colour) {
  return static_cast<std::uint32_t>(colour.red()) |
         (static_cast<std::uint32_t>(colour.green()) << 8) |
         (static_cast<std::uint32_t>(colour.blue()) << 16);
}

}  // namespace platform
