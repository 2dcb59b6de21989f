// Small sound files made by the tests themselves: a wave file of silence and a standard MIDI
// file with one long note, and the same MIDI file wrapped as .rmi.
#pragma once

#include <cstdint>
#include <string>

namespace test_support {

inline std::string Le(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
  return s;
}

inline std::string Be(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = bytes - 1; i >= 0; --i) s += static_cast<char>(v >> (8 * i) & 0xFF);
  return s;
}

// 8 kHz, 8-bit mono.
inline std::string WaveFile(int milliseconds) {
  const std::uint32_t data = static_cast<std::uint32_t>(8 * milliseconds);
  std::string fmt = Le(1, 2) + Le(1, 2) + Le(8000, 4) + Le(8000, 4) + Le(1, 2) + Le(8, 2);
  std::string body = "WAVE" + std::string("fmt ") + Le(16, 4) + fmt + "data" + Le(data, 4) +
                     std::string(data, static_cast<char>(0x80));
  if (data & 1) body += '\0';
  return "RIFF" + Le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

// Format 0, 480 ticks a quarter at 120 beats a minute: one note held for `seconds`.
inline std::string MidiFile(int seconds) {
  const std::uint32_t ticks = static_cast<std::uint32_t>(960 * seconds);
  std::string delta;  // variable-length quantity
  for (int shift = 21; shift > 0; shift -= 7)
    delta += static_cast<char>(0x80 | (ticks >> shift & 0x7F));
  delta += static_cast<char>(ticks & 0x7F);
  std::string track = std::string("\x00\xC0\x00", 3) + std::string("\x00\x90\x3C\x64", 4) + delta +
                      std::string("\x80\x3C\x40", 3) + std::string("\x00\xFF\x2F\x00", 4);
  return "MThd" + Be(6, 4) + Be(0, 2) + Be(1, 2) + Be(480, 2) + "MTrk" +
         Be(static_cast<std::uint32_t>(track.size()), 4) + track;
}

inline std::string RmiFile(const std::string& smf) {
  std::string body = "RMID" + std::string("data") + Le(static_cast<std::uint32_t>(smf.size()), 4) +
                     smf + (smf.size() & 1 ? std::string(1, '\0') : std::string());
  return "RIFF" + Le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

}  // namespace test_support
