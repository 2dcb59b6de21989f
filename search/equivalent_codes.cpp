#include "search/equivalent_codes.h"

#include <algorithm>
#include <map>
#include <string>

#include "platform/cp932.h"

namespace search {

namespace {

struct Table {
  std::vector<RECode> codes;                // ascending
  std::vector<std::vector<RECode>> others;  // for each of `codes`
};

// Decodes every single byte and every lead and trail pair once and groups the codes by the
// character they decode to.
Table Build() {
  std::map<char16_t, std::vector<RECode>> by_character;
  auto add = [&](RECode code, const std::string& bytes) {
    std::u16string decoded = cp932::Decode(bytes);
    if (decoded.size() != 1) return;
    char16_t c = decoded[0];
    if (c >= 0xDC00 && c <= 0xDCFF) return;  // a byte the codec only carries
    by_character[c].push_back(code);
  };
  for (unsigned b = 1; b < 0x100; ++b) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(b)))
      add(static_cast<RECode>(b), std::string(1, static_cast<char>(b)));
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      add(static_cast<RECode>(lead << 8 | trail),
          std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  std::vector<std::pair<RECode, std::vector<RECode>>> entries;
  for (const auto& [character, codes] : by_character) {
    if (codes.size() < 2) continue;
    for (RECode code : codes) {
      std::vector<RECode> others;
      for (RECode other : codes) {
        if (other != code) others.push_back(other);
      }
      entries.emplace_back(code, std::move(others));
    }
  }
  std::sort(entries.begin(), entries.end());
  Table table;
  for (auto& [code, others] : entries) {
    table.codes.push_back(code);
    table.others.push_back(std::move(others));
  }
  return table;
}

const Table& TheTable() {
  static const Table table = Build();
  return table;
}

}  // namespace

const std::vector<RECode>& EquivalentCodes(RECode code) {
  static const std::vector<RECode> none;
  const Table& t = TheTable();
  auto it = std::lower_bound(t.codes.begin(), t.codes.end(), code);
  if (it == t.codes.end() || *it != code) return none;
  return t.others[static_cast<size_t>(it - t.codes.begin())];
}

std::vector<std::pair<RECode, RECode>> EquivalentRanges(RECode low, RECode high) {
  const Table& t = TheTable();
  std::vector<RECode> found;
  auto from = std::lower_bound(t.codes.begin(), t.codes.end(), low);
  for (auto it = from; it != t.codes.end() && *it <= high; ++it) {
    for (RECode other : t.others[static_cast<size_t>(it - t.codes.begin())]) {
      if (other < low || other > high) found.push_back(other);
    }
  }
  std::sort(found.begin(), found.end());
  std::vector<std::pair<RECode, RECode>> ranges;
  for (RECode code : found) {
    if (!ranges.empty() && code <= ranges.back().second + 1) {
      ranges.back().second = std::max(ranges.back().second, code);
    } else {
      ranges.emplace_back(code, code);
    }
  }
  return ranges;
}

const std::vector<RECode>& CodesWithEquivalents() {
  return TheTable().codes;
}

}  // namespace search
