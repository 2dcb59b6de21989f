// mirune-cli ics: the days as an iCalendar file and back, and the holiday, rokuyou and
// solar-term feeds. Files are UTF-8 iCalendar; the day files stay code page 932.
#include <cstdio>
#include <ctime>
#include <iostream>

#include "cli/cli_context.h"
#include "ical/calendar_feed.h"
#include "ical/day_export.h"
#include "ical/day_import.h"
#include "platform/cp932.h"
#include "platform/file_system.h"

namespace cli {
namespace {

constexpr const char* kUsage =
    "使い方: ics export [FROM-YEAR [TO-YEAR]] [-o FILE] | ics import FILE [--from DATE] "
    "[--to DATE] [--zone ZONE] [--dry-run] [--replace-unsupported] | ics feed [--holidays] "
    "[--rokuyou] [--sekki] FROM-YEAR [TO-YEAR] [-o FILE]";

int Year(const std::string& text, int low, int high) {
  bool digits = !text.empty() && text.size() <= 4 &&
                text.find_first_not_of("0123456789") == std::string::npos;
  int year = digits ? std::stoi(text) : 0;
  if (!digits || year < low || year > high) {
    throw UsageError("年は " + std::to_string(low) + " から " + std::to_string(high) +
                     " で指定してください: " + text);
  }
  return year;
}

// The calendar text to the file of -o (replaced atomically), else to standard output.
void Output(CliContext& context, const std::optional<std::string>& file, const std::string& text) {
  if (!file) {
    *context.out << text;
    return;
  }
  std::error_code error;
  if (!platform::ReplaceFile(*file, text, error)) {
    throw CommandError("書き込めません: " + *file + " (" + error.message() + ")");
  }
}

// "-o FILE" is taken out of the arguments; the rest are returned.
Args TakeOutput(const Args& given, std::optional<std::string>& file) {
  Args rest;
  for (size_t i = 0; i < given.size(); ++i) {
    if (given[i] == "-o") {
      if (i + 1 >= given.size()) throw UsageError("-o にはファイル名が必要です");
      file = given[++i];
    } else {
      rest.push_back(given[i]);
    }
  }
  return rest;
}

int Export(CliContext& context, const Args& given) {
  std::optional<std::string> file;
  Args args = TakeOutput(given, file);
  if (args.size() > 2) throw UsageError(kUsage);
  int first = args.empty() ? 1 : Year(args[0], 1, 9999);
  int last = args.size() == 2 ? Year(args[1], first, 9999) : args.empty() ? 9999 : first;
  ical::ExportedDays exported =
      ical::ExportDays(context.ExistingDataDir(), first, last, std::time(nullptr));
  Output(context, file, exported.text);
  if (file) *context.err << exported.days << " 日を書き出しました: " << *file << "\n";
  return 0;
}

std::string MissingList(const std::u32string& missing) {
  std::string list;
  for (char32_t c : missing) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::u16string one;
    if (c < 0x10000) {
      one = std::u16string(1, static_cast<char16_t>(c));
    } else {
      one = {static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
             static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
    }
    list += (list.empty() ? "" : " ") + cp932::Utf16ToUtf8(one) + " (" + code + ")";
  }
  return list;
}

int Import(CliContext& context, const Args& args) {
  if (args.empty()) throw UsageError(kUsage);
  ical::ReadOptions options;
  bool dry_run = false, replace = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--dry-run") {
      dry_run = true;
    } else if (option == "--replace-unsupported") {
      replace = true;
    } else if ((option == "--from" || option == "--to" || option == "--zone") &&
               i + 1 < args.size()) {
      const std::string& value = args[++i];
      if (option == "--zone") {
        options.zone = value;
      } else {
        Date date = ParseDate(value);
        (option == "--from" ? options.from : options.to) =
            ical::DayDate{date.year, date.month, date.day};
      }
    } else {
      throw UsageError("不明な指定です: " + option);
    }
  }
  if (options.from && options.to && *options.to < *options.from) {
    throw UsageError("--to の日付が --from より前です");
  }
  std::string text;
  if (!platform::ReadFile(args[0], text)) throw CommandError("ファイルが読めません: " + args[0]);
  std::filesystem::path data_dir = context.ExistingDataDir(!dry_run);
  ical::ImportPlan plan;
  try {
    plan = ical::PlanImport(ical::ReadIcs(text, options), data_dir, platform::CurrentDir());
  } catch (const ical::IcsError& e) {
    throw CommandError(args[0] + ": " + e.what());
  }
  *context.out << ical::ImportSummary(plan) << "\n";
  if (!plan.unrepresentable.empty() && !replace) {
    throw CommandError("シフトJISで表せない文字があります: " + MissingList(plan.unrepresentable) +
                       "。--replace-unsupported を付けると「?」に置き換えて読み込みます");
  }
  if (dry_run) return 0;
  ical::ImportResult result = ical::ApplyImport(plan, platform::CurrentDir());
  for (const std::string& failure : result.failures)
    *context.err << "書き込めません: " << failure << "\n";
  return result.failures.empty() ? 0 : 2;
}

int Feed(CliContext& context, const Args& given) {
  std::optional<std::string> file;
  Args args;
  ical::FeedChoice choice;
  for (const std::string& arg : TakeOutput(given, file)) {
    if (arg == "--holidays") {
      choice.holidays = true;
    } else if (arg == "--rokuyou") {
      choice.rokuyou = true;
    } else if (arg == "--sekki") {
      choice.solar_terms = true;
    } else {
      args.push_back(arg);
    }
  }
  if (args.empty() || args.size() > 2) throw UsageError(kUsage);
  if (!choice.holidays && !choice.rokuyou && !choice.solar_terms) {
    choice = {true, true, true};
  }
  int first = Year(args[0], ical::FeedFirstYear(), ical::FeedLastYear());
  int last = args.size() == 2 ? Year(args[1], first, ical::FeedLastYear()) : first;
  Output(context, file, ical::CalendarFeed(choice, first, last, std::time(nullptr)));
  return 0;
}

int RunIcs(CliContext& context, const Args& args) {
  if (args.empty()) throw UsageError(kUsage);
  Args rest(args.begin() + 1, args.end());
  try {
    if (args[0] == "export") return Export(context, rest);
    if (args[0] == "import") return Import(context, rest);
    if (args[0] == "feed") return Feed(context, rest);
  } catch (const ical::IcsError& e) {
    throw CommandError(e.what());
  }
  throw UsageError(kUsage);
}

CommandRegistration ics_registration(
    "ics",
    "ics export [FROM-YEAR [TO-YEAR]] [-o FILE] | ics import FILE [--from DATE] [--to DATE] "
    "[--zone ZONE] [--dry-run] [--replace-unsupported] | ics feed [--holidays] [--rokuyou] "
    "[--sekki] FROM-YEAR [TO-YEAR] [-o FILE]",
    RunIcs);

}  // namespace
}  // namespace cli
