// Reads the archiver's listing (one member a line: name, original size, packed size, method,
// tab-separated) and finds the files that extracting the archive into a folder would replace,
// so that the caller can put them aside first.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace archive {

// The member names of a listing, in its order (UTF-8). Names the library could not decode
// ("?") are left out: such members are never extracted.
std::vector<std::string> ListedNames(std::string_view listing);

// The existing regular files below `destination` that members of these names would replace.
// A name that could lead outside the folder ("..", an absolute path) names nothing: extraction
// refuses such members, so nothing is replaced for them.
std::vector<std::filesystem::path> FilesReplacedByExtraction(
    const std::vector<std::string>& names, const std::filesystem::path& destination);

}  // namespace archive
