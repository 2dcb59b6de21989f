// TRE_NFAStateSet: a set of automaton states as a bit set, (state count / 8) + 1 bytes, bit i of
// byte i / 8 for state i; two sets are equal when their bytes are.
#pragma once

#include <cstdint>
#include <string>

namespace search {

class TRE_NFAStateSet {
 public:
  explicit TRE_NFAStateSet(int state_count)
      : bits_(static_cast<size_t>(state_count) / 8 + 1, '\0') {}

  void Include(int state) {
    bits_[static_cast<size_t>(state) >> 3] |= static_cast<char>(1 << (state & 7));
  }
  void Exclude(int state) {
    bits_[static_cast<size_t>(state) >> 3] &= static_cast<char>(~(1 << (state & 7)));
  }
  bool Has(int state) const {
    return (static_cast<unsigned char>(bits_[static_cast<size_t>(state) >> 3]) >> (state & 7)) & 1;
  }
  bool operator==(const TRE_NFAStateSet& other) const { return bits_ == other.bits_; }
  size_t ByteSize() const { return bits_.size(); }
  // The bytes, usable as a hash key.
  const std::string& Bytes() const { return bits_; }

 private:
  std::string bits_;
};

}  // namespace search
