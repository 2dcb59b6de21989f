// The two loops a search of a large file spends its time in: finding a string's bytes and
// counting line ends. Each has a plain form and, where the processor has them, wider forms
// (16 and 32 bytes at a time), chosen once at run time so that one build runs everywhere.
// Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace search::byte_scan {

enum class Width { kPlain, kSse2, kAvx2 };

// The widest form this processor runs.
Width Widest();

// True when position p starts a character: the lead-byte-range bytes right before it come in
// pairs. Any other byte ends a character, so the count stops there (or at `floor`, a line start).
bool AtCharStart(const unsigned char* buf, size_t p, size_t floor);

// A lead byte and the byte after it are one character even when that byte is a line feed or a
// carriage return, which then ends no line. A line end is therefore only one that starts a
// character; line ends are never lead bytes, so the count of lead bytes before one stops at the
// line end before it.
bool IsRealLineEnd(const unsigned char* buf, size_t p);

// Line ends in [from, to): every LF, and every CR that no LF follows (CR LF is one line end),
// but not one that is the second byte of a double-byte character. The byte at `to` must be
// readable, and so must every byte from buf[0].
std::uint64_t CountLineEnds(const unsigned char* buf, size_t from, size_t to,
                            Width width = Widest());

// The first place in [0, len) where `needle` begins, or nullptr.
const unsigned char* FindBytes(const unsigned char* hay, size_t len, std::string_view needle,
                               Width width = Widest());

}  // namespace search::byte_scan
