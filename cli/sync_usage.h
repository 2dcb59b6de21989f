// The usage line of `sync`, shared by mirune-cli, which hands the command over, and mirune-sync,
// which runs it.
#pragma once

namespace cli {

inline constexpr const char* kSyncUsage =
    "使い方: sync [--url URL --user USER] [--calendar NAME|PATH] [--password-file FILE]";

// The program that runs `sync`: beside mirune-cli, or in the installed private folder.
inline constexpr const char* kSyncProgram = "mirune-sync";

}  // namespace cli
