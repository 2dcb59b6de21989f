// Runs the built mirune-cli as a user would, in a given folder, with the settings file v.ini
// of that folder: the CLI tests of every subsystem share it.
#pragma once

#include <filesystem>
#include <string>

namespace test_support {

struct CliResult {
  int status;       // exit status, -1 when the program did not exit normally
  std::string out;  // standard output, with standard error unless it was left out
};

CliResult RunCli(const std::filesystem::path& dir, const std::string& args,
                 const std::string& input = "", bool with_errors = true);

}  // namespace test_support
