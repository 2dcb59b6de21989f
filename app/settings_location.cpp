#include "app/settings_location.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/install_layout.h"

namespace fs = std::filesystem;

namespace app {

fs::path UserConfigDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return fs::path(xdg) / "mirune";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".config" / "mirune";
}

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

fs::path SettingsFilePath(const fs::path& executable_dir, const std::string& file_name) {
  // An installed program keeps its settings per user even in a prefix the user may write to.
  if (!platform::IsInstalledLayout(executable_dir) && ::access(executable_dir.c_str(), W_OK) == 0)
    return executable_dir / file_name;
  fs::path dir = UserConfigDir();
  std::error_code ec;
  fs::create_directories(dir, ec);
  return dir / file_name;
}

DataFolder ResolveDataFolder(const fs::path& current_dir_setting, const fs::path& startup_dir) {
  fs::path fallback = startup_dir / kDefaultDataFolderName;
  std::error_code ec;
  if (current_dir_setting.empty() ||
      (current_dir_setting == fallback && !fs::exists(fallback, ec))) {
    return {fallback, true, !fs::is_directory(fallback, ec)};
  }
  return {current_dir_setting, current_dir_setting == fallback, false};
}

}  // namespace app
