#include "search/equivalent_codes.h"

#include <algorithm>
#include <string>

#include "platform/cp932.h"

namespace search {

namespace {

struct Table {
  std::vector<RECode> codes;                // ascending
  std::vector<std::vector<RECode>> others;  // for each of `codes`
};

// Decodes every single byte and every lead and trail pair and groups the codes by the
// character they decode to. It runs at the start of every search, so a whole row of pairs is
// decoded in one call (a row whose pairs all decode to one character each maps one to one),
// and the grouping sorts one flat list instead of growing a tree.
Table Build() {
  std::vector<std::pair<char16_t, RECode>> by_character;  // (character, code)
  by_character.reserve(12000);
  auto add = [&](RECode code, char16_t c) {
    if (c >= 0xDC00 && c <= 0xDCFF) return;  // a byte the codec only carries
    by_character.emplace_back(c, code);
  };
  auto add_one = [&](RECode code, const std::string& bytes) {
    std::u16string decoded = cp932::Decode(bytes);
    if (decoded.size() == 1) add(code, decoded[0]);
  };
  for (unsigned b = 1; b < 0x100; ++b) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(b)))
      add_one(static_cast<RECode>(b), std::string(1, static_cast<char>(b)));
  }
  std::string row;
  std::vector<RECode> codes;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    row.clear();
    codes.clear();
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      row += static_cast<char>(lead);
      row += static_cast<char>(trail);
      codes.push_back(static_cast<RECode>(lead << 8 | trail));
    }
    std::u16string decoded = cp932::Decode(row);
    if (decoded.size() == codes.size()) {
      for (size_t k = 0; k < codes.size(); ++k) add(codes[k], decoded[k]);
    } else {
      for (size_t k = 0; k < codes.size(); ++k) add_one(codes[k], row.substr(2 * k, 2));
    }
  }
  std::sort(by_character.begin(), by_character.end());
  std::vector<std::pair<RECode, std::vector<RECode>>> entries;
  for (size_t from = 0; from < by_character.size();) {
    size_t to = from + 1;
    while (to < by_character.size() && by_character[to].first == by_character[from].first) ++to;
    for (size_t k = from; to - from >= 2 && k < to; ++k) {
      std::vector<RECode> others;
      for (size_t j = from; j < to; ++j) {
        if (j != k) others.push_back(by_character[j].second);
      }
      entries.emplace_back(by_character[k].second, std::move(others));
    }
    from = to;
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
