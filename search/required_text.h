// Fixed byte strings of which every match of a parse tree contains at least one within its line
// (for "会議|打合せ" both words), for the grep to skip quickly to the lines that can match at
// all. Empty when nothing useful is known.
#pragma once

#include <string>
#include <vector>

#include "search/tre_parse_tree.h"

namespace search {

// `sufficient` becomes true when the pattern is nothing but an alternation of these fixed
// strings, so that finding one on a character boundary is a match.
std::vector<std::string> RequiredTexts(TRENode* root, bool* sufficient = nullptr);

}  // namespace search
