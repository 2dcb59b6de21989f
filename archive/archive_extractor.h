// Extracts a whole LZH archive into a destination folder, writing nothing outside it. Each
// member is written to a temporary file in its folder and renamed into place only once its
// size and CRC have checked out and the data are on the disk (one flush for a batch of members),
// so neither a broken archive nor a crash leaves half a file under a member's name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_progress.h"
#include "archive/lzh_reader.h"

namespace archive {

// Members whose claimed size is beyond this are refused: day files are tiny, and a header
// claiming gigabytes is an attack on the disk rather than data.
inline constexpr std::int64_t kMaxMemberSize = std::int64_t{1} << 30;

struct ExtractResult {
  int result = 0;  // UnlhaResult: the first failure met
  int extracted = 0;
  int skipped = 0;                    // kept because the file on disk is not older
  std::vector<std::string> problems;  // one UTF-8 line per refused member or error
};

class ArchiveExtractor {
 public:
  // `overwrite` replaces existing files whatever their time stamps; otherwise a file on disk
  // that is as new as the member or newer is kept.
  ArchiveExtractor(std::filesystem::path destination, bool overwrite)
      : destination_(std::move(destination)), overwrite_(overwrite) {}
  ~ArchiveExtractor();
  ArchiveExtractor(const ArchiveExtractor&) = delete;
  ArchiveExtractor& operator=(const ArchiveExtractor&) = delete;

  // `progress` hears of every member handled, out of the archive's member count; when it
  // cancels, extraction stops before the next member (kUnlhaCancelled).
  void SetProgress(ProgressCallback progress) { progress_ = std::move(progress); }

  // A name ending in ".zip" is read as a ZIP archive, any other as LZH.
  ExtractResult Extract(const std::filesystem::path& archive_path);
  ExtractResult Extract(LzhReader& reader, std::size_t total = 0);

 private:
  // False when reading must stop (the data stream can no longer be trusted).
  bool ExtractFile(LzhReader& reader, const LzhEntry& entry, const std::filesystem::path& relative,
                   ExtractResult& result);

  // Flushes the file system once and renames the written members into place.
  void Flush(ExtractResult& result);

  struct Pending {
    std::string temp;
    std::filesystem::path target;
    std::string name;
  };
  static constexpr std::size_t kBatch = 512;

  std::filesystem::path destination_;
  bool overwrite_;
  ProgressCallback progress_;
  std::vector<Pending> pending_;
};

}  // namespace archive
