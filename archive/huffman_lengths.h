// Code lengths for the static Huffman codes of an -lh5- block: optimal lengths for the given
// symbol counts, cut down to the format's 16-bit limit while keeping the code complete, and the
// canonical codes the format assigns to them.
#pragma once

#include <cstdint>
#include <vector>

namespace archive {

// One length per symbol, 0 for a symbol that does not occur. With fewer than two symbols in
// use the lengths are all 0 (such a table is written in its one-symbol form).
std::vector<std::uint8_t> HuffmanCodeLengths(const std::vector<std::uint32_t>& counts,
                                             int max_length);

// Canonical codes: symbols ordered by (length, symbol value), consecutive within a length.
std::vector<std::uint16_t> CanonicalCodes(const std::vector<std::uint8_t>& lengths);

}  // namespace archive
