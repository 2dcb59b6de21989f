#include "platform/install_layout.h"

#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace {

fs::path Prefix(const fs::path& executable_dir) {
  return (executable_dir / "..").lexically_normal();
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

}  // namespace

bool IsInstalledLayout(const fs::path& executable_dir) {
  std::error_code ec;
  return executable_dir.filename() == "bin" &&
         fs::is_directory(Prefix(executable_dir) / "share" / "mirune", ec);
}

std::vector<fs::path> HelpFileCandidates(const fs::path& executable_dir) {
  return {executable_dir / kHelpFileName,
          Prefix(executable_dir) / "share" / "mirune" / "help" / kHelpFileName};
}

fs::path FindHelpFile(const fs::path& executable_dir) {
  for (const fs::path& candidate : HelpFileCandidates(executable_dir)) {
    if (Exists(candidate)) return candidate;
  }
  return kHelpFileName;
}

fs::path FindMaximsFile(const fs::path& executable_dir) {
  for (const fs::path& candidate :
       {executable_dir / kMaximsFileName,
        Prefix(executable_dir) / "share" / "mirune" / kMaximsFileName}) {
    if (Exists(candidate)) return candidate;
  }
  return {};
}

fs::path FindPrivateLibrary(const fs::path& executable_dir, const fs::path& file_name) {
  fs::path beside = executable_dir / file_name;
  if (Exists(beside)) return beside;
  fs::path installed = Prefix(executable_dir) / "lib" / "mirune" / file_name;
  return Exists(installed) ? installed : beside;
}

}  // namespace platform
