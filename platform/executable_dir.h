// The folder of the running executable, beside which the settings file and the archiver
// library lie. Tests point it at a folder of their own.
#pragma once

#include <filesystem>

namespace platform {

// The folder of the running executable.
std::filesystem::path ExecutableDir();
// Tests point the executable's folder somewhere of their own, so that they never touch the
// settings file beside the real program. An empty path ends the override.
void OverrideExecutableDir(const std::filesystem::path& dir);

}  // namespace platform
