// Decides where a member may be extracted: only to a relative path below the destination.
// Absolute names, drive letters, ".." in either kind of separator and control characters are
// refused, because an archive from elsewhere must never write outside the chosen folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace archive {

// The member's path relative to the destination, or nothing (with the reason in *why) when the
// name is unsafe. `name` is UTF-8 with '/' or '\' between folders.
std::optional<std::filesystem::path> SafeMemberPath(std::string_view name, std::string* why);

// True when some existing part of dest/relative's folders is not a real directory (a symbolic
// link could lead out of the destination).
bool LeavesThroughLink(const std::filesystem::path& dest, const std::filesystem::path& relative);

}  // namespace archive
