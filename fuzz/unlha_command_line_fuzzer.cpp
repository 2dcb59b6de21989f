// The archiver's command-line parser, on its own: nothing is packed, extracted or even looked
// up on disk, as the question whether a name exists is answered from a set the input gives.
// The input is NUL-separated parts; the first byte chooses how they are used.
// As they are: the first part is the command line, the others the names that exist. The
// parser must refuse with a reason or give a command U, X or L with an archive name, files
// only for U, and no file holding a line break.
// As the program writes them: the first part is the archive, the others the files, each an
// existing file; the line is "U" and the archive quoted, then every file followed by CR LF.
// The parser must give back exactly that archive and those files, for every name the form can
// carry: no quote or line break, and files without blanks at either end (the callers pass full
// paths). The same for a line typed by hand, where the archive is not quoted but has no blank,
// ends in ".lzh" or ".zip" and does not start with "-".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "archive/unlha_command_line.h"
#include "platform/cp932.h"

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

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool Carried(const std::string& name) {
  return name.find_first_of("\"\r\n") == std::string::npos;
}

bool EndsInArchiveExtension(const std::string& name) {
  if (name.size() < 4) return false;
  const std::string tail = cp932::FoldAsciiCase(name.substr(name.size() - 4));
  return tail == ".LZH" || tail == ".ZIP";
}

void AsGiven(const std::vector<std::string>& parts) {
  const std::set<std::string> existing(parts.begin() + 1, parts.end());
  std::string why;
  auto line = archive::ParseUnlhaCommandLine(
      parts[0], [&](const std::string& name) { return existing.count(name) > 0; }, &why);
  if (!line) {
    if (why.empty()) std::abort();
    return;
  }
  if (line->command != 'U' && line->command != 'X' && line->command != 'L') std::abort();
  if (line->archive.empty()) std::abort();
  if (line->command != 'U' && !line->files.empty()) std::abort();
  for (const std::string& file : line->files) {
    if (file.find_first_of("\r\n") != std::string::npos) std::abort();
  }
}

// `quoted`: the program's form; otherwise the form typed by hand, an archive without blanks
// that ends in ".lzh" or ".zip".
void AsWritten(const std::vector<std::string>& parts, bool quoted) {
  const std::string& archive = parts[0];
  const std::vector<std::string> files(parts.begin() + 1, parts.end());
  if (archive.empty() || !Carried(archive)) return;
  if (!quoted && (archive[0] == '-' || archive.find_first_of(" \t") != std::string::npos ||
                  !EndsInArchiveExtension(archive)))
    return;
  for (const std::string& file : files) {
    if (file.empty() || !Carried(file) || IsBlank(file.front()) || IsBlank(file.back())) return;
  }
  std::string text = "U " + (quoted ? "\"" + archive + "\"" : archive) + " ";
  for (const std::string& file : files) text += file + "\r\n";
  const std::set<std::string> existing(files.begin(), files.end());
  std::string why;
  auto line = archive::ParseUnlhaCommandLine(
      text, [&](const std::string& name) { return existing.count(name) > 0; }, &why);
  if (!line || line->command != 'U' || line->overwrite) std::abort();
  if (line->archive != archive || line->files != files) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 2048) return 0;
  const std::vector<std::string> parts =
      Parts(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  switch (data[0] % 3) {
    case 0:
      AsGiven(parts);
      break;
    case 1:
      AsWritten(parts, true);
      break;
    default:
      AsWritten(parts, false);
      break;
  }
  return 0;
}
