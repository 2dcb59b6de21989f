// Mends the text map of PDF files that the toolkit writes. CJK faces draw ideographs such as
// 月 and 日 with the glyphs they share with the Kangxi radicals ⽉ and ⽇, and the toolkit names
// the lowest code of a glyph in the file's ToUnicode map, so copied or searched text would
// hold the radicals. The radicals are mapped back to their ideographs in place.
#pragma once

#include <string>

namespace platform {

// Rewrites, in every ToUnicode map of `pdf`, the target codes that are CJK radicals with a
// compatibility ideograph into that ideograph. Codes keep their length, so the file's offsets
// stay valid. Returns the number of codes changed.
int FoldRadicalsInPdfTextMap(std::string& pdf);

}  // namespace platform
