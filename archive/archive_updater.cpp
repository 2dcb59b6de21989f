#include "archive/archive_updater.h"

#include <sys/stat.h>

#include <map>
#include <system_error>

#include "archive/archive_extractor.h"
#include "archive/lzh_reader.h"
#include "archive/lzh_writer.h"
#include "archive/unlha_result.h"
#include "archive/zip_writer.h"
#include "platform/cp932.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

struct Member {
  LzhMemberInfo info;
  std::string data;
};

bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || (n > 1 && c < 0xC2) || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

std::vector<Member> ReadMembers(const fs::path& archive_path, ArchiveFormat format) {
  std::vector<Member> members;
  try {
    LzhReader reader(archive_path, format);
    LzhEntry entry;
    while (reader.Next(entry)) {
      if (!entry.name_decoded) {
        throw UpdateError(kUnlhaNotArchive, "書庫の中の名前を読めません");
      }
      Member m;
      bool exact = true;
      m.info.name =
          format == ArchiveFormat::kZip ? entry.name : cp932::FromUtf8(entry.name, &exact);
      m.info.mtime = entry.mtime;
      if (entry.type == LzhEntry::Type::kDirectory) {
        m.info.directory = true;
      } else if (entry.type != LzhEntry::Type::kFile) {
        // Links have no place in a day-file archive and cannot be written back faithfully.
        continue;
      } else {
        // The same bounds as extraction: a kept member is held in memory.
        if (entry.size < 0 || entry.size > kMaxMemberSize) {
          throw UpdateError(kUnlhaBrokenData, "大きさが不正です: " + entry.name);
        }
        bool too_long = false;
        reader.ReadData([&](const char* p, size_t n) {
          if (m.data.size() + n > static_cast<size_t>(entry.size)) too_long = true;
          if (!too_long) m.data.append(p, n);
        });
        if (too_long || static_cast<std::int64_t>(m.data.size()) != entry.size) {
          throw UpdateError(kUnlhaBrokenData, "大きさがヘッダと合いません: " + entry.name);
        }
      }
      members.push_back(std::move(m));
    }
  } catch (const LzhError& e) {
    throw UpdateError(kUnlhaNotArchive, std::string("書庫を読めません: ") + e.what());
  }
  return members;
}

template <typename Writer>
std::string Pack(const std::vector<Member>& members, const ProgressCallback& progress) {
  Writer writer;
  const size_t total = members.size();
  if (progress && !progress(0, total)) throw UpdateError(kUnlhaCancelled, "中止しました");
  for (size_t i = 0; i < total; ++i) {
    writer.Add(members[i].info, members[i].data);
    if (progress && !progress(i + 1, total)) throw UpdateError(kUnlhaCancelled, "中止しました");
  }
  return writer.Finish();
}

}  // namespace

UpdateResult ArchiveUpdater::Update(const fs::path& archive_path,
                                    const std::vector<fs::path>& files,
                                    const ProgressCallback& progress) {
  UpdateResult result;
  const ArchiveFormat format = FormatOfArchiveName(archive_path.filename().string());
  std::error_code ec;
  bool exists = fs::exists(archive_path, ec);
  if (exists && !fs::is_regular_file(archive_path, ec)) {
    throw UpdateError(kUnlhaCannotWrite,
                      "書庫の名前がファイルではありません: " + archive_path.string());
  }
  std::vector<Member> members;
  if (exists) members = ReadMembers(archive_path, format);
  std::map<std::string, size_t> index;
  for (size_t i = 0; i < members.size(); ++i) index[cp932::FoldAsciiCase(members[i].info.name)] = i;
  const size_t original_count = members.size();
  std::vector<bool> replaced(members.size(), false);

  for (const fs::path& file : files) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) {
      throw UpdateError(kUnlhaCannotRead, "ファイルがありません: " + file.string());
    }
    // Only plain files are packed; a folder given among them used to be passed over in
    // silence, and the command reported success for an archive that never changed.
    if (S_ISDIR(st.st_mode))
      throw UpdateError(kUnlhaCannotRead, "フォルダは圧縮できません: " + file.string());
    if (!S_ISREG(st.st_mode))
      throw UpdateError(kUnlhaCannotRead, "通常のファイルではありません: " + file.string());
    if (exists && fs::equivalent(file, archive_path, ec))
      continue;  // never pack the archive into itself
    Member m;
    bool exact = true;
    if (format == ArchiveFormat::kZip) {
      m.info.name = file.filename().string();
      if (!IsUtf8(m.info.name) || m.info.name.empty()) {
        throw UpdateError(kUnlhaCannotRead, "UTF-8 でない名前です: " + file.string());
      }
    } else {
      m.info.name = platform::Cp932FromPath(file.filename(), &exact);
      if (!exact || m.info.name.empty()) {
        throw UpdateError(kUnlhaCannotRead, "シフトJISで表せない名前です: " + file.string());
      }
    }
    m.info.mtime = st.st_mtime;
    if (!platform::ReadFile(file, m.data)) {
      throw UpdateError(kUnlhaCannotRead, "ファイルを読めません: " + file.string());
    }
    std::string key = cp932::FoldAsciiCase(m.info.name);
    auto it = index.find(key);
    if (it != index.end()) {
      // A listed file replaces the member, or the copy listed earlier in the same command.
      if (it->second < original_count && !replaced[it->second]) {
        replaced[it->second] = true;
        ++result.replaced;
      }
      members[it->second] = std::move(m);
    } else {
      index[key] = members.size();
      members.push_back(std::move(m));
      ++result.added;
    }
  }
  result.kept = static_cast<int>(original_count) - result.replaced;
  if (!exists && members.empty())
    throw UpdateError(kUnlhaCannotRead, "圧縮するファイルがありません");
  if (exists && result.added == 0 && result.replaced == 0) return result;

  std::string bytes;
  try {
    bytes = format == ArchiveFormat::kZip ? Pack<ZipWriter>(members, progress)
                                          : Pack<LzhWriter>(members, progress);
  } catch (const std::length_error& e) {
    throw UpdateError(kUnlhaCannotWrite, std::string("書庫に収められません: ") + e.what());
  } catch (const std::runtime_error& e) {
    if (dynamic_cast<const UpdateError*>(&e)) throw;
    throw UpdateError(kUnlhaCannotWrite, std::string("書庫を作れません: ") + e.what());
  }
  if (!platform::ReplaceFile(archive_path, bytes, ec)) {
    throw UpdateError(kUnlhaCannotWrite,
                      "書庫を書き込めません: " + archive_path.string() + ": " + ec.message());
  }
  return result;
}

}  // namespace archive
