// mirune-cli grep: the search engine from the command line, over named files or over the day
// files of the data folder as the search dialog searches them.
#include <iconv.h>

#include <chrono>
#include <ctime>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/cli_context.h"
#include "cli/cli_text.h"
#include "platform/cp932.h"
#include "search/day_search.h"
#include "search/grep.h"
#include "search/reg_exp_parser_error.h"

namespace cli {
namespace {

// Output is gathered and written in large pieces: a search can report millions of lines. The
// code page 932 texts of a batch are converted to UTF-8 in one call (they hold no line feed, so
// the line feed between them survives the conversion and splits them again).
class Output {
 public:
  explicit Output(std::ostream& out) : out_(out), converter_(iconv_open("UTF-8", "CP932")) {}
  void Line(std::string prefix_utf8, std::string_view text_cp932) {
    prefixes_.push_back(std::move(prefix_utf8));
    texts_ += text_cp932;
    texts_ += '\n';
    if (texts_.size() > (1 << 16)) Flush();
  }
  ~Output() {
    Flush();
    if (converter_ != reinterpret_cast<iconv_t>(-1)) iconv_close(converter_);
  }
  void Flush() {
    std::string utf8 = ToUtf8(texts_);
    std::string out;
    out.reserve(utf8.size() + prefixes_.size() * 16);
    size_t from = 0;
    for (const std::string& prefix : prefixes_) {
      size_t end = utf8.find('\n', from);
      if (end == std::string::npos) end = utf8.size();
      out += prefix;
      out.append(utf8, from, end - from);
      out += '\n';
      from = end + 1;
    }
    out_.write(out.data(), static_cast<std::streamsize>(out.size()));
    prefixes_.clear();
    texts_.clear();
  }

 private:
  // One direct conversion per batch; a batch with bytes code page 932 cannot decode goes the
  // codec's way, which carries such bytes (and prints them as U+FFFD).
  std::string ToUtf8(const std::string& text) {
    if (converter_ == reinterpret_cast<iconv_t>(-1)) return cp932::ToUtf8(text);
    std::string out(text.size() * 3 / 2 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* to = out.data();
    size_t out_left = out.size();
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter_, &in, &in_left, &to, &out_left) == static_cast<size_t>(-1)) {
      return cp932::ToUtf8(text);
    }
    out.resize(out.size() - out_left);
    return out;
  }

  std::ostream& out_;
  iconv_t converter_;
  std::vector<std::string> prefixes_;
  std::string texts_;
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
        out.Line(name + ":" + std::to_string(info.LineNo) + ":", info.Line);
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
  for (const std::string& line : result.lines) out.Line("", line);
  return result.lines.empty() ? 1 : 0;
}

CommandRegistration grep_registration(
    "grep", "grep --files PATTERN FILE... | grep [--year Y | --all] PATTERN", RunGrep);

}  // namespace
}  // namespace cli
