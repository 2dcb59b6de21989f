// The ".desktop" reader. Any bytes as a desktop file: parsing, every key's value and the Exec
// line's words never crash, and the file read with CR LF line ends gives the same entry. Then
// the same bytes as the words of a command: each word written quoted and escaped the way a
// desktop file carries it, as the Exec key of a file whose other lines are the input, must come
// back as exactly those words, also with a field code (%f, %U) after them, which hands over
// nothing. The words are the NUL-separated parts of the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_entry.h"

namespace {

std::vector<std::string> Parts(std::string_view bytes) {
  std::vector<std::string> parts;
  size_t pos = 0;
  for (;;) {
    size_t end = bytes.find('\0', pos);
    parts.emplace_back(bytes.substr(pos, end == std::string_view::npos ? end : end - pos));
    if (end == std::string_view::npos) return parts;
    pos = end + 1;
  }
}

// The keys a line of the file may name: the part before "=", as the reader trims it.
std::vector<std::string> Keys(std::string_view text) {
  std::vector<std::string> keys = {"Exec", "Icon", "Name", "Type", "Terminal"};
  size_t pos = 0;
  while (pos < text.size() && keys.size() < 64) {
    size_t end = text.find('\n', pos);
    std::string_view line = text.substr(pos, end == std::string_view::npos ? end : end - pos);
    size_t eq = line.find('=');
    if (eq != std::string_view::npos) {
      std::string_view key = line.substr(0, eq);
      size_t begin = key.find_first_not_of(" \t\r");
      if (begin != std::string_view::npos) {
        keys.emplace_back(key.substr(begin, key.find_last_not_of(" \t\r") - begin + 1));
      }
    }
    if (end == std::string_view::npos) break;
    pos = end + 1;
  }
  return keys;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A word as the Exec line quotes it, then as a desktop file escapes the value.
std::string Written(const std::string& word) {
  std::string quoted = "\"";
  for (char c : word) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string escaped;
  for (char c : quoted) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\t':
        escaped += "\\t";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::optional<platform::DesktopEntry> entry = platform::DesktopEntry::Parse(text);
  const std::optional<platform::DesktopEntry> crlf = platform::DesktopEntry::Parse(WithCrLf(text));
  if (entry.has_value() != crlf.has_value()) std::abort();
  if (entry) {
    for (const std::string& key : Keys(text)) {
      if (entry->Value(key) != crlf->Value(key)) std::abort();
    }
    (void)entry->IsApplication();
    (void)entry->Terminal();
    if (entry->ExecArguments("/x.desktop") != crlf->ExecArguments("/x.desktop")) std::abort();
  }

  const std::vector<std::string> words = Parts(text);
  std::string exec;
  for (const std::string& word : words) exec += Written(word) + " ";
  const std::string file = "[Desktop Entry]\nExec=" + exec + "\n" + std::string(text);
  const std::optional<platform::DesktopEntry> made = platform::DesktopEntry::Parse(file);
  if (!made || made->ExecArguments("/x.desktop") != words) std::abort();
  const std::string with_codes = "[Desktop Entry]\nExec=" + exec + "%f %U\n";
  if (platform::DesktopEntry::Parse(with_codes)->ExecArguments("/x.desktop") != words) std::abort();
  return 0;
}
