// Where the program's own files lie: beside the executable in a build tree, or in the
// freedesktop places of an installed program (<prefix>/bin, <prefix>/share/mirune,
// <prefix>/lib/mirune). Free of Qt so that the command-line tool finds the same files.
#pragma once

#include <filesystem>
#include <vector>

namespace platform {

inline constexpr char kHelpFileName[] = "mirune.html";
// The maxims file that comes with the program (code page 932), a first start's status line.
inline constexpr char kMaximsFileName[] = "kakugen.txt";

// True when the executable stands in the bin folder of an installed tree, i.e. the program's
// shared folder exists beside it. Such a program keeps its settings in the user's
// configuration folder, never beside the executable.
bool IsInstalledLayout(const std::filesystem::path& executable_dir);

// The places the help file is looked for, in order: beside the executable (the build tree),
// then the installed share folder.
std::vector<std::filesystem::path> HelpFileCandidates(const std::filesystem::path& executable_dir);

// The first candidate that exists, or the bare file name when none does (it is then looked for
// in the working directory when opened).
std::filesystem::path FindHelpFile(const std::filesystem::path& executable_dir);

// The shipped maxims file beside the executable or in the installed share folder; empty when
// neither exists.
std::filesystem::path FindMaximsFile(const std::filesystem::path& executable_dir);

// One of the program's own libraries (the archiver, the sound device): beside the executable,
// or in the installed private library folder.
std::filesystem::path FindPrivateLibrary(const std::filesystem::path& executable_dir,
                                         const std::filesystem::path& file_name);

}  // namespace platform
