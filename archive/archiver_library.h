// Loads our archiver library for one command and releases it at the end, as the program does
// for every compress and extract command: load, look up the entry `Unlha`, call it, unload.
// Shared by the command-line tool and the program's windows.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace archive {

class ArchiverLibrary {
 public:
  enum class LoadState { kLoaded, kNotLoadable, kNoEntry };

  static constexpr char kFileName[] = "libmirune_unlha.so";
  static constexpr char kEntryName[] = "Unlha";
  // The buffer size the program passes; the tool passes larger ones for listings.
  static constexpr unsigned long kDefaultOutputSize = 10;

  // The library beside the running executable.
  static std::filesystem::path DefaultPath();

  explicit ArchiverLibrary(std::filesystem::path path = DefaultPath());
  ~ArchiverLibrary() { Release(); }
  ArchiverLibrary(const ArchiverLibrary&) = delete;
  ArchiverLibrary& operator=(const ArchiverLibrary&) = delete;

  // kNoEntry leaves the library released again, as a caller would after a silent stop.
  LoadState Load();
  bool loaded() const { return entry_ != nullptr; }
  // Why the last Load failed (the loader's own message), for diagnostics.
  const std::string& load_error() const { return load_error_; }

  // Calls `Unlha` with a null window handle. `output` receives at most output_size - 1 bytes of
  // the library's text. Returns the library's result, or -1 when it is not loaded.
  int Run(std::string_view command_line, std::string* output = nullptr,
          unsigned long output_size = kDefaultOutputSize);

  void Release();

 private:
  using Entry = int (*)(void*, const char*, char*, unsigned long);
  std::filesystem::path path_;
  void* handle_ = nullptr;
  Entry entry_ = nullptr;
  std::string load_error_;
};

}  // namespace archive
