#include "archive/libarchive_shim.h"

#include <archive.h>
#include <archive_entry.h>

namespace lzh_libarchive {

struct Handle {
  struct archive* a = nullptr;
};

namespace {

std::string ErrorOf(struct archive* a, const char* fallback) {
  const char* e = a ? archive_error_string(a) : nullptr;
  return e ? e : fallback;
}

Handle* Make(std::string* error) {
  auto* h = new Handle;
  h->a = archive_read_new();
  if (!h->a) {
    delete h;
    *error = "out of memory";
    return nullptr;
  }
  archive_read_support_format_lha(h->a);
  if (archive_read_set_options(h->a, "lha:hdrcharset=CP932") != ARCHIVE_OK) {
    *error = ErrorOf(h->a, "hdrcharset=CP932 refused");
    Close(h);
    return nullptr;
  }
  return h;
}

}  // namespace

Handle* OpenFile(const char* path, std::string* error) {
  Handle* h = Make(error);
  if (h && archive_read_open_filename(h->a, path, 1 << 16) != ARCHIVE_OK) {
    *error = ErrorOf(h->a, "cannot open");
    Close(h);
    return nullptr;
  }
  return h;
}

Handle* OpenMemory(const void* data, std::size_t size, std::string* error) {
  Handle* h = Make(error);
  if (h && archive_read_open_memory(h->a, data, size) != ARCHIVE_OK) {
    *error = ErrorOf(h->a, "cannot open");
    Close(h);
    return nullptr;
  }
  return h;
}

void Close(Handle* handle) {
  if (!handle) return;
  if (handle->a) archive_read_free(handle->a);
  delete handle;
}

int Next(Handle* handle, EntryFields* fields, std::string* error) {
  struct archive_entry* e = nullptr;
  int r = archive_read_next_header(handle->a, &e);
  if (r == ARCHIVE_EOF) return 0;
  if (r < ARCHIVE_WARN) {
    *error = ErrorOf(handle->a, "broken header");
    return -1;
  }
  *fields = EntryFields();
  // A warning here means the name did not convert: its bytes are not to be trusted.
  fields->name_converted = (r == ARCHIVE_OK);
  const char* name = archive_entry_pathname(e);
  fields->name = name ? name : "";
  if (archive_entry_symlink(e) || archive_entry_hardlink(e)) {
    fields->type = EntryType::kLink;
  } else {
    switch (archive_entry_filetype(e)) {
      case AE_IFREG:
        fields->type = EntryType::kFile;
        break;
      case AE_IFDIR:
        fields->type = EntryType::kDirectory;
        break;
      case AE_IFLNK:
        fields->type = EntryType::kLink;
        break;
      default:
        fields->type = EntryType::kOther;
        break;
    }
  }
  fields->size = archive_entry_size_is_set(e) ? archive_entry_size(e) : 0;
  fields->mtime = archive_entry_mtime(e);
  const char* format = archive_format_name(handle->a);
  fields->format = format ? format : "";
  fields->header_offset = archive_read_header_position(handle->a);
  return 1;
}

int ReadBlock(Handle* handle, const void** data, std::size_t* size, std::int64_t* offset,
              std::string* error) {
  la_int64_t off = 0;
  int r = archive_read_data_block(handle->a, data, size, &off);
  *offset = off;
  if (r == ARCHIVE_EOF) return 0;
  // libarchive reports a CRC mismatch as a mere warning at the end of the data.
  if (r != ARCHIVE_OK) {
    *error = ErrorOf(handle->a, "broken data");
    return -1;
  }
  return 1;
}

}  // namespace lzh_libarchive
