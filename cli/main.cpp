// mirune-cli: scripted access to Mirune's day files, settings and calendar, on the same core
// as the program. Text on the terminal is UTF-8; files stay code page 932.
#include <exception>
#include <iostream>
#include <string>

#include "cli/cli_context.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "使い方: mirune-cli [--data DIR] [--ini FILE] COMMAND ...\n";
  for (const cli::Command& command : cli::Commands())
    out << "  mirune-cli " << command.usage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  cli::CliContext context;
  context.out = &std::cout;
  context.err = &std::cerr;
  cli::Args args(argv + 1, argv + argc);
  try {
    size_t i = 0;
    while (i < args.size() && args[i].starts_with("--")) {
      if (args[i] == "--help") {
        PrintUsage(std::cout);
        return 0;
      }
      if (i + 1 >= args.size()) throw cli::UsageError(args[i] + " には値が必要です");
      if (args[i] == "--data") {
        context.data_option = args[i + 1];
      } else if (args[i] == "--ini") {
        context.ini_option = args[i + 1];
      } else {
        break;
      }
      i += 2;
    }
    if (i >= args.size()) {
      PrintUsage(std::cerr);
      return 2;
    }
    for (const cli::Command& command : cli::Commands()) {
      if (args[i] == command.name) {
        return command.run(context, cli::Args(args.begin() + static_cast<long>(i) + 1, args.end()));
      }
    }
    throw cli::UsageError("不明なコマンドです: " + args[i]);
  } catch (const cli::UsageError& e) {
    std::cerr << "mirune-cli: " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "mirune-cli: " << e.what() << "\n";
    return 2;
  }
}
