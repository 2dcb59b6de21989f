// Builds an LZH archive in memory: one level-2 header per member (the level every common reader
// takes whole, even with Shift-JIS names whose trail byte is 0x5C), data packed as -lh5- or
// stored as -lh0- when packing does not make it smaller, and the closing zero byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace archive {

struct LzhMemberInfo {
  std::string name;        // code page 932, '/' between folders; no leading '/'
  std::int64_t mtime = 0;  // Unix time, UTC
  bool directory = false;
};

struct LzhWrittenMember {
  std::string method;  // "-lh5-", "-lh0-" or "-lhd-"
  std::uint32_t packed_size = 0;
  std::uint16_t crc = 0;
};

class LzhWriter {
 public:
  // Throws std::length_error for a member the format cannot hold (a name part longer than a
  // header allows, data of 4 GiB or more).
  LzhWrittenMember Add(const LzhMemberInfo& info, std::string_view data);

  // The archive so far with its end marker.
  std::string Finish() const { return archive_ + '\0'; }
  size_t member_count() const { return members_; }

 private:
  std::string archive_;
  size_t members_ = 0;
};

// The level-2 header bytes for one member (exposed for tests).
std::string Level2Header(const LzhMemberInfo& info, std::string_view method,
                         std::uint32_t packed_size, std::uint32_t original_size,
                         std::uint16_t data_crc);

}  // namespace archive
