#include "platform/executable_dir.h"

#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace {

fs::path& ExecutableDirOverride() {
  static fs::path dir;
  return dir;
}

}  // namespace

void OverrideExecutableDir(const fs::path& dir) {
  ExecutableDirOverride() = dir;
}

fs::path ExecutableDir() {
  if (!ExecutableDirOverride().empty()) return ExecutableDirOverride();
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path(ec) : exe.parent_path();
}

}  // namespace platform
