// The longest fixed byte string that every match of a parse tree contains within one line, for
// the grep to skip quickly to the lines that can match at all.
#pragma once

#include <string>

#include "search/tre_parse_tree.h"

namespace search {

std::string RequiredText(TRENode* root);

}  // namespace search
