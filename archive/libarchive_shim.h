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

// An LZH-only reader that converts names from code page 932 to the thread locale's charset.
// nullptr with *error set on failure.
Handle* OpenFile(const char* path, std::string* error);
Handle* OpenMemory(const void* data, std::size_t size, std::string* error);
void Close(Handle* handle);

// 1: an entry was read; 0: end of archive; -1: error.
int Next(Handle* handle, EntryFields* fields, std::string* error);
// 1: a block; 0: end of the entry's data (its CRC checked); -1: error, including a CRC error.
int ReadBlock(Handle* handle, const void** data, std::size_t* size, std::int64_t* offset,
              std::string* error);

}  // namespace lzh_libarchive
