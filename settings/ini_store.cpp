#include "settings/ini_store.h"

#include <vector>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/integer_text.h"

namespace settings {
namespace {

// One line of the file, kept with its own line end so that untouched lines are written back
// byte for byte.
struct Line {
  std::string text;
  std::string end;
};

std::vector<Line> SplitLines(const std::string& bytes) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back({bytes.substr(pos), ""});
      break;
    }
    size_t next = end + 1;
    if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    lines.push_back({bytes.substr(pos, end - pos), bytes.substr(end, next - end)});
    pos = next;
  }
  return lines;
}

// The blanks around names and values: space, TAB and vertical tab. The ideographic space is
// text. No trail byte of a double-byte character is a blank, so trimming bytes is safe.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The first c that is a character of its own, never the trail byte of a double-byte
// character: 余 (0x97 0x5D) does not close a section name, ー (0x81 0x5B) opens none.
size_t FindSingleByte(std::string_view s, char c) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == c) return i;
    if (cp932::IsLeadByte(static_cast<unsigned char>(s[i]))) ++i;
  }
  return std::string_view::npos;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  size_t close = FindSingleByte(t, ']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line; comment lines have none.
std::optional<std::string_view> KeyOf(std::string_view line, std::string_view* value = nullptr) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  size_t eq = FindSingleByte(t, '=');
  if (eq == std::string_view::npos) return std::nullopt;
  if (value) *value = Trim(t.substr(eq + 1));
  return Trim(t.substr(0, eq));
}

struct SectionRange {
  size_t header = std::string::npos;  // index of the "[name]" line
  size_t end = 0;                     // one past the last line before the next section
};

// The first section of that name, as the private-profile functions find it.
SectionRange FindSection(const std::vector<Line>& lines, std::string_view section) {
  SectionRange range;
  for (size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionOf(lines[i].text);
    if (!name) continue;
    if (range.header != std::string::npos) {
      range.end = i;
      return range;
    }
    if (cp932::EqualsIgnoreAsciiCase(*name, Trim(section))) range.header = i;
  }
  if (range.header != std::string::npos) range.end = lines.size();
  return range;
}

std::vector<Line> ReadLines(const std::filesystem::path& path) {
  std::string bytes;
  platform::ReadFile(path, bytes);
  return SplitLines(bytes);
}

void WriteLines(const std::filesystem::path& path, const std::vector<Line>& lines) {
  std::string bytes;
  for (const Line& line : lines) {
    bytes += line.text;
    bytes += line.end;
  }
  std::error_code error;
  if (!platform::ReplaceFile(path, bytes, error)) {
    // The message is shown to the user as it stands.
    const char* reason = platform::IsReadOnlyFile(path) ? "読み取り専用のファイルです"
                         : error == std::errc::permission_denied ? "書き込みが許可されていません"
                                                                 : nullptr;
    throw std::system_error(error,
                            path.string() + (reason ? std::string(" (") + reason + ")" : ""));
  }
}

}  // namespace

void IniStore::HoldSnapshot() {
  auto bytes = std::make_shared<std::string>();
  platform::ReadFile(path_, *bytes);
  snapshot_ = std::move(bytes);
}

