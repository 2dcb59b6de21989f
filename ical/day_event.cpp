#include "ical/day_event.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "daydata/day_store.h"
#include "platform/cp932.h"

namespace ical {
namespace {

constexpr std::array<const char*, 5> kColourNames = {"black", "red", "blue", "green", "white"};
constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\n' && text[i] != '\r') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

// iCalendar text may not hold control characters other than the tab, and libical keeps values
// as C strings, so a NUL would cut the text short: other calendars see U+FFFD for each, while
// the exact bytes keep them.
std::string WithoutControls(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u < 0x20 && u != '\t') || u == 0x7F) {
      out += "\xEF\xBF\xBD";
    } else {
      out += c;
    }
  }
  return out;
}

// Calendars differ in the blanks they keep at the ends of a value and in their line ends, so
// texts are compared without ASCII white space: an edit that changes nothing else is no edit.
std::string Letters(std::string_view text) {
  std::string letters;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') letters += c;
  }
  return letters;
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos ||
         line == "\xE3\x80\x80";  // one ideographic space
}

}  // namespace

std::string DateText(const DayDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
  return text;
}

DayEventFields FieldsOfDay(std::string_view file_bytes) {
  DayEventFields fields;
  daydata::LoadedDay day = daydata::DayStore::ParseDay(file_bytes);
  if (day.source == daydata::ColourSource::kColourLine && day.colour != 0)
    fields.colour = day.colour;
  // The loaded text holds each line followed by CR LF, and no other line end.
  std::string_view text = day.text;
  bool first = true;
  while (!text.empty()) {
    size_t end = text.find("\r\n");
    std::string line = WithoutControls(cp932::ToUtf8(text.substr(0, end)));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
    if (!first) fields.description += '\n';
    first = false;
    fields.description += line;
    if (fields.summary.empty() && !IsBlank(line)) fields.summary = line;
  }
  // Most days are what the entry dialog writes: a colour line 1-4, then lines that code page
  // 932 decodes, each ended by CR LF. Their text gives the bytes back, so the bytes are not
  // carried twice. libical drops the blanks at either end of a value, so such a text is kept
  // exactly too.
  std::string rebuilt = fields.colour ? std::to_string(*fields.colour) + "\r\n" : "";
  for (const std::string& line : SplitLines(fields.description))
    rebuilt += cp932::FromUtf8(line) + "\r\n";
  const std::string& all = fields.description;
  bool blank_ends = !all.empty() && (all.front() == ' ' || all.front() == '\t' ||
                                     all.back() == ' ' || all.back() == '\t');
  if (rebuilt != file_bytes || blank_ends) fields.exact_base64 = Base64Encode(file_bytes);
  return fields;
}

const char* ColourName(int code) {
  return code >= 1 && code <= 4 ? kColourNames[static_cast<size_t>(code)] : "";
}

int ColourCodeOfName(std::string_view name) {
  for (int code = 1; code <= 4; ++code) {
    if (cp932::EqualsIgnoreAsciiCase(name, kColourNames[static_cast<size_t>(code)])) return code;
  }
  return 0;
}

std::string DayUid(const DayDate& date, const std::filesystem::path& data_dir) {
  // FNV-1a of the folder's absolute path: the same folder always gives the same UIDs, and two
  // folders exported into one calendar do not overwrite each other's days.
  std::string folder = std::filesystem::absolute(data_dir).lexically_normal().string();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : folder) hash = (hash ^ c) * 1099511628211ull;
  char text[64];
  std::snprintf(text, sizeof text, "mirune-%s-%016llx@mirune", DateText(date).c_str(),
                static_cast<unsigned long long>(hash));
  return text;
}

bool IsDayUid(std::string_view uid) {
  return uid.starts_with("mirune-") && uid.ends_with("@mirune");
}

DayOfEvent DayFromEvent(const EventFields& event) {
  DayOfEvent day;
  int named = ColourCodeOfName(event.colour_name);
  if (event.exact_base64) {
    if (std::optional<std::string> bytes = Base64Decode(*event.exact_base64)) {
      DayEventFields fields = FieldsOfDay(*bytes);
      if (Letters(fields.summary) == Letters(event.summary) &&
          Letters(fields.description) == Letters(event.description) &&
          fields.colour.value_or(0) == named) {
        day.exact = true;
        day.bytes = std::move(*bytes);
        return day;
      }
    }
  }
  day.lines = SplitLines(event.description.empty() ? event.summary : event.description);
  // Another program that changed the colour changed COLOR; one that did not, kept both.
  if (event.colour_code && *event.colour_code >= 1 && *event.colour_code <= 4 &&
      (event.colour_name.empty() || named == *event.colour_code)) {
    day.colour = *event.colour_code;
  } else {
    day.colour = named;
  }
  return day;
}

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16 |
                      static_cast<unsigned char>(bytes[i + 1]) << 8 |
                      static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64Digits[n >> 18];
    out += kBase64Digits[(n >> 12) & 63];
    out += kBase64Digits[(n >> 6) & 63];
    out += kBase64Digits[n & 63];
  }
  if (i < bytes.size()) {
    std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kBase64Digits[n >> 18];
    out += kBase64Digits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64Digits[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  static const std::array<int, 256> kValue = [] {
    std::array<int, 256> value{};
    value.fill(-1);
    for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(kBase64Digits[i])] = i;
    return value;
  }();
  std::string out;
  out.reserve(text.size() / 4 * 3);
  std::uint32_t bits = 0;
  int count = 0, padding = 0;
  for (unsigned char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    if (c == '=') {
      ++padding;
      continue;
    }
    if (padding > 0 || kValue[c] < 0) return std::nullopt;
    bits = bits << 6 | static_cast<std::uint32_t>(kValue[c]);
    if (++count == 4) {
      out += static_cast<char>(bits >> 16);
      out += static_cast<char>(bits >> 8);
      out += static_cast<char>(bits);
      bits = 0;
      count = 0;
    }
  }
  if (count == 1 || padding > 2 || (count == 0 && padding > 0)) return std::nullopt;
  if (count == 2) out += static_cast<char>(bits >> 4);
  if (count == 3) {
    out += static_cast<char>(bits >> 10);
    out += static_cast<char>(bits >> 2);
  }
  return out;
}

}  // namespace ical
