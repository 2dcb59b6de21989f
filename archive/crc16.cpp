#include "archive/crc16.h"

#include <array>

namespace archive {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned r = i;
    for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ 0xA001u : r >> 1;
    table[i] = static_cast<std::uint16_t>(r);
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kTable = MakeTable();

}  // namespace

void Crc16::Update(std::string_view bytes) {
  unsigned crc = value_;
  for (unsigned char c : bytes) crc = (crc >> 8) ^ kTable[(crc ^ c) & 0xFF];
  value_ = static_cast<std::uint16_t>(crc);
}

}  // namespace archive
