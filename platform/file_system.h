// File-system services in the terms the program thinks in: Windows-style attributes mapped
// onto this platform, enumeration by wildcard pattern, the working directory, and files that
// are replaced atomically so that a crash never leaves half a file behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform {

// Attribute bits as the Windows file system reports them. Here read-only means the owner may
// not write the file and hidden means the name starts with "."; system and archive are never
// set by this platform.
enum FileAttribute : unsigned {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrReparsePoint = 0x400,  // a symbolic link
};

// The attribute bits of an existing file or directory, or -1 when there is none.
int FileAttributes(const std::filesystem::path& path);

struct FoundFile {
  std::string name;  // the name as the file system holds it (UTF-8 here)
  unsigned attributes = 0;
  std::uintmax_t size = 0;
};

// The entries of a directory whose names match a "*" / "?" pattern (letter case ignored, as
// on Windows). Like FindFirst, ordinary entries are always found; hidden, system and directory
// entries only when their bit is in `include`. "." and ".." are reported for a directory
// search, in that order, before everything else. A missing directory gives nothing.
std::vector<FoundFile> FindFiles(const std::filesystem::path& dir, std::string_view pattern,
                                 unsigned include);

// Every plain directory below `root` (writable, not hidden, not a link: a directory carrying any
// other attribute is skipped with its subtree), depth first in enumeration order. The walk stops
// after `limit` directories, so that a start-up folder on a huge disk cannot stall the window;
// links are never followed, so it cannot loop.
std::vector<std::filesystem::path> PlainSubdirectories(const std::filesystem::path& root,
                                                       std::size_t limit = 20000);

// True when `name` matches the wildcard pattern, letter case ignored.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// The process's working directory; setting it reports failure without throwing.
std::filesystem::path CurrentDir();
bool SetCurrentDir(const std::filesystem::path& dir);

// A regular file whose owner may not write it (the user made it read-only).
bool IsReadOnlyFile(const std::filesystem::path& path);

// Writes `bytes` to a temporary file in the same folder, flushes it to disk and renames it over
// `path`. On failure the old file is untouched, the temporary file is removed and `error` says
// why. A read-only file is never replaced (std::errc::permission_denied). After a write, the
// temporary files that killed writes left in the folder, older than a minute, are removed.
//
// kBatch is for writing thousands of files at once (an import): a file that did not exist is
// not flushed on its own, since a crash can at worst leave it empty, which is no worse than its
// absence; a file that existed is still flushed before the rename, so its old content is never
// lost. The stale temporaries are left for the next ordinary write. The caller ends the batch
// with SyncFileSystem.
enum class Durability { kEachFile, kBatch };
bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes, std::error_code& error,
                 Durability durability = Durability::kEachFile);
// Flushes everything written to the file system that holds `path`.
void SyncFileSystem(const std::filesystem::path& path);

// Reads a whole file; false when it cannot be opened or read.
bool ReadFile(const std::filesystem::path& path, std::string& bytes);

// Paths stored in the settings file are code page 932 text; on disk names are UTF-8, and a
// Windows backslash separator becomes "/".
std::filesystem::path PathFromCp932(std::string_view text);
// The code page 932 text of a path; `exact` becomes false when the path has characters that
// code page 932 cannot represent.
std::string Cp932FromPath(const std::filesystem::path& path, bool* exact = nullptr);

}  // namespace platform
