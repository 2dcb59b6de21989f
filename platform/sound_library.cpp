#include "platform/sound_library.h"

#include <dlfcn.h>

#include <mutex>

#include "platform/executable_dir.h"
#include "platform/install_layout.h"

namespace platform {

std::unique_ptr<SoundDevice> OpenSoundDevice(std::string* error) {
  static std::once_flag once;
  static CreateSoundDevice create = nullptr;
  static std::string load_error;
  std::call_once(once, [] {
    const auto path = FindPrivateLibrary(ExecutableDir(), kSoundLibraryFileName);
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* e = ::dlerror();
      load_error = e ? e : "dlopen failed";
      return;
    }
    create = reinterpret_cast<CreateSoundDevice>(::dlsym(handle, kSoundDeviceEntry));
    if (!create) load_error = path.string() + ": no entry " + kSoundDeviceEntry;
  });
  if (!create) {
    if (error) *error = load_error;
    return nullptr;
  }
  return std::unique_ptr<SoundDevice>(create());
}

}  // namespace platform