std::optional<std::string> IniStore::ReadValue(std::string_view section,
                                               std::string_view key) const {
  std::vector<Line> lines = snapshot_ ? SplitLines(*snapshot_) : ReadLines(path_);
  SectionRange range = FindSection(lines, section);
  if (range.header == std::string::npos) return std::nullopt;
  for (size_t i = range.header + 1; i < range.end; ++i) {
    std::string_view value;
    auto name = KeyOf(lines[i].text, &value);
    if (!name || !cp932::EqualsIgnoreAsciiCase(*name, Trim(key))) continue;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return std::nullopt;
}

void IniStore::WriteValue(std::string_view section, std::string_view key, std::string_view value) {
  snapshot_.reset();
  std::vector<Line> lines = ReadLines(path_);
  std::string entry = std::string(key) + "=" + std::string(value);
  SectionRange range = FindSection(lines, section);
  if (range.header == std::string::npos) {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = "\r\n";
    lines.push_back({"[" + std::string(section) + "]", "\r\n"});
    lines.push_back({entry, "\r\n"});
    WriteLines(path_, lines);
    return;
  }
  size_t last = range.header;  // the last key line of the section
  for (size_t i = range.header + 1; i < range.end; ++i) {
    auto name = KeyOf(lines[i].text);
    if (!name) continue;
    if (cp932::EqualsIgnoreAsciiCase(*name, Trim(key))) {
      // The line keeps the file's own spelling of the key and everything before it.
      Line& line = lines[i];
      line.text =
          line.text.substr(0, static_cast<size_t>(name->data() + name->size() - line.text.data())) +
          "=" + std::string(value);
      if (line.end.empty()) line.end = "\r\n";
      WriteLines(path_, lines);
      return;
    }
    last = i;
  }
  // A new key follows the section's last key, before the comments and blank lines that
  // separate it from the next section.
  if (lines[last].end.empty()) lines[last].end = "\r\n";
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), {entry, "\r\n"});
  WriteLines(path_, lines);
}

void IniStore::EraseSection(std::string_view section) {
  snapshot_.reset();
  std::vector<Line> lines = ReadLines(path_);
  SectionRange range = FindSection(lines, section);
  if (range.header == std::string::npos) return;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range.header),
              lines.begin() + static_cast<std::ptrdiff_t>(range.end));
  WriteLines(path_, lines);
}

std::string IniStore::Unbracket(std::string value) {
  if (value == "\"\"" || value == std::string{kOpenBracket, kCloseBracket}) return "";
  if (value.size() > 2) {
    if (value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
    if (value.front() == kOpenBracket && value.back() == kCloseBracket) {
      // The closing bracket must be a character of its own, not the trail byte of a kanji.
      size_t i = 0;
      while (i + 1 < value.size()) {
        i += cp932::IsLeadByte(static_cast<unsigned char>(value[i])) ? 2 : 1;
      }
      if (i == value.size() - 1) return value.substr(1, value.size() - 2);
    }
  }
  return value;
}

std::string IniStore::ReadString(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
  std::optional<std::string> value = ReadValue(section, key);
  if (!value) return Unbracket(kOpenBracket + std::string(default_value) + kCloseBracket);
  return Unbracket(*value);
}

void IniStore::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  WriteValue(section, key, kOpenBracket + std::string(value) + kCloseBracket);
}

std::int32_t IniStore::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t default_value) const {
  std::optional<std::string> value = ReadValue(section, key);
  if (!value || value->empty()) return default_value;
  return platform::ParseInteger(*value).value_or(default_value);
}

void IniStore::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteValue(section, key, std::to_string(value));
}

bool IniStore::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void IniStore::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteValue(section, key, value ? "1" : "0");
}

std::int32_t IniStore::ReadInteger(const Key& key, std::int32_t current) const {
  return ReadInteger(SectionBytes(key), key.name, current);
}

bool IniStore::ReadBool(const Key& key, bool current) const {
  return ReadBool(SectionBytes(key), key.name, current);
}

ColourValue IniStore::ReadColour(const Key& key, ColourValue current) const {
  return static_cast<ColourValue>(
      ReadInteger(SectionBytes(key), key.name, static_cast<std::int32_t>(current)));
}

std::string IniStore::ReadString(const Key& key, std::string_view current) const {
  return ReadString(SectionBytes(key), key.name, current);
}

void IniStore::WriteInteger(const Key& key, std::int32_t value) {
  WriteInteger(SectionBytes(key), key.name, value);
}

void IniStore::WriteBool(const Key& key, bool value) {
  WriteBool(SectionBytes(key), key.name, value);
}

void IniStore::WriteColour(const Key& key, ColourValue value) {
  WriteInteger(SectionBytes(key), key.name, static_cast<std::int32_t>(value));
}

void IniStore::WriteString(const Key& key, std::string_view value) {
  WriteString(SectionBytes(key), key.name, value);
}

}  // namespace settings
