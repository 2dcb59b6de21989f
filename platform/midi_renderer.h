// Standard MIDI files rendered to sound with FluidSynth and the General MIDI sound font:
// 16-bit stereo samples in memory, which any audio output can then play. Free of Qt.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RenderedSound {
  bool ok = false;
  std::string error;
  int sample_rate = 44100;
  std::vector<std::int16_t> samples;  // interleaved left, right
  long Milliseconds() const {
    return static_cast<long>(samples.size() / 2 * 1000 / static_cast<size_t>(sample_rate));
  }
};

// The sound font used; empty when none is installed.
std::string GeneralMidiSoundFont();

// Renders at most `max_ms` of `smf`. Setting `cancel` ends the rendering early (not ok).
RenderedSound RenderMidi(std::string_view smf, long max_ms,
                         const std::atomic<bool>* cancel = nullptr);

}  // namespace platform
