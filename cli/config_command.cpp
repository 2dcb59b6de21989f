// mirune-cli config: one string setting read or written with the settings file's bracket rule.
#include <iostream>

#include "cli/cli_context.h"
#include "cli/cli_text.h"
#include "platform/cp932.h"
#include "settings/ini_store.h"

namespace cli {
namespace {

int RunConfig(CliContext& context, const Args& args) {
  settings::IniStore ini(context.IniPath());
  if (args.size() == 3 && args[0] == "get") {
    std::string value =
        ini.ReadString(ToCp932(args[1], "セクション名"), ToCp932(args[2], "キー名"), "");
    *context.out << cp932::ToUtf8(value) << "\n";
    return 0;
  }
  if (args.size() == 4 && args[0] == "set") {
    try {
      ini.WriteString(ToCp932(args[1], "セクション名"), ToCp932(args[2], "キー名"),
                      ToCp932(args[3], "値"));
    } catch (const std::system_error& e) {
      throw CommandError("設定ファイルに書き込めません: " + std::string(e.what()));
    }
    return 0;
  }
  throw UsageError("使い方: config get SECTION KEY | config set SECTION KEY VALUE");
}

CommandRegistration registration("config", "config get SECTION KEY | config set SECTION KEY VALUE",
                                 RunConfig);

}  // namespace
}  // namespace cli
