// mirune-cli sync: handed over to mirune-sync. Only sync needs Qt Network and the keyring;
// loading them made every other command, the grep included, start a few milliseconds later.
// The same arguments go over, so the user sees one tool.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/sync_usage.h"
#include "platform/executable_dir.h"
#include "platform/install_layout.h"

namespace cli {
namespace {

int Forward(CliContext& context, const Args& args) {
  const std::string program =
      platform::FindPrivateLibrary(platform::ExecutableDir(), kSyncProgram).string();
  std::vector<std::string> words = {program};
  if (context.data_option) words.insert(words.end(), {"--data", context.data_option->string()});
  if (context.ini_option) words.insert(words.end(), {"--ini", context.ini_option->string()});
  words.emplace_back("sync");
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::cout.flush();
  ::execv(program.c_str(), argv.data());
  throw CommandError("同期の部品を起動できません: " + program + ": " + std::strerror(errno));
}

const CommandRegistration registration("sync", kSyncUsage, Forward);

}  // namespace
}  // namespace cli
