// Windows colour values (0x00BBGGRR) as Qt colours. A value with the top bit set names system
// colour n (0 scroll bar ... 24 tool-tip background), resolved through the current palette.
#pragma once

#include <QColor>

#include <cstdint>

namespace platform {

QColor ToQColor(std::uint32_t windows_colour);
std::uint32_t ToColourValue(const QColor& colour);

inline constexpr std::uint32_t kSystemColourBit = 0x80000000u;
inline constexpr std::uint32_t kClBtnFace = kSystemColourBit + 15;

}  // namespace platform
