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

Handle* Make(bool zip, std::string* error) {
  auto* h = new Handle;
  h->a = archive_read_new();
  if (!h->a) {
    delete h;
    *error = "out of memory";
    return nullptr;
  }
  if (zip) {
    archive_read_support_format_zip(h->a);
  } else {
    archive_read_support_format_lha(h->a);
  }
  // ZIP names without the UTF-8 flag come from Japanese Windows tools in code page 932.
  if (archive_read_set_options(h->a, zip ? "zip:hdrcharset=CP932" : "lha:hdrcharset=CP932") !=
      ARCHIVE_OK) {
    *error = ErrorOf(h->a, "hdrcharset=CP932 refused");
    Close(h);
    return nullptr;
  }
  return h;
}

}  // namespace

Handle* OpenFile(const char* path, bool zip, std::string* error) {
  Handle* h = Make(zip, error);
  if (h && archive_read_open_filename(h->a, path, 1 << 16) != ARCHIVE_OK) {
    *error = ErrorOf(h->a, "cannot open");
    Close(h);
    return nullptr;
  }
  return h;
}

Handle* OpenMemory(const void* data, std::size_t size, bool zip, std::string* error) {
  Handle* h = Make(zip, error);
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

struct ZipHandle {
  struct archive* a = nullptr;
  std::string* out = nullptr;
};

namespace {

la_ssize_t ZipWriteCallback(struct archive*, void* client, const void* buffer, size_t length) {
  static_cast<ZipHandle*>(client)->out->append(static_cast<const char*>(buffer), length);
  return static_cast<la_ssize_t>(length);
}

}  // namespace

ZipHandle* ZipOpen(std::string* out, std::string* error) {
  auto* h = new ZipHandle;
  h->out = out;
  out->clear();
  h->a = archive_write_new();
  bool ok = h->a && archive_write_set_format_zip(h->a) == ARCHIVE_OK &&
            archive_write_set_options(h->a, "zip:compression=deflate,zip:hdrcharset=UTF-8") ==
                ARCHIVE_OK &&
            // No padding to tape blocks: the archive ends with its central directory.
            archive_write_set_bytes_per_block(h->a, 0) == ARCHIVE_OK &&
            archive_write_open2(h->a, h, nullptr, ZipWriteCallback, nullptr, nullptr) == ARCHIVE_OK;
  if (!ok) {
    *error = ErrorOf(h->a, "cannot start a ZIP archive");
    if (h->a) archive_write_free(h->a);
    delete h;
    return nullptr;
  }
  return h;
}

bool ZipAdd(ZipHandle* handle, const std::string& name, std::int64_t mtime, bool directory,
            const void* data, std::size_t size, std::string* error) {
  struct archive_entry* e = archive_entry_new();
  if (!e) {
    *error = "out of memory";
    return false;
  }
  archive_entry_copy_pathname(e, directory ? (name + "/").c_str() : name.c_str());
  archive_entry_set_filetype(e, directory ? AE_IFDIR : AE_IFREG);
  archive_entry_set_perm(e, directory ? 0755 : 0644);
  archive_entry_set_mtime(e, static_cast<time_t>(mtime), 0);
  archive_entry_set_size(e, directory ? 0 : static_cast<la_int64_t>(size));
  bool ok = archive_write_header(handle->a, e) == ARCHIVE_OK;
  if (ok && !directory && size > 0) {
    ok = archive_write_data(handle->a, data, size) == static_cast<la_ssize_t>(size);
  }
  if (!ok) *error = ErrorOf(handle->a, "cannot write a ZIP member");
  archive_entry_free(e);
  return ok;
}

bool ZipClose(ZipHandle* handle, std::string* error) {
  bool ok = archive_write_close(handle->a) == ARCHIVE_OK;
  if (!ok) *error = ErrorOf(handle->a, "cannot finish the ZIP archive");
  archive_write_free(handle->a);
  delete handle;
  return ok;
}

}  // namespace lzh_libarchive
