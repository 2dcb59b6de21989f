// Any bytes as an LZH archive: the path every extraction and listing takes before it writes
// anything (libarchive's reader with our name decoding, the member-name check, the raw header
// scan for packed sizes, and the data with its CRC and size checks), without touching the disk.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "archive/archive_extractor.h"
#include "archive/lzh_header_scan.h"
#include "archive/lzh_reader.h"
#include "archive/safe_member_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    archive::LzhReader reader(bytes);
    archive::LzhEntry entry;
    for (int members = 0; members < 1000 && reader.Next(entry); ++members) {
      std::string why;
      auto path = archive::SafeMemberPath(entry.name, &why);
      (void)archive::PackedSizeAt(bytes, static_cast<std::uint64_t>(entry.header_offset));
      if (!path || entry.type != archive::LzhEntry::Type::kFile || entry.size < 0 ||
          entry.size > archive::kMaxMemberSize) {
        continue;
      }
      std::int64_t total = 0;
      reader.ReadData([&](const char*, size_t n) { total += static_cast<std::int64_t>(n); });
      if (total > entry.size + (1 << 20)) __builtin_trap();  // the reader must stop at the claim
    }
  } catch (const archive::LzhError&) {
  }
  return 0;
}
