#include "test_support/run_cli.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "test_support/temp_dir.h"

namespace test_support {

CliResult RunCli(const std::filesystem::path& dir, const std::string& args,
                 const std::string& input, bool with_errors) {
  const char* cli = std::getenv("MIRUNE_CLI");
  if (!cli) cli = "mirune-cli";
  WriteBytes(dir / ".stdin", input);
  std::string command = "cd '" + dir.string() + "' && '" + cli + "' --ini v.ini " + args +
                        " < .stdin" + (with_errors ? " 2>&1" : " 2>/dev/null");
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
  int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

}  // namespace test_support
