// The texts the archive commands show after deleting and extracting (UTF-8), kept apart from
// the windows so that their rules are tested on their own.
#pragma once

#include <string>
#include <vector>

namespace archive {

// Up to 11 removed files are listed in full; from 12 on, the first four and three filler lines.
// Files that could not be removed are named after the count, so none goes missing silently;
// `deleted_for_good` says how many had no trash to go to and were deleted outright.
std::string DeletionMessage(const std::vector<std::string>& removed,
                            const std::vector<std::string>& not_removed, int deleted_for_good);

// The completion of an extraction, with the number of files it replaced that were first put
// into the trash, and of those that could not be put there.
std::string ExtractionMessage(const std::string& archive, int trashed, int not_trashed);

}  // namespace archive
