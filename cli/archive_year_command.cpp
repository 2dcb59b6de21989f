// mirune-cli archive-year YEAR ARCHIVE: packs the day files of a year's folder into ARCHIVE with
// a backup of the previous archive, as the program does when it closes, so that it can run
// from cron. Status 0 when packed, 1 when the folder holds no day files, 2 on failure (the old
// archive and backup are then untouched).
#include <iostream>

#include "archive/archiver_library.h"
#include "archive/year_archive.h"
#include "cli/cli_context.h"

namespace cli {
namespace {

constexpr char kUsage[] = "archive-year YEAR ARCHIVE";

int RunArchiveYear(CliContext& context, const Args& args) {
  if (args.size() != 2) throw UsageError(std::string("使い方: ") + kUsage);
  const std::string& year = args[0];
  if (year.empty() || year.size() > 4 ||
      year.find_first_not_of("0123456789") != std::string::npos) {
    throw UsageError("年は数字で指定してください: " + year);
  }
  archive::ArchiverLibrary library;
  if (library.Load() != archive::ArchiverLibrary::LoadState::kLoaded) {
    throw CommandError("書庫ライブラリを読み込めません: " + library.load_error());
  }
  archive::YearArchiveResult r =
      archive::CompressYearFolder(library, context.ExistingDataDir() / year, args[1]);
  library.Release();
  const std::string message = archive::YearArchiveMessage(r);
  switch (r.outcome) {
    case archive::YearArchiveResult::Outcome::kCompressed:
      *context.out << message << "\n";
      return 0;
    case archive::YearArchiveResult::Outcome::kNoDayFiles:
      *context.err << message << "\n";
      return 1;
    default:
      throw CommandError(message);
  }
}

CommandRegistration archive_year_registration("archive-year", kUsage, RunArchiveYear);

}  // namespace
}  // namespace cli
