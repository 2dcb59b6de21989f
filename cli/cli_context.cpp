#include "cli/cli_context.h"

#include <cstdio>

#include "calendar/calendar_math.h"
#include "platform/cp932.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "settings/ini_store.h"
#include "settings/settings_location.h"

namespace cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

}  // namespace

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFunction run) {
  Registry().push_back({name, usage, run});
}

const std::vector<Command>& Commands() {
  return Registry();
}

std::filesystem::path CliContext::IniPath() const {
  if (ini_option) return *ini_option;
  return settings::SettingsFilePath(platform::ExecutableDir());
}

std::filesystem::path CliContext::DataDir() const {
  if (data_option) return std::filesystem::absolute(*data_option);
  const settings::IniStore ini(IniPath());
  return settings::ResolveDataFolder(settings::ReadDataFolderSetting(ini), platform::CurrentDir())
      .path;
}

std::filesystem::path CliContext::ExistingDataDir(bool for_write) const {
  std::error_code ec;
  if (data_option) {
    const std::filesystem::path dir = std::filesystem::absolute(*data_option);
    if (!std::filesystem::is_directory(dir, ec))
      throw CommandError("データフォルダがありません: " + dir.string());
    return dir;
  }
  const settings::IniStore ini(IniPath());
  const settings::DataFolder folder =
      settings::ResolveDataFolder(settings::ReadDataFolderSetting(ini), platform::CurrentDir());
  if (for_write && folder.is_default) std::filesystem::create_directory(folder.path, ec);
  if (!std::filesystem::is_directory(folder.path, ec))
    throw CommandError("データフォルダがありません: " + folder.path.string());
  return folder.path;
}

Date ParseDate(const std::string& text) {
  int y, m, d;
  char tail;
  if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3 ||
      text[4] != '-' || text[7] != '-') {
    throw UsageError("日付は YYYY-MM-DD で指定してください: " + text);
  }
  if (m < 1 || m > 12 || d < 1 || d > calendar::GregorianMonthLength(y, m)) {
    throw UsageError("存在しない日付です: " + text);
  }
  return {y, m, d};
}

std::string FormatDate(int year, int month, int day) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
  return buffer;
}

}  // namespace cli
