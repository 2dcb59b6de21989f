// mirune-cli config: one setting read or written as the schema types it: integers, switches
// and colours as plain decimal, strings with the settings file's bracket rule.
#include <iostream>

#include "cli/cli_context.h"
#include "cli/cli_text.h"
#include "platform/cp932.h"
#include "platform/integer_text.h"
#include "settings/ini_store.h"
#include "settings/schema.h"

namespace cli {
namespace {

using settings::ValueType;

constexpr char kUsage[] = "config get SECTION KEY | config set SECTION KEY VALUE";

// The number the user typed for an integer, boolean or colour key, checked against the
// schema; decimal, or hexadecimal after "$" or "0x" (colours are often written so).
std::int32_t NumberFor(const settings::KnownKey& known, const std::string& text) {
  std::optional<std::int32_t> value = platform::ParseInteger(text);
  const settings::Key& key = *known.key;
  // The parts of a font or placement are integers of no stated range.
  const bool whole_key = known.type == key.type;
  if (!value || (whole_key && !settings::Accepts(key, *value))) {
    switch (whole_key ? key.type : ValueType::kInteger) {
      case ValueType::kBoolean:
        throw UsageError("このキーには 0 か 1 を指定してください: " + text);
      case ValueType::kColour:
        throw UsageError("色は 0 から 16777215 (0x00BBGGRR) かシステムカラーで指定してください: " +
                         text);
      default:
        if (whole_key && key.choices != 0) {
          std::string list;
          for (int n = 0; n < 32; ++n) {
            if (key.choices >> n & 1u) list += (list.empty() ? "" : ", ") + std::to_string(n);
          }
          throw UsageError("このキーに指定できる値は " + list + " です: " + text);
        }
        if (whole_key && (key.min != INT32_MIN || key.max != INT32_MAX)) {
          throw UsageError("このキーには " + std::to_string(key.min) + " から " +
                           std::to_string(key.max) + " の整数を指定してください: " + text);
        }
        throw UsageError("整数を指定してください: " + text);
    }
  }
  if (settings::IsFontSizePart(known) &&
      (*value < settings::kMinFontSize || *value > settings::kMaxFontSize)) {
    throw UsageError("フォントの大きさは " + std::to_string(settings::kMinFontSize) + " から " +
                     std::to_string(settings::kMaxFontSize) + " で指定してください: " + text);
  }
  return *value;
}

int Get(CliContext& context, const settings::IniStore& ini, const std::string& section,
        const std::string& key) {
  std::optional<settings::KnownKey> known = settings::FindKey(section, key);
  if (!known) {
    *context.err << "注意 不明なキーのため文字列として読みます\n";
    *context.out << cp932::ToUtf8(ini.ReadString(section, key, "")) << "\n";
    return 0;
  }
  const settings::Key& entry = *known->key;
  const bool whole_key = known->type == entry.type;
  switch (known->type) {
    case ValueType::kInteger:
    case ValueType::kColour:
      *context.out << ini.ReadInteger(section, key, whole_key ? entry.default_value : 0) << "\n";
      return 0;
    case ValueType::kBoolean:
      *context.out << (ini.ReadBool(section, key, entry.default_value != 0) ? 1 : 0) << "\n";
      return 0;
    case ValueType::kString:
      *context.out << cp932::ToUtf8(
                          ini.ReadString(section, key, whole_key ? entry.default_text : ""))
                   << "\n";
      return 0;
    case ValueType::kFont:
    case ValueType::kPlacement:
      break;
  }
  throw UsageError("フォントとウィンドウ位置は " + std::string(entry.name) +
                   ".Size などの個々のキーで指定してください");
}

void Set(CliContext& context, settings::IniStore& ini, const std::string& section,
         const std::string& key, const std::string& value_utf8) {
  std::optional<settings::KnownKey> known = settings::FindKey(section, key);
  const std::string value = ToCp932(value_utf8, "値");
  if (!known) {
    *context.err << "注意 不明なキーのため文字列として書き込みます\n";
    ini.WriteString(section, key, value);
    return;
  }
  switch (known->type) {
    case ValueType::kInteger:
    case ValueType::kColour:
      ini.WriteInteger(section, key, NumberFor(*known, value_utf8));
      return;
    case ValueType::kBoolean:
      ini.WriteBool(section, key, NumberFor(*known, value_utf8) != 0);
      return;
    case ValueType::kString:
      ini.WriteString(section, key, value);
      return;
    case ValueType::kFont:
    case ValueType::kPlacement:
      break;
  }
  throw UsageError("フォントとウィンドウ位置は " + std::string(known->key->name) +
                   ".Size などの個々のキーで指定してください");
}

int RunConfig(CliContext& context, const Args& args) {
  settings::IniStore ini(context.IniPath());
  if (args.size() == 3 && args[0] == "get") {
    return Get(context, ini, ToCp932(args[1], "セクション名"), ToCp932(args[2], "キー名"));
  }
  if (args.size() == 4 && args[0] == "set") {
    const std::string section = ToCp932(args[1], "セクション名");
    const std::string key = ToCp932(args[2], "キー名");
    try {
      Set(context, ini, section, key, args[3]);
    } catch (const std::system_error& e) {
      throw CommandError("設定ファイルに書き込めません: " + std::string(e.what()));
    }
    return 0;
  }
  throw UsageError(std::string("使い方: ") + kUsage);
}

CommandRegistration registration("config", kUsage, RunConfig);

}  // namespace
}  // namespace cli
