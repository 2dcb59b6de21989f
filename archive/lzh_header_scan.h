// The packed size of a member, read from its raw header. libarchive does not report it, and the
// listing shows it beside the original size. Every field is bounds-checked: any archive bytes
// are acceptable input.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace archive {

// The number of data bytes after the header that starts at `offset` (levels 0 to 3), or
// nothing when no sound header starts there.
std::optional<std::uint64_t> PackedSizeAt(std::string_view archive, std::uint64_t offset);

}  // namespace archive
