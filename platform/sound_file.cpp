#include "platform/sound_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>

namespace platform {
namespace {

std::uint32_t Le32(std::string_view b, size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

std::uint32_t Be32(std::string_view b, size_t at) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) << 24 |
         static_cast<std::uint8_t>(b[at + 1]) << 16 | static_cast<std::uint8_t>(b[at + 2]) << 8 |
         static_cast<std::uint8_t>(b[at + 3]);
}

// A chunk of a RIFF file: its body, found by walking the chunks from offset 12.
std::optional<std::string_view> RiffChunk(std::string_view b, std::string_view id) {
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::uint32_t size = Le32(b, at + 4);
    if (b.compare(at, 4, id) == 0) {
      if (size > b.size() - at - 8) return std::nullopt;  // cut short
      return b.substr(at + 8, size);
    }
    const std::uint64_t next = at + 8ull + size + (size & 1);  // bodies are padded to even
    if (next > b.size()) break;
    at = static_cast<size_t>(next);
  }
  return std::nullopt;
}

// A header chunk and, right after it, at least one whole track chunk.
bool IsMidi(std::string_view b) {
  if (b.size() < 14 || b.compare(0, 4, "MThd") != 0) return false;
  const std::uint32_t header = Be32(b, 4);
  if (header < 6 || header > b.size() - 8) return false;
  const size_t track = 8 + header;
  if (b.size() - track < 8 || b.compare(track, 4, "MTrk") != 0) return false;
  return Be32(b, track + 4) <= b.size() - track - 8;
}

}  // namespace

SoundFile ParseSound(std::string_view b) {
  SoundFile sound;
  if (IsMidi(b)) {
    sound.kind = SoundKind::kMidi;
    sound.bytes.assign(b);
    return sound;
  }
  if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0) return sound;
  if (b.compare(8, 4, "RMID") == 0) {
    std::optional<std::string_view> data = RiffChunk(b, "data");
    if (data && IsMidi(*data)) {
      sound.kind = SoundKind::kMidi;
      sound.bytes.assign(*data);
    }
    return sound;
  }
  if (b.compare(8, 4, "WAVE") != 0) return sound;
  std::optional<std::string_view> format = RiffChunk(b, "fmt ");
  if (!format || format->size() < 16) return sound;
  sound.kind = SoundKind::kWave;
  sound.bytes.assign(b);
  const std::uint32_t bytes_per_second = Le32(*format, 8);
  std::optional<std::string_view> data = RiffChunk(b, "data");
  if (data && bytes_per_second > 0)
    sound.wave_ms = static_cast<long>(data->size() * 1000ull / bytes_per_second);
  return sound;
}

SoundFile ReadSoundFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  // Alarm sounds are small; a file of more than 64 MiB is not taken for one.
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || size > (64 << 20)) return {};
  in.seekg(0);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!in.read(bytes.data(), size)) return {};
  return ParseSound(bytes);
}

}  // namespace platform
