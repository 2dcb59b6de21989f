// The desktop trash, laid out as freedesktop.org desktops share it: a file goes to the home
// trash ($XDG_DATA_HOME/Trash, made with mode 0700 when missing) when it lies on the same file
// system, else to the top-level ".Trash/$uid" or ".Trash-$uid" of its own file system. Each
// file gets a "files/" entry and an "info/NAME.trashinfo" with its original path and the time,
// so that the desktop's file manager can put it back.
//
// It never writes among the user's data: a trash that would lie in the folder the caller keeps
// out (the data folder), or that cannot be made, is no trash, and the caller asks the user
// before deleting for good.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

enum class TrashResult {
  kTrashed,  // the file is in the trash, with its info
  kNoTrash,  // no trash can be used for it: nothing was changed
  kFailed,   // the trash was there but the file could not be moved: nothing was changed
};

// Moves `file` (a file or a folder) into the trash. No trash is made or used inside
// `keep_out` (the data folder; by default the file's own folder).
TrashResult MoveToTrash(const std::filesystem::path& file,
                        const std::filesystem::path& keep_out = {});

// The home trash folder: $XDG_DATA_HOME/Trash, else ~/.local/share/Trash.
std::filesystem::path HomeTrashDir();

// The "Path=" value of a .trashinfo file: the absolute path, every byte outside the
// unreserved set and "/" written as %XX.
std::string TrashInfoPath(const std::filesystem::path& absolute);

}  // namespace platform
