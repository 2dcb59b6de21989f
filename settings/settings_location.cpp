#include "settings/settings_location.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/file_system.h"
#include "platform/install_layout.h"

namespace fs = std::filesystem;

namespace settings {

fs::path UserConfigDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return fs::path(xdg) / "mirune";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / ".config" / "mirune";
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

fs::path ReadDataFolderSetting(const IniStore& ini) {
  return platform::PathFromCp932(ini.ReadString(keys::CurrentDir));
}

bool WriteDataFolderSetting(IniStore& ini, const fs::path& folder) {
  bool exact = true;
  const std::string stored = platform::Cp932FromPath(folder, &exact);
  if (!exact) return false;
  ini.WriteString(keys::CurrentDir, stored);
  return true;
}

}  // namespace settings
