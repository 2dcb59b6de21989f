// Our -lh5- compressor: LZSS over an 8 KiB window with static Huffman blocks, written so that
// the readers found on Windows and Debian (libarchive, lhasa, the Java tools) all accept it.
#pragma once

#include <string>
#include <string_view>

namespace archive {

struct Lh5Options {
  int chain_limit = 128;      // hash-chain candidates tried per position
  int block_symbols = 32768;  // about this many symbols per Huffman block
  bool lazy = true;           // emit a literal when the next position matches longer
};

class Lh5Encoder {
 public:
  // The compressed stream, with no size prefix and no end marker: its length is the packed
  // size of the member. Matches never reach before the start of the data.
  static std::string Encode(std::string_view data, const Lh5Options& options = {});
};

}  // namespace archive
