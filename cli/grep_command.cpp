// mirune-cli grep: the search engine from the command line, over named files or over the day
// files of the data folder as the search dialog searches them.
#include <ctime>
#include <optional>
#include <string_view>

#include "cli/cli_context.h"
#include "cli/cli_text.h"
#include "cli/grep_output.h"
#include "search/day_search.h"
#include "search/grep.h"
#include "search/reg_exp_parser_error.h"

namespace cli {
namespace {

int PatternError(CliContext& context, const search::ERegExpParser& e) {
  *context.err << "mirune-cli: " << e.what() << " (位置 " << e.Position() << ")\n";
  return 2;
}

int CurrentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

int RunGrep(CliContext& context, const Args& args) {
  bool files_mode = false, all = false;
  std::optional<int> year;
  std::optional<std::string> pattern_arg;
  size_t i = 0;
  // Options come first, as with grep: "-e PATTERN" names a pattern that begins with "-", and
  // "--" ends the options.
  for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
    if (args[i] == "--") {
      ++i;
      break;
    }
    if (args[i] == "--files") {
      files_mode = true;
    } else if (args[i] == "--all") {
      all = true;
    } else if (args[i] == "--year" && i + 1 < args.size()) {
      const std::string& text = args[++i];
      char* end = nullptr;
      long value = std::strtol(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || value < -99999 || value > 99999) {
        throw UsageError("年は整数で指定してください: " + text);
      }
      year = static_cast<int>(value);
    } else if (args[i] == "-e" && i + 1 < args.size()) {
      if (pattern_arg) throw UsageError("パターンは一つだけ指定してください");
      pattern_arg = args[++i];
    } else {
      throw UsageError("不明な指定です: " + args[i] +
                       " (「-」で始まるパターンは -e パターン か -- の後に書いてください)");
    }
  }
  if (!pattern_arg) {
    if (i >= args.size()) throw UsageError("パターンを指定してください");
    pattern_arg = args[i++];
  }
  if ((files_mode && (all || year)) || (all && year)) {
    throw UsageError("--files, --year, --all はどれか一つだけ指定してください");
  }
  std::string pattern = ToCp932(*pattern_arg, "パターン");
  search::TGrep grep;
  grep.SetMapLargeFiles(true);
  TGrepOutput out(*context.out);

  if (files_mode) {
    if (i >= args.size()) throw UsageError("ファイルを指定してください");
    try {
      grep.SetRegExp(pattern);
    } catch (const search::ERegExpParser& e) {
      return PatternError(context, e);
    }
    bool matched = false, failed = false;
    for (; i < args.size(); ++i) {
      const std::string& name = args[i];
      grep.OnMatch = [&](search::TGrep&, const search::RE_LineInfo_t& info) {
        matched = true;
        out.Line(name, info.LineNo, info.Line);
      };
      try {
        grep.Grep(name);
      } catch (const search::EFileNotFound& e) {
        out.Flush();
        *context.err << "mirune-cli: " << e.what() << "\n";
        failed = true;
      }
    }
    return failed ? 2 : matched ? 0 : 1;
  }

  if (i != args.size()) throw UsageError("余分な引数があります: " + args[i]);
  // The lines are printed batch by batch as the search hands them over.
  auto print = [&](const search::DayResultLines& lines) {
    for (size_t k = 0; k < lines.size(); ++k) out.Line("", lines[k]);
  };
  search::DaySearchSummary result;
  try {
    result = all ? search::SearchAllFolders(grep, pattern, context.ExistingDataDir(), print)
                 : search::SearchYearFolder(grep, pattern, context.ExistingDataDir(),
                                            year.value_or(CurrentYear()), print);
  } catch (const search::ERegExpParser& e) {
    return PatternError(context, e);
  }
  return result.lines == 0 ? 1 : 0;
}

CommandRegistration grep_registration(
    "grep",
    "grep --files [-e] PATTERN FILE... | grep [--year Y | --all] [-e] PATTERN (-- ends the "
    "options)",
    RunGrep);

}  // namespace
}  // namespace cli
