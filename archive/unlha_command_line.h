// Parses the command lines the archiver entry accepts: "U archive files", "X [-c1] archive" and
// "L archive". Names are code page 932 and unquoted, so blanks inside them are ambiguous; the
// parser settles that the way the callers build the lines: the archive name ends at ".lzh" or
// ".zip", files are separated by line breaks, and blanks split a line only where the whole line
// is not an existing file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace archive {

struct UnlhaCommandLine {
  char command = 0;        // 'U', 'X' or 'L'
  bool overwrite = false;  // -c / -c1: extract over existing files whatever their age
  std::string archive;     // code page 932
  std::vector<std::string> files;
};

// `exists` tells whether a code page 932 name names an existing file or folder.
std::optional<UnlhaCommandLine> ParseUnlhaCommandLine(
    std::string_view text, const std::function<bool(const std::string&)>& exists, std::string* why);

}  // namespace archive
