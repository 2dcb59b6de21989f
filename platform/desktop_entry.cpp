#include "platform/desktop_entry.h"

namespace platform {
namespace {

std::string Trim(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(" \t\r");
  return std::string(text.substr(begin, end - begin + 1));
}

std::string Unescape(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (value[++i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        // Unknown escapes (such as the Exec line's own \" inside quotes) stay for the next rule.
        out += '\\';
        out += value[i];
    }
  }
  return out;
}

}  // namespace

std::optional<DesktopEntry> DesktopEntry::Parse(std::string_view text) {
  DesktopEntry entry;
  bool in_group = false, found = false;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[') {
      in_group = line == "[Desktop Entry]";
      found |= in_group;
      continue;
    }
    if (!in_group) continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    // Localised keys ("Name[ja]") are kept under their full name; the first value of a key wins.
    entry.keys_.emplace(Trim(std::string_view(line).substr(0, eq)),
                        Trim(std::string_view(line).substr(eq + 1)));
  }
  if (!found) return std::nullopt;
  return entry;
}

std::string DesktopEntry::Value(const std::string& key) const {
  auto it = keys_.find(key);
  return it == keys_.end() ? std::string() : Unescape(it->second);
}

std::vector<std::string> DesktopEntry::ExecArguments(const std::string& file_path) const {
  const std::string exec = Value("Exec");
  std::vector<std::string> words;
  std::string word;
  bool in_word = false, quoted = false;
  // Words that consisted of a field code alone vanish instead of becoming empty arguments.
  bool only_code = false;
  auto finish = [&] {
    if (in_word && !(only_code && word.empty())) words.push_back(word);
    word.clear();
    in_word = quoted = only_code = false;
  };
  for (size_t i = 0; i < exec.size(); ++i) {
    const char c = exec[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < exec.size() &&
                 std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
        word += exec[++i];
      } else {
        word += c;
      }
      continue;
    }
    if (c == ' ' || c == '\t') {
      finish();
      continue;
    }
    if (!in_word) {
      in_word = true;
      only_code = true;
    }
    if (c == '"') {
      quoted = true;
      only_code = false;
      continue;
    }
    if (c == '%' && i + 1 < exec.size()) {
      switch (exec[++i]) {
        case '%':
          word += '%';
          only_code = false;
          break;
        case 'i':
          if (!Value("Icon").empty()) {
            // "--icon" and the icon name are two arguments.
            words.push_back("--icon");
            word += Value("Icon");
            only_code = false;
          }
          break;
        case 'c':
          word += Value("Name");
          only_code = false;
          break;
        case 'k':
          word += file_path;
          only_code = false;
          break;
        default:
          break;  // %f %F %u %U and the deprecated codes: nothing to hand over
      }
      continue;
    }
    word += c;
    only_code = false;
  }
  if (quoted) return {};
  finish();
  return words;
}

}  // namespace platform
