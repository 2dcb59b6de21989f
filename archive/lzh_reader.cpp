#include "archive/lzh_reader.h"

#include <fstream>

namespace archive {

namespace {

const char* NotAnArchive(ArchiveFormat format) {
  return format == ArchiveFormat::kZip ? "ZIP 書庫ではありません: " : "LZH 書庫ではありません: ";
}

}  // namespace

LzhReader::LzhReader(const std::filesystem::path& path, ArchiveFormat format) : format_(format) {
  char head[1] = {1};
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LzhError("書庫を開けません: " + path.string());
  in.read(head, 1);
  // An LZH archive ends at a zero byte; a ZIP archive always has its end record.
  if (in.gcount() == 0 || (head[0] == 0 && format == ArchiveFormat::kLzh)) {
    empty_ = true;  // no members, or only the end marker
    return;
  }
  in.close();
  locale_.Activate();
  std::string error;
  handle_ = lzh_libarchive::OpenFile(path.c_str(), format == ArchiveFormat::kZip, &error);
  if (!handle_) throw LzhError(NotAnArchive(format) + error);
}

LzhReader::LzhReader(std::string_view bytes, ArchiveFormat format) : format_(format) {
  if (bytes.empty() || (bytes[0] == 0 && format == ArchiveFormat::kLzh)) {
    empty_ = true;
    return;
  }
  locale_.Activate();
  std::string error;
  handle_ =
      lzh_libarchive::OpenMemory(bytes.data(), bytes.size(), format == ArchiveFormat::kZip, &error);
  if (!handle_) throw LzhError(NotAnArchive(format) + error);
}

// libarchive converts names to the charset of the calling thread's locale; C.UTF-8 makes that
// UTF-8 (the names of files on disk here) whatever the process-wide locale is.
void LzhReader::ThreadUtf8Locale::Activate() {
  utf8_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (utf8_) saved_ = uselocale(utf8_);
}

LzhReader::ThreadUtf8Locale::~ThreadUtf8Locale() {
  if (utf8_) {
    uselocale(saved_);
    freelocale(utf8_);
  }
}

LzhReader::~LzhReader() {
  lzh_libarchive::Close(handle_);
}

bool LzhReader::Next(LzhEntry& entry) {
  if (empty_) return false;
  lzh_libarchive::EntryFields f;
  std::string error;
  int r = lzh_libarchive::Next(handle_, &f, &error);
  if (r == 0) return false;
  if (r < 0) throw LzhError("書庫が壊れています: " + error);
  entry = LzhEntry();
  entry.name = std::move(f.name);
  entry.name_decoded = f.name_converted;
  switch (f.type) {
    case lzh_libarchive::EntryType::kFile:
      entry.type = LzhEntry::Type::kFile;
      break;
    case lzh_libarchive::EntryType::kDirectory:
      entry.type = LzhEntry::Type::kDirectory;
      break;
    case lzh_libarchive::EntryType::kLink:
      entry.type = LzhEntry::Type::kLink;
      break;
    default:
      entry.type = LzhEntry::Type::kOther;
      break;
  }
  entry.size = f.size;
  entry.mtime = f.mtime;
  if (format_ == ArchiveFormat::kZip) {
    // libarchive names the format of the entry just read: "ZIP 2.0 (deflation)" and the like.
    entry.method = f.format.find("deflation") != std::string::npos      ? "deflate"
                   : f.format.find("uncompressed") != std::string::npos ? "store"
                                                                        : f.format;
  } else {
    entry.method = f.format.size() > 4 ? f.format.substr(4) : std::string();
  }
  entry.header_offset = f.header_offset;
  return true;
}

std::int64_t LzhReader::ReadData(const std::function<void(const char*, size_t)>& sink) {
  std::int64_t total = 0;
  for (;;) {
    const void* block = nullptr;
    size_t size = 0;
    std::int64_t offset = 0;
    std::string error;
    int r = lzh_libarchive::ReadBlock(handle_, &block, &size, &offset, &error);
    if (r == 0) return total;
    if (r < 0) throw LzhError("データが壊れています: " + error);
    if (offset != total) throw LzhError("データが壊れています");
    if (size > 0) sink(static_cast<const char*>(block), size);
    total += static_cast<std::int64_t>(size);
  }
}

}  // namespace archive
