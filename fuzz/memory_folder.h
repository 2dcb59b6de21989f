// The folder in which a target that writes files keeps them: one per process, made when the
// target first needs it and removed at exit. Every run replaces files there, and on a disk
// each replacement waits for fsync, which made a run a hundred times slower than in memory;
// so it is under $TMPDIR when that is set (the scripts point it at memory), else in /dev/shm
// when the machine has it, else in the system's temporary folder.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fuzz {

class MemoryFolder {
 public:
  explicit MemoryFolder(const std::string& name) {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    if (std::getenv("TMPDIR") == nullptr && access("/dev/shm", W_OK) == 0) base = "/dev/shm";
    path_ = base / (name + "_" + std::to_string(getpid()));
    std::filesystem::create_directories(path_);
  }
  ~MemoryFolder() {
    std::error_code ignore;
    std::filesystem::remove_all(path_, ignore);
  }
  MemoryFolder(const MemoryFolder&) = delete;
  MemoryFolder& operator=(const MemoryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace fuzz
