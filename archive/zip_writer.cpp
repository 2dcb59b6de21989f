#include "archive/zip_writer.h"

#include <locale.h>

#include <stdexcept>

#include "archive/libarchive_shim.h"

namespace archive {
namespace {

// libarchive takes names in the calling thread's charset; ours are UTF-8 whatever the
// process-wide locale is, so the thread speaks C.UTF-8 while libarchive works on them.
class ThreadUtf8 {
 public:
  ThreadUtf8() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0))) {
    if (utf8_) saved_ = uselocale(utf8_);
  }
  ~ThreadUtf8() {
    if (utf8_) {
      uselocale(saved_);
      freelocale(utf8_);
    }
  }
  ThreadUtf8(const ThreadUtf8&) = delete;
  ThreadUtf8& operator=(const ThreadUtf8&) = delete;

 private:
  locale_t utf8_;
  locale_t saved_ = nullptr;
};

}  // namespace

ZipWriter::ZipWriter() {
  ThreadUtf8 utf8;
  std::string error;
  handle_ = lzh_libarchive::ZipOpen(&out_, &error);
  if (!handle_) throw std::runtime_error(error);
}

ZipWriter::~ZipWriter() {
  ThreadUtf8 utf8;
  std::string ignore;
  if (handle_) lzh_libarchive::ZipClose(handle_, &ignore);
}

void ZipWriter::Add(const LzhMemberInfo& info, std::string_view data) {
  if (!handle_) throw std::runtime_error("ZIP archive already finished");
  ThreadUtf8 utf8;
  std::string error;
  if (!lzh_libarchive::ZipAdd(handle_, info.name, info.mtime, info.directory, data.data(),
                              data.size(), &error)) {
    throw std::runtime_error(error);
  }
}

std::string ZipWriter::Finish() {
  if (!handle_) throw std::runtime_error("ZIP archive already finished");
  ThreadUtf8 utf8;
  std::string error;
  lzh_libarchive::ZipHandle* h = handle_;
  handle_ = nullptr;
  if (!lzh_libarchive::ZipClose(h, &error)) throw std::runtime_error(error);
  return std::move(out_);
}

}  // namespace archive
