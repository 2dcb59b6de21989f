#include "sync/sync_state.h"

#include <cinttypes>
#include <cstdio>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/file_system.h"
#include "sync/calendar_server.h"

namespace calsync {
namespace {

constexpr std::string_view kHeader = "mirune-sync 1";

// Fields are separated by tabs and records by line ends; a field that holds either (or "%")
// has it written as %XX.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\t' || c == '\n' || c == '\r' || c == '%') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

[[noreturn]] void Damaged(const std::filesystem::path& file) {
  throw SyncError(SyncError::Kind::kLocal,
                  "同期の記録ファイルが壊れています: " + file.string() +
                      "\nこのファイルを別の場所へ移してから、もう一度同期してください（最初の同期"
                      "と同じく、両側の内容を突き合わせ直します）。");
}

}  // namespace

std::uint64_t HashBytes(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

SyncState SyncState::Load(const std::filesystem::path& file) {
  SyncState state;
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return state;
  std::string bytes;
  if (!platform::ReadFile(file, bytes)) {
    throw SyncError(SyncError::Kind::kLocal, "同期の記録ファイルを読めません: " + file.string());
  }
  std::istringstream in(bytes);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) Damaged(file);
  try {
    while (std::getline(in, line)) {
      if (line.empty()) continue;
      std::vector<std::string_view> f = Fields(line);
      if (f[0] == "token" && f.size() == 2) {
        state.token = Unescaped(f[1]);
      } else if (f[0] == "day" && f.size() == 9) {
        DayRecord record;
        record.href = Unescaped(f[2]);
        record.etag = Unescaped(f[3]);
        record.local = f[4] == "1";
        record.hash = std::stoull(std::string(f[5]), nullptr, 16);
        record.size = std::stoll(std::string(f[6]));
        record.mtime_ns = std::stoll(std::string(f[7]));
        record.held = f[8] == "1";
        state.days[std::stoi(std::string(f[1]))] = std::move(record);
      } else if (f[0] == "foreign" && f.size() == 3) {
        state.foreign[Unescaped(f[1])] = Unescaped(f[2]);
      } else {
        Damaged(file);
      }
    }
  } catch (const std::logic_error&) {  // a number that does not parse
    Damaged(file);
  }
  return state;
}

void SyncState::Save(const std::filesystem::path& file) const {
  std::string out(kHeader);
  out += "\ntoken\t" + Escaped(token) + "\n";
  char number[32];
  for (const auto& [date, r] : days) {
    std::snprintf(number, sizeof number, "%016" PRIx64, r.hash);
    out += "day\t" + std::to_string(date) + "\t" + Escaped(r.href) + "\t" + Escaped(r.etag) + "\t" +
           (r.local ? "1" : "0") + "\t" + number + "\t" + std::to_string(r.size) + "\t" +
           std::to_string(r.mtime_ns) + "\t" + (r.held ? "1" : "0") + "\n";
  }
  for (const auto& [href, etag] : foreign) {
    out += "foreign\t" + Escaped(href) + "\t" + Escaped(etag) + "\n";
  }
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (!platform::ReplaceFile(file, out, error)) {
    throw SyncError(SyncError::Kind::kLocal,
                    "同期の記録を保存できません: " + file.string() + " (" + error.message() + ")");
  }
}

std::filesystem::path StateFile(const std::filesystem::path& config_dir, std::string_view url,
                                std::string_view user, std::string_view calendar_href,
                                const std::filesystem::path& data_dir) {
  std::string key(url);
  key += '\n';
  key += user;
  key += '\n';
  key += calendar_href;
  key += '\n';
  key += std::filesystem::absolute(data_dir).lexically_normal().string();
  char name[40];
  std::snprintf(name, sizeof name, "%016" PRIx64 ".state", HashBytes(key));
  return config_dir / name;
}

}  // namespace calsync
