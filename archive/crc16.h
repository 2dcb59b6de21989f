// The CRC-16 that LZH archives carry for member data and for level-2 headers (the ARC CRC:
// polynomial 0x8005 processed bit-reversed, initial value 0, no final XOR).
#pragma once

#include <cstdint>
#include <string_view>

namespace archive {

class Crc16 {
 public:
  void Update(std::string_view bytes);
  std::uint16_t value() const { return value_; }

  static std::uint16_t Of(std::string_view bytes) {
    Crc16 crc;
    crc.Update(bytes);
    return crc.value();
  }

 private:
  std::uint16_t value_ = 0;
};

}  // namespace archive
