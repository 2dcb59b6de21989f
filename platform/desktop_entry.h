// DesktopEntry: the part of a freedesktop ".desktop" file that starting it needs: the
// [Desktop Entry] group's keys, and its Exec line turned into a program and its arguments the
// way the desktop's own launcher does it (quoting, escapes and field codes).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class DesktopEntry {
 public:
  // Parses the text of a desktop file; nullopt when it has no [Desktop Entry] group.
  static std::optional<DesktopEntry> Parse(std::string_view text);

  // The value of a key of the [Desktop Entry] group ("" when missing); escapes \s \n \t \r
  // and \\ are resolved.
  std::string Value(const std::string& key) const;
  bool IsApplication() const { return Value("Type") == "Application"; }
  bool Terminal() const { return Value("Terminal") == "true"; }

  // The Exec line split into words: double-quoted words with \" \` \$ \\ escapes, field codes
  // removed (%f %F %u %U, as no files are handed over), %i expanded to "--icon" and the
  // Icon key, %c to the name, %k to `file_path`, %% to %. Empty for a missing or malformed
  // Exec line (an unterminated quote).
  std::vector<std::string> ExecArguments(const std::string& file_path) const;

 private:
  std::map<std::string, std::string> keys_;
};

}  // namespace platform
