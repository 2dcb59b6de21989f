// mirune-cli grep: the search engine from the command line, over named files or over the day
// files of the data folder as the search dialog searches them.
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <memory>
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
// code page 932 texts of a batch are converted to UTF-8 together (they hold no line feed, so
// the line feed between them survives the conversion and splits them again).
class Output {
 public:
  explicit Output(std::ostream& out) : out_(out) {}
  // "NAME:NUMBER:" before the text.
  void Line(std::string_view name, int number, std::string_view text_cp932) {
    prefixes_ += name;
    prefixes_ += ':';
    char digits[16];
    int length = std::snprintf(digits, sizeof digits, "%d", number);
    prefixes_.append(digits, static_cast<size_t>(length));
    prefixes_ += ':';
    Line(std::string_view(), text_cp932);
  }
  void Line(std::string_view prefix_utf8, std::string_view text_cp932) {
    prefixes_ += prefix_utf8;
    prefix_ends_.push_back(prefixes_.size());
    texts_ += text_cp932;
    texts_ += '\n';
    if (texts_.size() > (1 << 16)) Flush();
  }
  ~Output() { Flush(); }
  void Flush() {
    std::string utf8 = ToUtf8(texts_);
    std::string out;
    out.reserve(utf8.size() + prefixes_.size() + 16);
    size_t from = 0, prefix_from = 0;
    for (size_t prefix_end : prefix_ends_) {
      const void* lf = std::memchr(utf8.data() + from, '\n', utf8.size() - from);
      size_t end =
          lf ? static_cast<size_t>(static_cast<const char*>(lf) - utf8.data()) : utf8.size();
      out.append(prefixes_, prefix_from, prefix_end - prefix_from);
      prefix_from = prefix_end;
      out.append(utf8, from, end - from);
      out += '\n';
      from = end + 1;
    }
    out_.write(out.data(), static_cast<std::streamsize>(out.size()));
    prefixes_.clear();
    prefix_ends_.clear();
    texts_.clear();
  }

 private:
  // The UTF-8 of every character, taken from the codec one lead byte at a time as needed, so
  // that a batch is converted by table look-up. A batch with a byte the codec cannot decode
  // goes the codec's own way (which carries such bytes and prints them as U+FFFD).
  struct Utf8Of {
    std::uint8_t size = 0;  // 0: not decodable as one character
    char bytes[4];
  };
  const std::array<Utf8Of, 256>& Row(unsigned lead) {
    std::unique_ptr<std::array<Utf8Of, 256>>& row = rows_[lead];
    if (!row) {
      row = std::make_unique<std::array<Utf8Of, 256>>();
      for (unsigned t = 0; t < 256; ++t) {
        std::string pair;
        if (lead != 0) pair += static_cast<char>(lead);
        pair += static_cast<char>(t);
        std::u16string decoded = cp932::Decode(pair);
        if (decoded.size() != 1 || (decoded[0] >= 0xD800 && decoded[0] <= 0xDFFF)) continue;
        std::string utf8 = cp932::Utf16ToUtf8(decoded);
        if (utf8.size() > 4) continue;
        (*row)[t].size = static_cast<std::uint8_t>(utf8.size());
        std::memcpy((*row)[t].bytes, utf8.data(), utf8.size());
      }
    }
    return *row;
  }
  std::string ToUtf8(const std::string& text) {
    std::string out(text.size() * 3 / 2 + 16, '\0');
    size_t o = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    const std::array<Utf8Of, 256>& singles = Row(0);
    for (size_t i = 0; i < n;) {
      if (p[i] < 0x80) {
        out[o++] = static_cast<char>(p[i++]);
        continue;
      }
      const Utf8Of* u;
      if (cp932::IsLeadByte(p[i]) && i + 1 < n) {
        const std::array<Utf8Of, 256>* row = row_cache_[p[i]];
        if (!row) row = row_cache_[p[i]] = &Row(p[i]);
        u = &(*row)[p[i + 1]];
        i += 2;
      } else {
        u = &singles[p[i]];
        i += 1;
      }
      if (u->size == 0) return cp932::ToUtf8(text);
      if (o + 4 > out.size()) out.resize(out.size() * 2);
      std::memcpy(out.data() + o, u->bytes, u->size);
      o += u->size;
    }
    out.resize(o);
    return out;
  }

  std::ostream& out_;
  std::array<std::unique_ptr<std::array<Utf8Of, 256>>, 256> rows_;
  std::array<const std::array<Utf8Of, 256>*, 256> row_cache_{};
  std::string prefixes_;
  std::vector<size_t> prefix_ends_;
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
