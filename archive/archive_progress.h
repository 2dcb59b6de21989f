// Progress of one archiver command: how many members are done of how many, reported between
// members. The callback returns false to cancel; the command then stops before the next member
// and leaves an archive it was writing as it was.
#pragma once

#include <cstddef>
#include <functional>

namespace archive {

using ProgressCallback = std::function<bool(std::size_t done, std::size_t total)>;

// The C form the library's second entry `UnlhaProgress` takes: nonzero from `progress` cancels.
extern "C" {
typedef int (*UnlhaProgressFunction)(void* user, unsigned long done, unsigned long total);
}

}  // namespace archive
