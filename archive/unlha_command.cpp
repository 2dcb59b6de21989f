#include "archive/unlha_command.h"

#include <sys/stat.h>

#include <exception>

#include "archive/archive_extractor.h"
#include "archive/archive_format.h"
#include "archive/archive_updater.h"
#include "archive/lzh_header_scan.h"
#include "archive/lzh_reader.h"
#include "archive/unlha_command_line.h"
#include "archive/unlha_result.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

int List(const fs::path& archive_path, std::string& output) {
  const ArchiveFormat format = FormatOfArchiveName(archive_path.filename().string());
  std::string bytes;
  std::error_code ec;
  if (!fs::is_regular_file(archive_path, ec) || !platform::ReadFile(archive_path, bytes)) {
    output = "書庫がありません: " + archive_path.string() + "\n";
    return kUnlhaNoArchive;
  }
  try {
    LzhReader reader{std::string_view(bytes), format};
    LzhEntry entry;
    while (reader.Next(entry)) {
      // libarchive does not tell a ZIP member's packed size either; only LZH headers are read.
      std::optional<std::uint64_t> packed;
      if (format == ArchiveFormat::kLzh) {
        packed = PackedSizeAt(bytes, static_cast<std::uint64_t>(entry.header_offset));
      }
      output += (entry.name_decoded ? entry.name : std::string("?")) + "\t" +
                std::to_string(entry.size) + "\t" +
                (packed ? std::to_string(*packed) : std::string("?")) + "\t" + entry.method + "\n";
    }
  } catch (const LzhError& e) {
    output += std::string(e.what()) + "\n";
    return kUnlhaNotArchive;
  }
  return kUnlhaOk;
}

int Update(const UnlhaCommandLine& line, std::string& output, const ProgressCallback& progress) {
  std::vector<fs::path> files;
  for (const std::string& f : line.files) files.push_back(platform::PathFromCp932(f));
  try {
    UpdateResult r = ArchiveUpdater::Update(platform::PathFromCp932(line.archive), files, progress);
    output = "追加 " + std::to_string(r.added) + " 更新 " + std::to_string(r.replaced) + " 保持 " +
             std::to_string(r.kept) + "\n";
    return kUnlhaOk;
  } catch (const UpdateError& e) {
    output = std::string(e.what()) + "\n";
    return e.result();
  }
}

int Extract(const UnlhaCommandLine& line, std::string& output, const ProgressCallback& progress) {
  ArchiveExtractor extractor(platform::CurrentDir(), line.overwrite);
  extractor.SetProgress(progress);
  ExtractResult r = extractor.Extract(platform::PathFromCp932(line.archive));
  for (const std::string& problem : r.problems) output += problem + "\n";
  output += "展開 " + std::to_string(r.extracted) + " 省略 " + std::to_string(r.skipped) + "\n";
  return r.result;
}

}  // namespace

int RunUnlhaCommand(std::string_view command_line, std::string& output,
                    const ProgressCallback& progress) {
  output.clear();
  try {
    std::string why;
    auto exists = [](const std::string& name) {
      struct stat st;
      return ::stat(platform::PathFromCp932(name).c_str(), &st) == 0;
    };
    std::optional<UnlhaCommandLine> line = ParseUnlhaCommandLine(command_line, exists, &why);
    if (!line) {
      output = why + "\n";
      return kUnlhaBadCommand;
    }
    switch (line->command) {
      case 'U':
        return Update(*line, output, progress);
      case 'X':
        return Extract(*line, output, progress);
      default:
        return List(platform::PathFromCp932(line->archive), output);
    }
  } catch (const std::exception& e) {
    output = std::string("内部エラー: ") + e.what() + "\n";
    return kUnlhaInternal;
  }
}

}  // namespace archive
