// Characters that code page 932 holds twice or three times: the NEC row 13 (0x8740-0x879C),
// the NEC-selected IBM extensions (0xED40-0xEEFC) and the IBM extensions (0xFA40-0xFC4B) repeat
// one another and some characters of JIS X 0208 (髙 is 0xFBFC and 0xEEE0; ∵ is 0x81E6, 0x879A
// and 0xFA5B). Windows writes one form, other tools another; a search for the character has to
// find every form. The table comes from the codec: codes that decode to the same character.
#pragma once

#include <utility>
#include <vector>

#include "search/tre_scanner.h"

namespace search {

// The other codes of the character `code` (empty for a character held once).
const std::vector<RECode>& EquivalentCodes(RECode code);

// The codes outside [low, high] that are other forms of characters inside it, as ranges in
// ascending order.
std::vector<std::pair<RECode, RECode>> EquivalentRanges(RECode low, RECode high);

// Every code that has another form, ascending (for tests and the differential run).
const std::vector<RECode>& CodesWithEquivalents();

}  // namespace search
