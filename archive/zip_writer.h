// Builds a ZIP archive in memory through libarchive: members deflated, names in UTF-8 with the
// language-encoding flag set, so that every current tool shows Japanese names correctly.
#pragma once

#include <string>
#include <string_view>

#include "archive/lzh_writer.h"

namespace lzh_libarchive {
struct ZipHandle;
}

namespace archive {

class ZipWriter {
 public:
  ZipWriter();
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // `info.name` is UTF-8 here. Throws std::runtime_error when libarchive refuses the member.
  void Add(const LzhMemberInfo& info, std::string_view data);
  // The finished archive; the writer is spent afterwards. Throws std::runtime_error.
  std::string Finish();

 private:
  std::string out_;
  lzh_libarchive::ZipHandle* handle_ = nullptr;
};

}  // namespace archive
