// mirune-cli birthdays / specialdays: the birthday and special-day lists of the start-up folder
// (or --lists DIR). "write YEAR" stamps every record's label into that year's day files, as the
// write buttons of the options dialog do; "list" prints the records in file order, UTF-8.
#include <ostream>

#include "cli/cli_context.h"
#include "daydata/day_store.h"
#include "daydata/yearly_day_list.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/integer_text.h"
#include "settings/ini_store.h"
#include "settings/schema.h"

namespace fs = std::filesystem;

namespace cli {
namespace {

using daydata::SpecialListKind;

int Year(const std::string& text) {
  std::optional<std::int32_t> value = platform::ParseInteger(text);
  bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  // Four digits keep the day files' names in their fixed layout.
  if (!value || !digits || *value < 1000 || *value > 9999) {
    throw UsageError("年は 1000 から 9999 で指定してください: " + text);
  }
  return *value;
}

int Run(CliContext& context, const Args& given, SpecialListKind kind) {
  const char* name = kind == SpecialListKind::kBirthday ? "birthdays" : "specialdays";
  const std::string usage = std::string("使い方: ") + name + " write YEAR [--lists DIR] | " + name +
                            " list [--lists DIR]";
  Args args;
  fs::path lists_dir = platform::CurrentDir();
  for (size_t i = 0; i < given.size(); ++i) {
    if (given[i] != "--lists") {
      args.push_back(given[i]);
    } else if (i + 1 < given.size()) {
      lists_dir = fs::absolute(given[++i]);
    } else {
      throw UsageError("--lists にはフォルダを指定してください");
    }
  }
  const bool write = args.size() == 2 && args[0] == "write";
  if (!write && !(args.size() == 1 && args[0] == "list")) throw UsageError(usage);
  const int year = write ? Year(args[1]) : 0;

  // A mistyped data folder is named before anything else is looked at.
  const fs::path data_dir = write ? context.ExistingDataDir(true) : fs::path();
  daydata::SpecialDayList list(kind);
  const fs::path file = daydata::SpecialListPath(lists_dir, kind);
  if (!list.Load(file)) {
    // No list is an empty list, as in the program; the user still hears where it was looked for.
    *context.err << "注意 リストのファイルがありません: " << file.string() << "\n";
    return 0;
  }
  if (!write) {
    for (const std::string& record : list.Records()) *context.out << cp932::ToUtf8(record) << "\n";
    return 0;
  }
  std::string suffix;
  if (kind == SpecialListKind::kBirthday) {
    const settings::IniStore ini(context.IniPath());
    suffix = daydata::BirthdaySuffixOf(ini.ReadInteger(settings::keys::BirthdaySuffix));
  }
  try {
    const int written = daydata::StampSpecialList(list, year, data_dir, suffix);
    *context.out << year << "年の " << written << " 日に書き込みました\n";
  } catch (const daydata::EDayWriteError& e) {
    throw CommandError("書き込めません: " + std::string(e.what()));
  } catch (const daydata::ESpecialRecordError& e) {
    throw CommandError(e.what());
  }
  return 0;
}

int RunBirthdays(CliContext& context, const Args& args) {
  return Run(context, args, SpecialListKind::kBirthday);
}
int RunSpecialDays(CliContext& context, const Args& args) {
  return Run(context, args, SpecialListKind::kSpecialDay);
}

CommandRegistration birthdays_registration(
    "birthdays", "birthdays write YEAR [--lists DIR] | birthdays list [--lists DIR]", RunBirthdays);
CommandRegistration specialdays_registration(
    "specialdays", "specialdays write YEAR [--lists DIR] | specialdays list [--lists DIR]",
    RunSpecialDays);

}  // namespace
}  // namespace cli
