// Reads LZH archives through libarchive: every method and header level it knows, member names
// decoded from code page 932 to UTF-8 (the names of files on disk here), and every data error
// (bad CRC, truncation, a size the data does not have) reported as LzhError. ZIP archives are
// read the same way, so that extraction applies one set of safety rules to both.
#pragma once

#include <locale.h>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "archive/archive_format.h"
#include "archive/libarchive_shim.h"

namespace archive {

class LzhError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct LzhEntry {
  enum class Type { kFile, kDirectory, kLink, kOther };
  std::string name;          // UTF-8; as the archive holds it, '\' of level-0 names made '/'
  bool name_decoded = true;  // false when the name is not valid code page 932
  Type type = Type::kFile;
  std::int64_t size = 0;  // the original size the header claims
  std::int64_t mtime = 0;
  std::string method;  // "-lh5-" etc.; "deflate" or "store" in a ZIP archive
  std::int64_t header_offset = 0;
};

class LzhReader {
 public:
  // Throws LzhError when the archive cannot be opened or is not an LZH archive. An empty file,
  // or one holding only the end marker, is an archive without members.
  explicit LzhReader(const std::filesystem::path& path, ArchiveFormat format = ArchiveFormat::kLzh);
  // Reads from memory that must outlive the reader.
  explicit LzhReader(std::string_view bytes, ArchiveFormat format = ArchiveFormat::kLzh);
  ~LzhReader();
  LzhReader(const LzhReader&) = delete;
  LzhReader& operator=(const LzhReader&) = delete;

  // The next member's header; false at the end of the archive.
  bool Next(LzhEntry& entry);

  // Passes the current member's data to `sink` block by block and returns the byte count.
  // Throws LzhError on a CRC error or truncated data, before the last block is confirmed.
  std::int64_t ReadData(const std::function<void(const char*, size_t)>& sink);

 private:
  // Switches the calling thread to C.UTF-8 while the reader lives; a member, so that the
  // switch is undone even when a constructor throws after making it.
  class ThreadUtf8Locale {
   public:
    ThreadUtf8Locale() = default;
    ~ThreadUtf8Locale();
    ThreadUtf8Locale(const ThreadUtf8Locale&) = delete;
    ThreadUtf8Locale& operator=(const ThreadUtf8Locale&) = delete;
    void Activate();

   private:
    locale_t utf8_ = nullptr;
    locale_t saved_ = nullptr;
  };

  ThreadUtf8Locale locale_;
  lzh_libarchive::Handle* handle_ = nullptr;
  bool empty_ = false;
  ArchiveFormat format_;
};

}  // namespace archive
