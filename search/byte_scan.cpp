#include "search/byte_scan.h"

#include <cstring>

#include "platform/cp932.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define MIRUNE_X86 1
#endif

namespace search::byte_scan {

namespace {

#if MIRUNE_X86
// Lanes of a vector where the byte is in a lead-byte range: b - 0x81 <= 0x1E or
// b - 0xE0 <= 0x1C (unsigned).
__m128i LeadLanes(__m128i b) {
  const __m128i d1 = _mm_sub_epi8(b, _mm_set1_epi8(static_cast<char>(0x81)));
  const __m128i d2 = _mm_sub_epi8(b, _mm_set1_epi8(static_cast<char>(0xE0)));
  return _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(d1, _mm_set1_epi8(0x1E)), d1),
                      _mm_cmpeq_epi8(_mm_min_epu8(d2, _mm_set1_epi8(0x1C)), d2));
}

// Each line end adds 1 to its byte lane; the lanes are summed before they can overflow. A line
// end after a lead-range byte may be a second byte; those few are looked at alone and counted
// in `trails`. Goes on from i while a whole vector and the byte after it are in range.
void CountSse2(const unsigned char* buf, size_t& i, size_t to, std::uint64_t& count,
               std::uint64_t& trails) {
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i one_lane = _mm_set1_epi8(1);
  while (i + 17 <= to) {
    __m128i lanes = _mm_setzero_si128();
    for (int round = 0; round < 255 && i + 17 <= to; ++round, i += 16) {
      __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buf + i));
      __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buf + i + 1));
      __m128i prev = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buf + i - 1));
      __m128i ends =
          _mm_or_si128(_mm_cmpeq_epi8(here, lf),
                       _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(here, cr)));
      lanes = _mm_add_epi8(lanes, _mm_and_si128(ends, one_lane));
      auto doubtful =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(ends, LeadLanes(prev))));
      while (doubtful) {
        size_t k = i + static_cast<unsigned>(__builtin_ctz(doubtful));
        trails += !IsRealLineEnd(buf, k);
        doubtful &= doubtful - 1;
      }
    }
    __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
    count += static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums)) +
             static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
  }
}

// The same 32 bytes at a time, counted by population count. A line end right after a byte
// with its high bit set (a lead byte among others) is looked at alone, so the exact lead-byte
// ranges are needed only for those few.
__attribute__((target("avx2,popcnt"))) void CountAvx2(const unsigned char* buf, size_t& i,
                                                      size_t to, std::uint64_t& count,
                                                      std::uint64_t& trails) {
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  for (; i + 33 <= to; i += 32) {
    __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(buf + i));
    __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(buf + i + 1));
    __m256i prev = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(buf + i - 1));
    __m256i ends = _mm256_or_si256(
        _mm256_cmpeq_epi8(here, lf),
        _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(here, cr)));
    auto mask = static_cast<unsigned>(_mm256_movemask_epi8(ends));
    count += static_cast<unsigned>(__builtin_popcount(mask));
    auto doubtful = mask & static_cast<unsigned>(_mm256_movemask_epi8(prev));
    while (doubtful) {
      size_t k = i + static_cast<unsigned>(__builtin_ctz(doubtful));
      trails += !IsRealLineEnd(buf, k);
      doubtful &= doubtful - 1;
    }
  }
}

// Candidates are the places whose first and last bytes match the needle's; only those are
// compared in full. Goes on from i while a whole vector of places is in range; returns the
// first match or nullptr.
const unsigned char* FindSse2(const unsigned char* hay, size_t len, const unsigned char* nd,
                              size_t m, size_t& i) {
  const __m128i first = _mm_set1_epi8(static_cast<char>(nd[0]));
  const __m128i last = _mm_set1_epi8(static_cast<char>(nd[m - 1]));
  for (; i + m - 1 + 16 <= len; i += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + m - 1));
    auto mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
    while (mask) {
      unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (std::memcmp(hay + i + bit + 1, nd + 1, m - 2) == 0) return hay + i + bit;
      mask &= mask - 1;
    }
  }
  return nullptr;
}

__attribute__((target("avx2"))) const unsigned char* FindAvx2(const unsigned char* hay, size_t len,
                                                              const unsigned char* nd, size_t m,
                                                              size_t& i) {
  const __m256i first = _mm256_set1_epi8(static_cast<char>(nd[0]));
  const __m256i last = _mm256_set1_epi8(static_cast<char>(nd[m - 1]));
  for (; i + m - 1 + 32 <= len; i += 32) {
    __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i));
    __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i + m - 1));
    auto mask = static_cast<unsigned>(_mm256_movemask_epi8(
        _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last))));
    while (mask) {
      unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (std::memcmp(hay + i + bit + 1, nd + 1, m - 2) == 0) return hay + i + bit;
      mask &= mask - 1;
    }
  }
  return nullptr;
}
#endif

}  // namespace

Width Widest() {
#if MIRUNE_X86
  static const Width widest = __builtin_cpu_supports("avx2") ? Width::kAvx2 : Width::kSse2;
  return widest;
#else
  return Width::kPlain;
#endif
}

bool AtCharStart(const unsigned char* buf, size_t p, size_t floor) {
  size_t i = p;
  while (i > floor && cp932::IsLeadByte(buf[i - 1])) --i;
  return (p - i) % 2 == 0;
}

bool IsRealLineEnd(const unsigned char* buf, size_t p) {
  return p == 0 || !cp932::IsLeadByte(buf[p - 1]) || AtCharStart(buf, p, 0);
}

std::uint64_t CountLineEnds(const unsigned char* buf, size_t from, size_t to, Width width) {
  std::uint64_t count = 0;
  std::uint64_t trails = 0;  // line ends counted that are second bytes
  size_t i = from;
  auto one = [&](size_t k) {
    bool end = buf[k] == '\n' || (buf[k] == '\r' && buf[k + 1] != '\n');
    count += end && IsRealLineEnd(buf, k);
  };
  if (i == 0 && i < to) one(i++);  // the vectors look at the byte before
#if MIRUNE_X86
  if (width == Width::kAvx2) CountAvx2(buf, i, to, count, trails);
  if (width != Width::kPlain) CountSse2(buf, i, to, count, trails);
#else
  (void)width;
#endif
  for (; i < to; ++i) one(i);
  return count - trails;
}

const unsigned char* FindBytes(const unsigned char* hay, size_t len, std::string_view needle,
                               Width width) {
  const size_t m = needle.size();
  if (m == 0 || len < m) return nullptr;
  const auto* nd = reinterpret_cast<const unsigned char*>(needle.data());
  if (m == 1) return static_cast<const unsigned char*>(std::memchr(hay, nd[0], len));
  // A long needle in text that repeats its start would make the comparisons below quadratic;
  // the C library's search is linear for it.
  if (m > 64) return static_cast<const unsigned char*>(memmem(hay, len, nd, m));
  size_t i = 0;
#if MIRUNE_X86
  if (width == Width::kAvx2) {
    if (const unsigned char* hit = FindAvx2(hay, len, nd, m, i)) return hit;
  }
  if (width != Width::kPlain) {
    if (const unsigned char* hit = FindSse2(hay, len, nd, m, i)) return hit;
  }
#else
  (void)width;
#endif
  for (; i + m <= len; ++i) {
    if (hay[i] == nd[0] && hay[i + m - 1] == nd[m - 1] && std::memcmp(hay + i, nd, m) == 0) {
      return hay + i;
    }
  }
  return nullptr;
}

}  // namespace search::byte_scan
