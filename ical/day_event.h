// One day file as one all-day iCalendar event, and back. Other calendars see the day's text:
// SUMMARY is its first line, DESCRIPTION the whole text, COLOR its colour. Mirune itself also
// reads X-MIRUNE-DAY, the file's exact bytes, so that an export brings every day back byte for
// byte, colour line, line ends and undecodable bytes included; a day whose text alone gives its
// bytes back (most days) goes without it, and its UID tells that Mirune made it. A phone or web
// calendar keeps the X- properties it does not understand while its user edits the text; so an
// event whose SUMMARY or DESCRIPTION no longer agrees with its exact bytes was edited elsewhere,
// and that edit wins. This file knows nothing of libical: it turns bytes into fields and fields
// into bytes.
#pragma once

#include <compare>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ical {

struct DayDate {
  int year = 0, month = 0, day = 0;
  auto operator<=>(const DayDate&) const = default;
};

// "YYYYMMDD", the iCalendar DATE form.
std::string DateText(const DayDate& date);

// The names the iCalendar properties go by.
inline constexpr const char* kExactBytesProperty = "X-MIRUNE-DAY";
inline constexpr const char* kColourCodeProperty = "X-MIRUNE-COLOR";

// What other calendars show of a day. Text is UTF-8; a byte that code page 932 cannot decode
// shows as U+FFFD, while the exact bytes keep it.
struct DayEventFields {
  std::string summary;        // the first line that holds anything but blanks
  std::string description;    // every text line, joined by "\n"
  std::optional<int> colour;  // the colour line's code 1-4 (0 is the default black: none)
  std::string exact_base64;   // the file's bytes, when the text above does not give them back
};

DayEventFields FieldsOfDay(std::string_view file_bytes);

// The CSS colour name (RFC 7986 COLOR) of a colour code 1-4, and the code of a name ("" / 0
// when it names none of them; letter case is ignored).
const char* ColourName(int code);
int ColourCodeOfName(std::string_view name);

// A stable UID for a date's day in one data folder: exporting the folder again gives the same
// UIDs, so a calendar that imports twice updates its events instead of doubling them.
std::string DayUid(const DayDate& date, const std::filesystem::path& data_dir);
// True for a UID that DayUid made (for any folder).
bool IsDayUid(std::string_view uid);

// An event read back, as its properties stood.
struct EventFields {
  std::string summary, description;
  std::optional<std::string> exact_base64;  // X-MIRUNE-DAY
  std::optional<int> colour_code;           // X-MIRUNE-COLOR
  std::string colour_name;                  // COLOR
};

// The day text an event stands for. `exact` is set when the event still agrees with its exact
// bytes, which `bytes` then holds; otherwise `lines` holds the text lines of DESCRIPTION (of
// SUMMARY when DESCRIPTION is empty) in UTF-8 and `colour` the code to put on top (0: none).
struct DayOfEvent {
  bool exact = false;
  std::string bytes;
  std::vector<std::string> lines;
  int colour = 0;
};
DayOfEvent DayFromEvent(const EventFields& event);

std::string Base64Encode(std::string_view bytes);
// nullopt when `text` is not base64 (white space is skipped).
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace ical
