#include "archive/lzh_writer.h"

#include <limits>
#include <stdexcept>

#include "archive/crc16.h"
#include "archive/lh5_encoder.h"

namespace archive {
namespace {

// libarchive rejects -lh5- data shorter than this, so such members are stored instead.
constexpr size_t kMinPackedLh5 = 8;
// Windows archivers mark their level-2 headers as MS-DOS ones.
constexpr char kOsId = 'M';

void Put16(std::string& s, unsigned v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Set16(std::string& s, size_t at, unsigned v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// An extended header as the chain holds it: the size field before it has already been
// written; this adds type and data and leaves room for the next size.
void AddExtended(std::string& header, unsigned char type, std::string_view data) {
  size_t size_field = header.size() - 2;
  size_t total = 1 + data.size() + 2;
  if (total > 0xFFFF) throw std::length_error("LZH header field too long");
  Set16(header, size_field, static_cast<unsigned>(total));
  header.push_back(static_cast<char>(type));
  header.append(data);
  Put16(header, 0);
}

}  // namespace

std::string Level2Header(const LzhMemberInfo& info, std::string_view method,
                         std::uint32_t packed_size, std::uint32_t original_size,
                         std::uint16_t data_crc) {
  std::string file_name = info.name, dir_name;
  while (!file_name.empty() && file_name.back() == '/') file_name.pop_back();
  size_t slash = file_name.rfind('/');
  if (info.directory) {
    // A directory is all folder part, with an empty file name.
    dir_name = file_name + '/';
    file_name.clear();
  } else if (slash != std::string::npos) {
    dir_name = file_name.substr(0, slash + 1);
    file_name.erase(0, slash + 1);
  }
  // Folder parts are separated, and ended, by 0xFF in the header.
  for (char& c : dir_name) {
    if (c == '/') c = static_cast<char>(0xFF);
  }

  std::string h;
  Put16(h, 0);  // total size, set below
  h.append(method.substr(0, 5));
  Put32(h, packed_size);
  Put32(h, original_size);
  std::int64_t t = info.mtime;
  if (t < 0) t = 0;
  if (t > std::numeric_limits<std::uint32_t>::max()) t = std::numeric_limits<std::uint32_t>::max();
  Put32(h, static_cast<std::uint32_t>(t));
  h.push_back(0x20);  // fixed; readers recognise level 1 and 2 headers by it
  h.push_back(2);
  Put16(h, data_crc);
  h.push_back(kOsId);
  Put16(h, 0);  // size of the first extended header
  size_t crc_at = h.size() + 1;
  AddExtended(h, 0x00, std::string_view("\0\0", 2));
  AddExtended(h, 0x01, file_name);
  if (!dir_name.empty()) AddExtended(h, 0x02, dir_name);
  // Nothing else: every reader takes these, and a day file is often smaller than a few more
  // extended headers would be.
  // A header may not start with a zero byte (that marks the end of the archive).
  if ((h.size() & 0xFF) == 0) h.push_back('\0');
  if (h.size() > 0xFFFF) throw std::length_error("LZH header too long");
  Set16(h, 0, static_cast<unsigned>(h.size()));
  Set16(h, crc_at, Crc16::Of(h));
  return h;
}

LzhWrittenMember LzhWriter::Add(const LzhMemberInfo& info, std::string_view data) {
  LzhWrittenMember written;
  if (info.directory) {
    written.method = "-lhd-";
    archive_ += Level2Header(info, written.method, 0, 0, 0);
    ++members_;
    return written;
  }
  if (data.size() >= std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("file too large for an LZH archive");
  }
  written.crc = Crc16::Of(data);
  std::string packed = Lh5Encoder::Encode(data);
  std::string_view body = data;
  written.method = "-lh0-";
  if (packed.size() >= kMinPackedLh5 && packed.size() < data.size()) {
    written.method = "-lh5-";
    body = packed;
  }
  written.packed_size = static_cast<std::uint32_t>(body.size());
  archive_ += Level2Header(info, written.method, written.packed_size,
                           static_cast<std::uint32_t>(data.size()), written.crc);
  archive_.append(body);
  ++members_;
  return written;
}

}  // namespace archive
