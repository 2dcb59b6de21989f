// mirune-cli month: the rows of both grids as the main window shows them, with the settings
// read from the settings file as the window reads them.
#include <cstdio>
#include <ctime>
#include <iostream>

#include "cli/cli_context.h"
#include "cli/cli_text.h"
#include "month/main_settings.h"
#include "month/month_model.h"
#include "platform/cp932.h"
#include "settings/ini_store.h"

namespace cli {
namespace {

std::string Hex(month::ColourValue colour) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", colour);
  return buffer;
}

// The shown lines joined with " / ", control characters escaped.
std::string JoinedText(const std::string& text) {
  std::string joined;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    if (!joined.empty() || pos > 0) joined += " / ";
    joined += text.substr(pos, end - pos);
    pos = end + 2;
  }
  return EscapeControls(cp932::ToUtf8(joined));
}

int RunMonth(CliContext& context, const Args& args) {
  int year = 0, month = 0;
  char tail;
  if (args.empty() || args[0].size() != 7 ||
      std::sscanf(args[0].c_str(), "%4d-%2d%c", &year, &month, &tail) != 2 || month < 1 ||
      month > 12 || year < 1) {
    throw UsageError("月は YYYY-MM で指定してください");
  }
  month::MonthView view{year, month, 1, false, false, false};
  if (args.size() == 3 && args[1] == "--half" && (args[2] == "first" || args[2] == "second")) {
    view.half_month = true;
    view.first_half = args[2] == "first";
    view.second_half = args[2] == "second";
  } else if (args.size() != 1) {
    throw UsageError("使い方: month YYYY-MM [--half first|second]");
  }
  month::MainSettings settings;
  month::ReadMainSettings(settings::IniStore(context.IniPath()), settings);
  std::time_t now = std::time(nullptr);
  std::tm local = *std::localtime(&now);
  calendar::ChosenHolidayRules holidays;
  calendar::LunarAlmanac lunar;
  month::ApplyCalendarChoices(settings, holidays, lunar);
  month::DateColumn column = month::BuildDateColumn(
      view, {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, settings, holidays, lunar);
  std::array<daydata::TLightStrings, 33> lists;
  month::LoadDaySummaries(context.ExistingDataDir(), view, lists);
  month::MonthLayout layout = month::LayoutOf(view);
  for (int grid = 0; grid < 2; ++grid) {
    const auto& cells = grid == 0 ? column.left : column.right;
    const month::GridMonth& months = grid == 0 ? layout.left : layout.right;
    for (int row = 0; row < 16; ++row) {
      const month::DateCell& cell = cells[static_cast<size_t>(row)];
      month::ShownText shown = month::ShownTextOf(lists[static_cast<size_t>(months.ListOf(row))]);
      std::ostream& out = *context.out;
      out << (grid == 0 ? 'L' : 'R') << '\t' << row << '\t';
      if (cell.has_day) {
        out << FormatDate(cell.year, cell.month, cell.day) << '\t' << cp932::ToUtf8(cell.date_text)
            << '\t' << cp932::ToUtf8(cell.rokuyou_text) << '\t' << cp932::ToUtf8(cell.holiday_name)
            << '\t' << Hex(cell.date_colour);
      } else {
        out << "\t\t\t\t";
      }
      out << '\t' << Hex(shown.colour) << '\t' << JoinedText(shown.text) << '\n';
    }
  }
  return 0;
}

CommandRegistration registration("month", "month YYYY-MM [--half first|second]", RunMonth);

}  // namespace
}  // namespace cli
