// Alarm sound files as they lie on disk: a RIFF wave file, a standard MIDI file, or a RIFF
// MIDI file (.rmi), whose "data" chunk holds a standard MIDI file that synthesisers take
// only once it is unwrapped. Free of Qt.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

enum class SoundKind { kNone, kWave, kMidi };

struct SoundFile {
  SoundKind kind = SoundKind::kNone;
  // The wave file as it is, or the standard MIDI file (unwrapped from an .rmi).
  std::string bytes;
  // The wave's length in milliseconds from its header (0 when unknown, and for MIDI).
  long wave_ms = 0;
};

// What `bytes` hold: a wave file needs its "fmt " chunk, a MIDI file its "MThd" header.
SoundFile ParseSound(std::string_view bytes);
// A missing or unreadable file, or one of another kind, gives kind kNone.
SoundFile ReadSoundFile(const std::filesystem::path& path);

}  // namespace platform
