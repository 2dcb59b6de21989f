#include "archive/lzh_header_scan.h"

namespace archive {
namespace {

std::uint32_t Le(std::string_view s, size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

}  // namespace

std::optional<std::uint64_t> PackedSizeAt(std::string_view archive, std::uint64_t offset) {
  if (offset >= archive.size() || archive.size() - offset < 22) return std::nullopt;
  std::string_view h = archive.substr(offset);
  if (h[2] != '-' || h[3] != 'l' || h[6] != '-') return std::nullopt;
  std::uint32_t size_field = Le(h, 7, 4);
  switch (h[20]) {
    case 0:
    case 2:
    case 3:
      return size_field;
    case 1: {
      // The field counts the extended headers too; walk their chain to take them off.
      // The base header ends with the size of the first extended header; each extended
      // header (type, data, next size) ends with the size of the next.
      size_t field = static_cast<unsigned char>(h[0]);
      std::uint64_t extended = 0;
      for (int guard = 0; guard < 4096; ++guard) {
        if (field + 2 > h.size()) return std::nullopt;
        std::uint32_t next = Le(h, field, 2);
        if (next == 0) {
          if (extended > size_field) return std::nullopt;
          return size_field - extended;
        }
        if (next < 3) return std::nullopt;
        extended += next;
        field = field + 2 + next - 2;
      }
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace archive
