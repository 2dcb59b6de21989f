// What every mirune-cli command is given: the global options, the resolved settings file and
// data folder, and the streams to write to. Commands report bad arguments with UsageError and
// other failures with CommandError; both end the program with status 2 and a one-line message.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CliContext {
  std::optional<std::filesystem::path> data_option;  // --data DIR
  std::optional<std::filesystem::path> ini_option;   // --ini FILE
  std::ostream* out = nullptr;
  std::ostream* err = nullptr;

  // The settings file: --ini, else the program's own file beside the executables.
  std::filesystem::path IniPath() const;
  // The data folder: --data, else "Current_Dir" resolved as the program does (nothing is made).
  std::filesystem::path DataDir() const;
  // The data folder of a command that reads or writes day files. One that does not exist is an
  // error (CommandError "データフォルダがありません: …"): a mistyped --data must neither be made
  // nor read as an empty schedule. Only the start-up folder's own "Myデータ", which the program
  // makes at its first start, is made here too, for a write.
  std::filesystem::path ExistingDataDir(bool for_write = false) const;
};

using Args = std::vector<std::string>;
using CommandFunction = int (*)(CliContext& context, const Args& args);

// Each command file registers itself with one static CommandRegistration.
struct CommandRegistration {
  CommandRegistration(const char* name, const char* usage, CommandFunction run);
};

struct Command {
  const char* name;
  const char* usage;
  CommandFunction run;
};
const std::vector<Command>& Commands();

// Parses YYYY-MM-DD; throws UsageError for anything else or an impossible date.
struct Date {
  int year, month, day;
};
Date ParseDate(const std::string& text);
std::string FormatDate(int year, int month, int day);

}  // namespace cli
