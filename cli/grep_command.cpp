// mirune-cli grep: the search engine from the command line, over named files or over the day
// files of the data folder as the search dialog searches them.
#include <chrono>
#include <ctime>
#include <iostream>

#include "cli/cli_context.h"
#include "cli/cli_text.h"
#include "platform/cp932.h"
#include "search/day_search.h"
#include "search/grep.h"
#include "search/reg_exp_parser_error.h"

namespace cli {
namespace {

// Output is gathered and written in large pieces: a search can report millions of lines.
class Output {
 public:
  explicit Output(std::ostream& out) : out_(out) {}
  ~Output() { Flush(); }
  void Line(std::string text) {
    buffer_ += text;
    buffer_ += '\n';
    if (buffer_.size() > (1 << 16)) Flush();
  }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  std::ostream& out_;
  std::string buffer_;
};

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
  size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--"); ++i) {
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
    } else {
      throw UsageError("不明な指定です: " + args[i]);
    }
  }
  if (i >= args.size()) throw UsageError("パターンを指定してください");
  if ((files_mode && (all || year)) || (all && year)) {
    throw UsageError("--files, --year, --all はどれか一つだけ指定してください");
  }
  std::string pattern = ToCp932(args[i++], "パターン");
  search::TGrep grep;
  Output out(*context.out);

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
        out.Line(name + ":" + std::to_string(info.LineNo) + ":" + cp932::ToUtf8(info.Line));
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
  search::DaySearchResult result;
  try {
    result = all ? search::SearchAllFolders(grep, pattern, context.DataDir())
                 : search::SearchYearFolder(grep, pattern, context.DataDir(),
                                            year.value_or(CurrentYear()));
  } catch (const search::ERegExpParser& e) {
    return PatternError(context, e);
  }
  for (const std::string& line : result.lines) out.Line(cp932::ToUtf8(line));
  return result.lines.empty() ? 1 : 0;
}

CommandRegistration grep_registration(
    "grep", "grep --files PATTERN FILE... | grep [--year Y | --all] PATTERN", RunGrep);

}  // namespace
}  // namespace cli
