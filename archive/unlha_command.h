// Runs one archiver command line as the entry `Unlha` receives it and gathers the text for the
// caller's output buffer (UTF-8: a listing, a summary, or the reasons of a failure).
#pragma once

#include <string>
#include <string_view>

namespace archive {

// Returns an UnlhaResult. Relative names are taken from the working directory, which is also
// where "X" extracts to.
int RunUnlhaCommand(std::string_view command_line, std::string& output);

}  // namespace archive
