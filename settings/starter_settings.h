// The settings a first start writes. The designed defaults of the keys describe a program that
// nobody has set up (no holidays, no rokuyou, black dates, no maxims file); a new user expects a
// Japanese calendar instead. So when there is no settings file yet, a starter set is written
// once, and from then on it is the user's file like any other. An existing file is never
// touched.
#pragma once

#include <filesystem>
#include <string>

#include "settings/ini_store.h"

namespace settings {

// True when the settings file does not exist and no older settings file of the start-up
// folder is waiting to be taken over under its name.
bool IsFirstStart(const std::filesystem::path& ini_path, const std::filesystem::path& startup_dir);

// The starter set as file text: holidays shown and taken as days off, the rokuyou shown,
// Sundays red and Saturdays blue, the birthday suffix "の誕生日", the designed colours, and
// `maxims_file` as the maxims file when it is given and code page 932 can name it.
std::string StarterSettingsText(const std::filesystem::path& maxims_file);

// Writes the starter set when IsFirstStart; returns whether it did. Throws std::system_error
// when the file cannot be written.
bool WriteStarterSettings(IniStore& ini, const std::filesystem::path& startup_dir,
                          const std::filesystem::path& maxims_file);

}  // namespace settings
