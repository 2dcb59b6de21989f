// A thin C++ face over the parts of libarchive the LZH reader uses. libarchive declares a
// global `struct archive`, which cannot share a translation unit with our namespace `archive`;
// so only libarchive_shim.cpp includes <archive.h>, and it lives outside that namespace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lzh_libarchive {

struct Handle;

enum class EntryType { kFile, kDirectory, kLink, kOther };

struct EntryFields {
  std::string name;
  bool name_converted = true;
  EntryType type = EntryType::kFile;
  std::int64_t size = 0;
  std::int64_t mtime = 0;
  std::string format;  // "lha -lh5-"
  std::int64_t header_offset = 0;
};

// A reader of one format, LZH or (with `zip`) ZIP, that converts names to the thread locale's
// charset: LZH names and ZIP names without the UTF-8 flag are taken as code page 932, flagged
// ZIP names as UTF-8. nullptr with *error set on failure.
Handle* OpenFile(const char* path, bool zip, std::string* error);
Handle* OpenMemory(const void* data, std::size_t size, bool zip, std::string* error);
void Close(Handle* handle);

// 1: an entry was read; 0: end of archive; -1: error.
int Next(Handle* handle, EntryFields* fields, std::string* error);
// 1: a block; 0: end of the entry's data (its CRC checked); -1: error, including a CRC error.
int ReadBlock(Handle* handle, const void** data, std::size_t* size, std::int64_t* offset,
              std::string* error);

// A ZIP writer into memory: deflated members (stored when deflating does not help is left to
// libarchive), UTF-8 names with the language-encoding flag set, Unix time stamps.
struct ZipHandle;
ZipHandle* ZipOpen(std::string* out, std::string* error);
// `name` is UTF-8 with '/' between folders.
bool ZipAdd(ZipHandle* handle, const std::string& name, std::int64_t mtime, bool directory,
            const void* data, std::size_t size, std::string* error);
// Writes the central directory; false (the output unusable) on failure. Frees the handle.
bool ZipClose(ZipHandle* handle, std::string* error);

}  // namespace lzh_libarchive
