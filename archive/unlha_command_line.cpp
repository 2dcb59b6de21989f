#include "archive/unlha_command_line.h"

#include "platform/cp932.h"

namespace archive {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsBreak(char c) {
  return c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || IsBreak(s.front()))) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || IsBreak(s.back()))) s.remove_suffix(1);
  return s;
}

std::string_view NextToken(std::string_view& s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  size_t end = 0;
  while (end < s.size() && !IsBlank(s[end]) && !IsBreak(s[end])) ++end;
  std::string_view token = s.substr(0, end);
  s.remove_prefix(end);
  return token;
}

// Where an unquoted archive name ends: after the first ".lzh" or ".zip" that a blank, a line
// break or the end follows. npos when there is none. Only the first line is looked at: an
// unquoted name holds no line break, and a file listed below that ends in ".lzh" is no part
// of it.
size_t LzhNameEnd(std::string_view s) {
  s = s.substr(0, s.find_first_of("\r\n"));
  for (size_t i = 0; i + 4 <= s.size(); ++i) {
    for (std::string_view ext : {std::string_view(".lzh"), std::string_view(".zip")}) {
      size_t end = i + ext.size();
      if (end <= s.size() && cp932::EqualsIgnoreAsciiCase(s.substr(i, ext.size()), ext) &&
          (end == s.size() || IsBlank(s[end]) || IsBreak(s[end])))
        return end;
    }
  }
  return std::string_view::npos;
}

void SplitLine(std::string_view line, const std::function<bool(const std::string&)>& exists,
               std::vector<std::string>& files) {
  line = Trim(line);
  if (line.empty()) return;
  if (exists(std::string(line))) {
    files.emplace_back(line);
    return;
  }
  std::vector<std::string> tokens;
  while (!line.empty()) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty()) break;
    if (line.front() == '"') {
      size_t close = line.find('"', 1);
      if (close == std::string_view::npos) close = line.size();
      files.emplace_back(line.substr(1, close - 1));
      line.remove_prefix(std::min(close + 1, line.size()));
      continue;
    }
    // The shortest run of blank-separated words that names an existing file, else one word.
    std::string_view rest = line;
    std::string_view first = NextToken(rest);
    std::string candidate(first);
    std::string_view after = rest;
    std::string_view probe = rest;
    std::string joined = candidate;
    bool found = exists(candidate);
    while (!found && !probe.empty()) {
      size_t blanks = 0;
      while (blanks < probe.size() && IsBlank(probe[blanks])) ++blanks;
      std::string_view word_rest = probe.substr(blanks);
      std::string_view word = NextToken(word_rest);
      if (word.empty()) break;
      joined += std::string(probe.substr(0, blanks)) + std::string(word);
      probe = word_rest;
      if (exists(joined)) {
        found = true;
        candidate = joined;
        after = probe;
      }
    }
    files.push_back(candidate);
    line = after;
  }
}

}  // namespace

std::optional<UnlhaCommandLine> ParseUnlhaCommandLine(
    std::string_view text, const std::function<bool(const std::string&)>& exists,
    std::string* why) {
  auto fail = [&](const std::string& reason) -> std::optional<UnlhaCommandLine> {
    if (why) *why = reason;
    return std::nullopt;
  };
  UnlhaCommandLine line;
  std::string_view rest = text;
  std::string_view command = NextToken(rest);
  if (command.size() != 1) return fail("コマンドがありません");
  line.command = cp932::FoldAsciiCase(command)[0];
  if (line.command != 'U' && line.command != 'X' && line.command != 'L') {
    return fail("不明なコマンドです: " + std::string(command));
  }
  for (;;) {
    std::string_view peek = rest;
    std::string_view token = NextToken(peek);
    if (token.empty() || token[0] != '-') break;
    if (token == "-c" || token == "-c1") {
      line.overwrite = true;
    } else if (token == "-c0") {
      line.overwrite = false;
    } else {
      return fail("不明なスイッチです: " + std::string(token));
    }
    rest = peek;
  }
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);

  std::string_view files_text;
  if (!rest.empty() && rest.front() == '"') {
    size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) return fail("引用符が閉じていません");
    line.archive = std::string(rest.substr(1, close - 1));
    files_text = rest.substr(close + 1);
  } else if (line.command != 'U') {
    // Extraction and listing take one name: all of the first line, blanks included.
    size_t end = 0;
    while (end < rest.size() && !IsBreak(rest[end])) ++end;
    line.archive = std::string(Trim(rest.substr(0, end)));
    files_text = rest.substr(end);
  } else if (size_t end = LzhNameEnd(rest); end != std::string_view::npos) {
    line.archive = std::string(rest.substr(0, end));
    files_text = rest.substr(end);
  } else {
    std::string_view peek = rest;
    line.archive = std::string(NextToken(peek));
    files_text = peek;
  }
  if (line.archive.empty()) return fail("書庫の名前がありません");
  if (line.command != 'U') {
    if (!Trim(files_text).empty())
      return fail("余分な指定があります: " + std::string(Trim(files_text)));
    return line;
  }
  size_t start = 0;
  for (size_t i = 0; i <= files_text.size(); ++i) {
    if (i == files_text.size() || IsBreak(files_text[i])) {
      SplitLine(files_text.substr(start, i - start), exists, line.files);
      start = i + 1;
    }
  }
  return line;
}

}  // namespace archive
