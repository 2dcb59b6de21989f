// mirune-cli day / stamp: reading, writing and stamping one day file through the day store.
#include <iostream>
#include <iterator>

#include "cli/cli_context.h"
#include "cli/cli_text.h"
#include "daydata/day_store.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "settings/settings_location.h"

namespace cli {
namespace {

// Notices of the store go to standard error; a data folder made anew becomes the setting, as
// it does in the program.
class CliStoreHost : public daydata::DayStoreHost {
 public:
  explicit CliStoreHost(CliContext& context) : context_(context) {}
  void Notice(const std::string& text, const std::string& caption) override {
    *context_.err << caption << " " << text << "\n";
  }
  void DataDirRecreated(const std::filesystem::path& dir) override {
    settings::IniStore ini(context_.IniPath());
    if (!settings::WriteDataFolderSetting(ini, dir)) {
      *context_.err << "注意 データフォルダの名前をシフトJISで表せないため、設定ファイルに"
                       "記録しません: "
                    << dir.string() << "\n";
    }
  }

 private:
  CliContext& context_;
};

int RunDay(CliContext& context, const Args& args) {
  if (args.empty()) throw UsageError("日付を指定してください");
  Date date = ParseDate(args[0]);
  bool write = false, show_colour = false;
  std::optional<int> colour;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--write") {
      write = true;
    } else if (args[i] == "--colour" && !write) {
      show_colour = true;
    } else if (args[i] == "--colour" && i + 1 < args.size()) {
      const std::string& code = args[++i];
      if (code.size() != 1 || code[0] < '0' || code[0] > '4') {
        throw UsageError("色は 0 から 4 で指定してください: " + code);
      }
      colour = code[0] - '0';
    } else {
      throw UsageError("不明な指定です: " + args[i]);
    }
  }
  CliStoreHost host(context);
  daydata::DayStore store(context.ExistingDataDir(write), platform::CurrentDir(), &host);
  std::filesystem::path path = store.DayFilePath(date.year, date.month, date.day);
  if (!write) {
    daydata::LoadedDay day = daydata::DayStore::LoadDay(path);
    if (show_colour) *context.out << day.colour << "\n";
    *context.out << ForTerminal(day.text);
    return 0;
  }
  std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  std::string text = ToCp932(input, "入力");
  // Without --colour the day keeps the colour it has, as the entry dialog keeps it.
  int code = colour.value_or(daydata::DayStore::LoadDay(path).colour);
  try {
    store.SaveDay(path, text, std::to_string(code));
  } catch (const daydata::EDayWriteError& e) {
    throw CommandError("書き込めません: " + std::string(e.what()));
  }
  return 0;
}

int RunStamp(CliContext& context, const Args& args) {
  if (args.size() != 2) throw UsageError("使い方: stamp YYYY-MM-DD LABEL");
  Date date = ParseDate(args[0]);
  std::string label = ToCp932(args[1], "ラベル");
  daydata::DayStore store(context.ExistingDataDir(true), platform::CurrentDir());
  std::filesystem::path path = store.DayFilePath(date.year, date.month, date.day);
  // The year folder is made one level deep, as the holiday writer makes it.
  std::error_code ec;
  std::filesystem::create_directory(path.parent_path(), ec);
  try {
    daydata::DayStore::StampDay(path, label);
  } catch (const daydata::EDayWriteError& e) {
    throw CommandError("書き込めません: " + std::string(e.what()));
  }
  return 0;
}

CommandRegistration day_registration(
    "day", "day YYYY-MM-DD [--colour] | day YYYY-MM-DD --write [--colour N]", RunDay);
CommandRegistration stamp_registration("stamp", "stamp YYYY-MM-DD LABEL", RunStamp);

}  // namespace
}  // namespace cli
