#include "archive/safe_member_path.h"

#include <sys/stat.h>

#include <vector>

namespace archive {

std::optional<std::filesystem::path> SafeMemberPath(std::string_view name, std::string* why) {
  auto refuse = [&](const char* reason) -> std::optional<std::filesystem::path> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (name.empty()) return refuse("名前がありません");
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) return refuse("名前に制御文字があります");
  }
  if (name[0] == '/' || name[0] == '\\') return refuse("絶対パスです");
  if (name.size() >= 2 && name[1] == ':' &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'))) {
    return refuse("ドライブ名付きのパスです");
  }
  // The archive may come from Windows, where '\' separates folders too.
  std::vector<std::string> parts;
  std::string part;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i == name.size() || name[i] == '/' || name[i] == '\\') {
      if (part == "..") return refuse("親フォルダを指すパスです");
      if (!part.empty() && part != ".") parts.push_back(part);
      part.clear();
    } else {
      part.push_back(name[i]);
    }
  }
  if (parts.empty()) return refuse("名前がありません");
  std::filesystem::path result;
  for (const std::string& p : parts) result /= p;
  return result;
}

bool LeavesThroughLink(const std::filesystem::path& dest, const std::filesystem::path& relative) {
  std::filesystem::path at = dest;
  for (auto it = relative.begin(); it != relative.end(); ++it) {
    if (std::next(it) == relative.end()) break;  // the member itself is replaced, not followed
    at /= *it;
    struct stat st;
    if (::lstat(at.c_str(), &st) != 0) return false;  // made fresh below here
    if (!S_ISDIR(st.st_mode)) return true;
  }
  return false;
}

}  // namespace archive
