// mirune-cli lha u|x|l: the archive commands, run through the archiver library's `Unlha` entry
// exactly as the program calls it, so that the tool exercises the same path.
#include <iostream>

#include "archive/archiver_library.h"
#include "archive/unlha_result.h"
#include "cli/cli_context.h"
#include "cli/cli_text.h"

namespace cli {
namespace {

constexpr char kUsage[] = "lha u ARCHIVE FILE... | lha x ARCHIVE | lha l ARCHIVE";

// Always quoted, so that the library does not have to guess where the name ends (a blank, a
// tab or a ".lzh" inside it, a name starting with "-").
std::string ArchiveArgument(const std::string& utf8) {
  if (utf8.find('"') != std::string::npos) throw UsageError("書庫の名前に \" は使えません");
  return "\"" + ToCp932(utf8, "書庫の名前") + "\"";
}

int RunLha(CliContext& context, const Args& args) {
  if (args.size() < 2) throw UsageError(std::string("使い方: ") + kUsage);
  const std::string& verb = args[0];
  std::string command;
  if (verb == "u") {
    // The program's form: the archive, then each file followed by a line break.
    command = "U " + ArchiveArgument(args[1]) + " ";
    for (size_t i = 2; i < args.size(); ++i) command += ToCp932(args[i], "ファイル名") + "\r\n";
  } else if ((verb == "x" || verb == "l") && args.size() == 2) {
    command = (verb == "x" ? "X -c1 " : "L ") + ArchiveArgument(args[1]);
  } else {
    throw UsageError(std::string("使い方: ") + kUsage);
  }

  archive::ArchiverLibrary library;
  if (library.Load() != archive::ArchiverLibrary::LoadState::kLoaded) {
    throw CommandError("書庫ライブラリを読み込めません: " + library.load_error());
  }
  std::string output;
  int result = verb == "l" ? library.List(ArchiveArgument(args[1]), &output)
                           : library.Run(command, &output, 1 << 16);
  library.Release();
  if (result != archive::kUnlhaOk) {
    while (!output.empty() && output.back() == '\n') output.pop_back();
    throw CommandError(output.empty() ? "書庫の処理に失敗しました" : output);
  }
  if (verb == "l") *context.out << output;
  return 0;
}

CommandRegistration lha_registration("lha", kUsage, RunLha);

}  // namespace
}  // namespace cli
