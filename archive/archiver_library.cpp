#include "archive/archiver_library.h"

#include <dlfcn.h>

#include <vector>

#include "archive/unlha_result.h"
#include "platform/executable_dir.h"
#include "platform/install_layout.h"

namespace archive {

std::filesystem::path ArchiverLibrary::DefaultPath() {
  return platform::FindPrivateLibrary(platform::ExecutableDir(), kFileName);
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
  progress_entry_ = reinterpret_cast<ProgressEntry>(::dlsym(handle_, kProgressEntryName));
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

namespace {

int CallProgress(void* user, unsigned long done, unsigned long total) {
  return (*static_cast<const ProgressCallback*>(user))(done, total) ? 0 : 1;
}

}  // namespace

int ArchiverLibrary::Run(std::string_view command_line, std::string* output,
                         unsigned long output_size, const ProgressCallback& progress) {
  if (!entry_) return -1;
  if (!progress || !progress_entry_) return Run(command_line, output, output_size);
  std::string command(command_line);
  std::vector<char> buffer(output_size > 0 ? output_size : 1, '\0');
  int result = progress_entry_(nullptr, command.c_str(), buffer.data(), output_size, CallProgress,
                               const_cast<ProgressCallback*>(&progress));
  if (output) output->assign(buffer.data());
  return result;
}

int ArchiverLibrary::List(std::string_view archive_cp932, std::string* output) {
  std::string command = "L " + std::string(archive_cp932);
  unsigned long size = 1 << 16;
  int result = Run(command, output, size);
  // Listing changes nothing, so it may be asked for again.
  while (result == kUnlhaBufferTooSmall && size < (1ul << 30)) {
    size *= 8;
    result = Run(command, output, size);
  }
  return result;
}

void ArchiverLibrary::Release() {
  entry_ = nullptr;
  progress_entry_ = nullptr;
  if (handle_) ::dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace archive
