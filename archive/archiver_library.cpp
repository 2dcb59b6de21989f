#include "archive/archiver_library.h"

#include <dlfcn.h>

#include <vector>

#include "app/settings_location.h"
#include "platform/install_layout.h"

namespace archive {

std::filesystem::path ArchiverLibrary::DefaultPath() {
  return platform::FindArchiverLibrary(app::ExecutableDir(), kFileName);
}

ArchiverLibrary::ArchiverLibrary(std::filesystem::path path) : path_(std::move(path)) {}

ArchiverLibrary::LoadState ArchiverLibrary::Load() {
  Release();
  load_error_.clear();
  // RTLD_LOCAL keeps the library's own copies of shared helpers apart from ours.
  handle_ = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* e = ::dlerror();
    load_error_ = e ? e : "dlopen failed";
    return LoadState::kNotLoadable;
  }
  entry_ = reinterpret_cast<Entry>(::dlsym(handle_, kEntryName));
  if (!entry_) {
    Release();
    return LoadState::kNoEntry;
  }
  return LoadState::kLoaded;
}

int ArchiverLibrary::Run(std::string_view command_line, std::string* output,
                         unsigned long output_size) {
  if (!entry_) return -1;
  std::string command(command_line);
  std::vector<char> buffer(output_size > 0 ? output_size : 1, '\0');
  int result = entry_(nullptr, command.c_str(), buffer.data(), output_size);
  if (output) output->assign(buffer.data());
  return result;
}

void ArchiverLibrary::Release() {
  entry_ = nullptr;
  if (handle_) ::dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace archive
