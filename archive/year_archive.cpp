#include "archive/year_archive.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "archive/unlha_result.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

// A name for the new archive beside the old one that nothing uses yet; it keeps the archive's
// own name at its end, so the library writes the same format.
fs::path FreshNameBeside(const fs::path& archive_path) {
  std::error_code ec;
  for (unsigned n = 0;; ++n) {
    fs::path candidate =
        archive_path.parent_path() / (".mirune-new-" + std::to_string(::getpid()) + "-" +
                                      std::to_string(n) + "-" + archive_path.filename().string());
    if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
  }
}

// Always quoted: unquoted, the library ends the name at the first ".lzh" or ".zip" followed
// by a blank, which a folder's name may hold. A quote cannot be passed at all.
bool QuotedCp932(const fs::path& path, std::string& out) {
  bool exact = true;
  out = platform::Cp932FromPath(path, &exact);
  if (!exact || out.find('"') != std::string::npos) return false;
  out = "\"" + out + "\"";
  return true;
}

fs::path WithoutTrailingSeparator(fs::path p) {
  p = fs::absolute(p).lexically_normal();
  if (!p.has_filename() && p.has_parent_path() && p != p.root_path()) p = p.parent_path();
  return p;
}

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

}  // namespace

fs::path BackupArchivePath(const fs::path& year_folder, ArchiveFormat format) {
  fs::path folder = WithoutTrailingSeparator(year_folder);
  return fs::path(folder.string() + (format == ArchiveFormat::kZip ? ".ZIP" : ".LZH"));
}

std::vector<std::string> DayFileNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const platform::FoundFile& f : platform::FindFiles(
           folder, "*.dat",
           platform::kAttrHidden | platform::kAttrSystem | platform::kAttrDirectory)) {
    if (f.attributes & (platform::kAttrDirectory | platform::kAttrReparsePoint)) continue;
    names.push_back(f.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

YearArchiveResult CompressYearFolder(ArchiverLibrary& library, const fs::path& year_folder,
                                     const fs::path& archive_path,
                                     const ProgressCallback& progress) {
  YearArchiveResult result;
  result.folder = WithoutTrailingSeparator(year_folder);
  result.archive = fs::absolute(archive_path).lexically_normal();
  const ArchiveFormat format = FormatOfArchiveName(result.archive.filename().string());
  result.backup = BackupArchivePath(result.folder, format);
  auto fail = [&](std::string reason) {
    result.outcome = YearArchiveResult::Outcome::kFailed;
    result.reason = Trimmed(std::move(reason));
    return result;
  };

  std::vector<std::string> names = DayFileNames(result.folder);
  if (names.empty()) {
    result.outcome = YearArchiveResult::Outcome::kNoDayFiles;
    return result;
  }
  std::error_code ec;
  const bool had_archive = fs::exists(result.archive, ec);
  if (had_archive && !fs::is_regular_file(result.archive, ec)) {
    return fail("圧縮ファイルの名前がファイルではありません");
  }

  // The list the library receives: every day file by its full path, each on a line of its own.
  const fs::path fresh = FreshNameBeside(result.archive);
  std::string command, name;
  if (!QuotedCp932(fresh, name)) return fail("シフトJISで表せない名前は使えません");
  command = "U " + name + " ";
  for (const std::string& day : names) {
    bool exact = true;
    std::string line = platform::Cp932FromPath(result.folder / day, &exact);
    if (!exact) return fail("シフトJISで表せない名前のファイルがあります: " + day);
    command += line + "\r\n";
  }

  std::string output;
  int code = library.Run(command, &output, 4096, progress);
  auto discard = [&] { fs::remove(fresh, ec); };
  if (code == kUnlhaCancelled) {
    discard();
    result.outcome = YearArchiveResult::Outcome::kCancelled;
    return result;
  }
  if (code != kUnlhaOk || !fs::is_regular_file(fresh, ec)) {
    discard();
    if (code == kUnlhaOk) output = "圧縮ファイルが作られませんでした";
    return fail(output.empty() ? "圧縮ライブラリがエラー " + std::to_string(code) + " を返しました"
                               : output);
  }

  // Only now is the previous archive copied to the backup. A backup of the archive's own name
  // would be overwritten by the new archive at once, so none is made then.
  const bool backup_is_archive = fs::equivalent(result.backup, result.archive, ec);
  if (had_archive && !backup_is_archive) {
    std::string bytes;
    if (!platform::ReadFile(result.archive, bytes)) {
      discard();
      return fail("前回の圧縮ファイルを読めません");
    }
    if (!platform::ReplaceFile(result.backup, bytes, ec)) {
      std::string why = ec.message();
      discard();
      return fail("バックアップを書き込めません: " + result.backup.string() + ": " + why);
    }
    result.backed_up = true;
  }
  fs::rename(fresh, result.archive, ec);
  if (ec) {
    std::string why = ec.message();
    discard();
    return fail("圧縮ファイルを置き換えられません: " + why);
  }
  result.files = static_cast<int>(names.size());
  result.outcome = YearArchiveResult::Outcome::kCompressed;
  return result;
}

std::string YearArchiveMessage(const YearArchiveResult& r) {
  using Outcome = YearArchiveResult::Outcome;
  switch (r.outcome) {
    case Outcome::kCompressed:
      if (r.backed_up) {
        return r.archive.string() + "に圧縮しました.\n前回の圧縮ﾌｧｲﾙを" + r.backup.string() +
               "でﾊﾞｯｸｱｯﾌﾟを取ってあります.";
      }
      return "新しいﾌｧｲﾙの圧縮はしましたが\n前回の圧縮ﾌｧｲﾙのﾊﾞｯｸｱｯﾌﾟはしていません.";
    case Outcome::kNoDayFiles:
      return r.folder.string() + "には圧縮するデータファイルがありません。\n" + r.archive.string() +
             "はそのままです。";
    case Outcome::kCancelled:
      return "圧縮を中止しました。\n" + r.archive.string() + "とバックアップはそのままです。";
    case Outcome::kFailed:
      break;
  }
  return r.archive.string() + "に圧縮できませんでした。\n" + r.reason +
         "\n前回の圧縮ファイルとバックアップはそのままです。";
}

}  // namespace archive
