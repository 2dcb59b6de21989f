// Reading a text as an integer the way the settings file and the day files' colour line expect:
// leading blanks, an optional sign, then decimal digits or hexadecimal digits after "$" or
// "0x"; nothing may follow, and the value must fit 32 bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace platform
