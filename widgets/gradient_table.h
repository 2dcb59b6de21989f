// The 256-entry colour table of the gradient panel: from the start colour to the end colour in
// equal real-valued steps, rounded per channel. Colours are 0x00BBGGRR values.
#pragma once

#include <array>
#include <cstdint>

namespace widgets {

using GradientTable = std::array<std::uint32_t, 256>;

// Both colours already resolved (no system-colour codes).
GradientTable MakeGradientTable(std::uint32_t start, std::uint32_t end);

}  // namespace widgets
