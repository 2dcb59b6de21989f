// Loads the sound library (libmirune_sound.so, beside the executable or in the installed
// private library folder) once per run and makes its devices. The library stays loaded to the
// end of the run, since the devices' code lives in it.
#pragma once

#include <memory>
#include <string>

#include "platform/sound_device.h"

namespace platform {

inline constexpr char kSoundLibraryFileName[] = "libmirune_sound.so";

// A new device; null when the library cannot be loaded (then `error`, if given, says why).
std::unique_ptr<SoundDevice> OpenSoundDevice(std::string* error = nullptr);

}  // namespace platform
