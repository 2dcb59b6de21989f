// Runs one archiver command line as the entry `Unlha` receives it and gathers the text for the
// caller's output buffer (UTF-8: a listing, a summary, or the reasons of a failure).
#pragma once

#include <string>
#include <string_view>

#include "archive/archive_progress.h"

namespace archive {

// Returns an UnlhaResult. Relative names are taken from the working directory, which is also
// where "X" extracts to. `progress` hears of the members packed or extracted and may cancel.
int RunUnlhaCommand(std::string_view command_line, std::string& output,
                    const ProgressCallback& progress = {});

}  // namespace archive
