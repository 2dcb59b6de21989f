// Loads our archiver library for one command and releases it at the end, as the program does
// for every compress and extract command: load, look up the entry `Unlha`, call it, unload.
// Shared by the command-line tool and the program's windows.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "archive/archive_progress.h"

namespace archive {

class ArchiverLibrary {
 public:
  enum class LoadState { kLoaded, kNotLoadable, kNoEntry };

  static constexpr char kFileName[] = "libmirune_unlha.so";
  static constexpr char kEntryName[] = "Unlha";
  // The optional second entry: the same command with a progress callback that may cancel.
  static constexpr char kProgressEntryName[] = "UnlhaProgress";
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
  // The same through `UnlhaProgress`, which reports members done of total and stops when
  // `progress` returns false. A library without that entry runs the command through `Unlha`,
  // unreported and not cancellable.
  int Run(std::string_view command_line, std::string* output, unsigned long output_size,
          const ProgressCallback& progress);
  bool has_progress() const { return progress_entry_ != nullptr; }

  // The listing of an archive ("L", one line per member: name, original size, packed size,
  // method, tab-separated), asked for again with a larger buffer until it fits.
  int List(std::string_view archive_cp932, std::string* output);

  void Release();

 private:
  using Entry = int (*)(void*, const char*, char*, unsigned long);
  using ProgressEntry = int (*)(void*, const char*, char*, unsigned long, UnlhaProgressFunction,
                                void*);
  std::filesystem::path path_;
  void* handle_ = nullptr;
  Entry entry_ = nullptr;
  ProgressEntry progress_entry_ = nullptr;
  std::string load_error_;
};

}  // namespace archive
