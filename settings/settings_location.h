// Where the settings file and the data folder are, resolved the way the program resolves them
// at start-up. Free of Qt so that the command-line tool finds the same files.
#pragma once

#include <filesystem>
#include <string>

#include "settings/ini_store.h"

namespace settings {

inline constexpr char kSettingsFileName[] = "vuruva.ini";
inline constexpr char kOldSettingsFileName[] = "kvrwin10.ini";
inline constexpr char kDefaultDataFolderName[] = "Myデータ";

// The settings file beside the executable, or, when that folder cannot be written (an
// installed program), the same name in the per-user configuration folder.
std::filesystem::path SettingsFilePath(const std::filesystem::path& executable_dir,
                                       const std::string& file_name = kSettingsFileName);

// The per-user configuration folder of the program ($XDG_CONFIG_HOME/mirune).
std::filesystem::path UserConfigDir();

struct DataFolder {
  std::filesystem::path path;
  bool is_default = false;   // the "Myデータ" folder of the start-up folder
  bool must_create = false;  // it does not exist yet and start-up makes it
};

// The data folder as the settings file holds it ("Current_Dir"), decoded to a path; empty
// when unset.
std::filesystem::path ReadDataFolderSetting(const IniStore& ini);
// The one place that stores the data folder. A folder whose name code page 932 cannot hold
// is refused (false) instead of being stored with "?" for the characters it lacks, which
// would name some other folder. Throws std::system_error when the file cannot be written.
bool WriteDataFolderSetting(IniStore& ini, const std::filesystem::path& folder);

// "Current_Dir" as read from the settings file (already decoded to a path; empty when unset).
DataFolder ResolveDataFolder(const std::filesystem::path& current_dir_setting,
                             const std::filesystem::path& startup_dir);

}  // namespace settings
