// SoundDevice: the audio side of the alarm sounds, the wave playback through Qt Multimedia and
// the MIDI rendering through FluidSynth. It lives in its own library, libmirune_sound.so, which
// the program loads when a sound is first asked for (see sound_library.h): those two bring some
// fifty shared libraries, whose loading would otherwise delay every start of the program.
//
// The interface is made of virtual functions only, so that the library needs nothing from the
// program that loads it.
#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <string_view>

#include "platform/midi_renderer.h"

namespace platform {

class SoundDevice {
 public:
  // Called on the GUI thread once a started sound has ended: true when it played to its end,
  // false when the output failed.
  using Ended = std::function<void(bool played)>;

  virtual ~SoundDevice() = default;
  // Whether the machine has an audio output at all.
  virtual bool HasOutput() = 0;
  // Starts a wave file on the default output.
  virtual void PlayWave(const QString& path, Ended ended) = 0;
  // Starts rendered samples; false when the default output cannot take them.
  virtual bool PlaySamples(const RenderedSound& sound, Ended ended) = 0;
  // Stops what plays; its Ended is not called.
  virtual void Stop() = 0;
  // Renders at most `max_ms` of a standard MIDI file. Safe to call on any thread.
  virtual RenderedSound RenderMidi(std::string_view smf, long max_ms,
                                   const std::atomic<bool>* cancel) = 0;
};

// The library's one export: a new device, owned by the caller.
inline constexpr char kSoundDeviceEntry[] = "MiruneCreateSoundDevice";
using CreateSoundDevice = SoundDevice* (*)();

}  // namespace platform
