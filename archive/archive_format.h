// The two archive formats the archiver writes and reads, told apart by the archive's name: a
// name ending in ".zip" (any letter case) is a ZIP archive, every other name an LZH archive.
#pragma once

#include <string_view>

namespace archive {

enum class ArchiveFormat { kLzh, kZip };

inline ArchiveFormat FormatOfArchiveName(std::string_view name) {
  constexpr std::string_view kZip = ".zip";
  if (name.size() < kZip.size()) return ArchiveFormat::kLzh;
  std::string_view tail = name.substr(name.size() - kZip.size());
  for (size_t i = 0; i < kZip.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c != kZip[i]) return ArchiveFormat::kLzh;
  }
  return ArchiveFormat::kZip;
}

}  // namespace archive
