#include "clock/clock_format.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <vector>

namespace timeclock {
namespace {

const char* const kShortWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};
const char* const kLongWeekdays[7] = {"日曜日", "月曜日", "火曜日", "水曜日",
                                      "木曜日", "金曜日", "土曜日"};

std::string Number(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", digits, value);
  return text;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[at + i])) !=
        std::tolower(static_cast<unsigned char>(word[i])))
      return false;
  }
  return true;
}

// A 12-hour clock is used for hh when the format holds a morning/afternoon marker anywhere
// outside quoted text.
bool HasAmPm(std::string_view format) {
  char quote = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
      continue;
    }
    if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p") ||
        StartsWithNoCase(format, i, "ampm"))
      return true;
  }
  return false;
}

// ICU formatting of one pattern in the Japanese calendar, at noon UTC of the date, so that no
// time zone moves the day. The formatters are made once: the clock asks every second.
std::string IcuJapanese(const char* pattern, const LocalTime& t) {
  struct Formatter {
    std::string pattern;
    std::unique_ptr<icu::SimpleDateFormat> format;
  };
  static std::vector<Formatter> cache;
  icu::SimpleDateFormat* format = nullptr;
  for (Formatter& f : cache) {
    if (f.pattern == pattern) format = f.format.get();
  }
  UErrorCode status = U_ZERO_ERROR;
  if (!format) {
    // "jpanyear" writes a first year 元 wherever the year stands, not only before 年.
    auto made = std::make_unique<icu::SimpleDateFormat>(
        icu::UnicodeString::fromUTF8(pattern), icu::UnicodeString(u"y=jpanyear"),
        icu::Locale("ja_JP@calendar=japanese"), status);
    if (U_FAILURE(status)) return {};
    made->adoptTimeZone(icu::TimeZone::createTimeZone("Etc/UTC"));
    format = made.get();
    cache.push_back({pattern, std::move(made)});
  }
  icu::GregorianCalendar gregorian(icu::TimeZone::createTimeZone("Etc/UTC"), status);
  if (U_FAILURE(status)) return {};
  gregorian.clear();
  gregorian.set(t.year, t.month - 1, t.day, 12, 0, 0);
  UDate date = gregorian.getTime(status);
  if (U_FAILURE(status)) return {};
  icu::UnicodeString out;
  format->format(date, out);
  std::string utf8;
  out.toUTF8String(utf8);
  return utf8;
}

}  // namespace

std::string EraName(const LocalTime& t) {
  return IcuJapanese("G", t);
}

std::string EraYear(const LocalTime& t, bool two_digits) {
  std::string year = IcuJapanese("y", t);
  if (two_digits && year.size() == 1 && std::isdigit(static_cast<unsigned char>(year[0])))
    year = "0" + year;
  return year;
}

std::string_view TimeFormatOf(TStyle style) {
  switch (style) {
    case TStyle::ts12Hours:
      return "AM/PM hh:nn:ss";
    case TStyle::ts12HoursJ:
      return "ampmhh\"時\"nn\"分\"ss\"秒\"";
    case TStyle::ts24Hours:
      return "hh:nn:ss";
    case TStyle::ts24HoursJ:
      return "hh\"時\" nn\"分\" ss\"秒\"";
    case TStyle::tsCustom:
      break;
  }
  return {};
}

std::string_view DateFormatOf(TDateStyle style) {
  // The two styles without the weekday lack the closing quote after 日; an unclosed quote
  // copies the rest of the format, so they still end in 日.
  switch (style) {
    case TDateStyle::dsShort:
      return "yy/mm/dd";
    case TDateStyle::dsJap:
      return "yyyy\"年\"m\"月\"d\"日";
    case TDateStyle::dsJapW:
      return "yyyy\"年\"m\"月\"d\"日(\"aaa\")\"";
    case TDateStyle::dsGengo:
      return "ggge\"年\"m\"月\"d\"日";
    case TDateStyle::dsGengoW:
      return "ggge\"年\"m\"月\"d\"日(\"aaa\")\"";
  }
  return {};
}

std::string FormatDateTime(std::string_view format, const LocalTime& t) {
  const bool twelve = HasAmPm(format);
  std::string out;
  bool after_hour = false;  // m right after h means minutes
  size_t i = 0;
  auto run = [&](char letter) {
    size_t n = 0;
    while (i + n < format.size() &&
           std::tolower(static_cast<unsigned char>(format[i + n])) == letter)
      ++n;
    return n;
  };
  while (i < format.size()) {
    const char c = format[i];
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '"' || c == '\'') {
      size_t end = format.find(c, i + 1);
      if (end == std::string_view::npos) end = format.size();
      out.append(format.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    if (StartsWithNoCase(format, i, "am/pm")) {
      const bool upper = c == 'A';
      out += t.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      i += 5;
      continue;
    }
    if (StartsWithNoCase(format, i, "a/p")) {
      const bool upper = c == 'A';
      out += t.hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
      i += 3;
      continue;
    }
    if (StartsWithNoCase(format, i, "ampm")) {
      out += t.hour < 12 ? "午前" : "午後";
      i += 4;
      continue;
    }
    size_t n = 0;
    switch (lower) {
      case 'y':
        n = run('y');
        out += n <= 2 ? Number(t.year % 100, 2) : Number(t.year, 4);
        after_hour = false;
        break;
      case 'm':
        n = run('m');
        if (after_hour && n <= 2) {
          out += Number(t.minute, n == 2 ? 2 : 1);
        } else if (n <= 2) {
          out += Number(t.month, n == 2 ? 2 : 1);
        } else {
          out += std::to_string(t.month) + "月";
        }
        after_hour = false;
        break;
      case 'd':
        n = run('d');
        if (n <= 2) {
          out += Number(t.day, n == 2 ? 2 : 1);
        } else if (n == 3) {
          out += kShortWeekdays[t.Weekday()];
        } else {
          out += kLongWeekdays[t.Weekday()];
        }
        after_hour = false;
        break;
      case 'a':
        n = run('a');
        if (n < 3) {
          out.append(format.substr(i, n));
        } else {
          out += n == 3 ? kShortWeekdays[t.Weekday()] : kLongWeekdays[t.Weekday()];
        }
        after_hour = false;
        break;
      case 'h': {
        n = run('h');
        int hour = t.hour;
        if (twelve) {
          hour %= 12;
          if (hour == 0) hour = 12;
        }
        out += Number(hour, n >= 2 ? 2 : 1);
        after_hour = true;
        break;
      }
      case 'n':
        n = run('n');
        out += Number(t.minute, n >= 2 ? 2 : 1);
        after_hour = false;
        break;
      case 's':
        n = run('s');
        out += Number(t.second, n >= 2 ? 2 : 1);
        after_hour = false;
        break;
      case 'z':
        n = run('z');
        out += Number(0, n >= 3 ? 3 : 1);
        break;
      case 'g':
        n = run('g');
        out += EraName(t);
        after_hour = false;
        break;
      case 'e':
        n = run('e');
        out += EraYear(t, n >= 2);
        after_hour = false;
        break;
      default:
        n = 1;
        out += c;
        break;
    }
    i += n;
  }
  return out;
}

std::string FormatTime(TStyle style, std::string_view custom_format, const LocalTime& t) {
  std::string_view format = style == TStyle::tsCustom ? custom_format : TimeFormatOf(style);
  return format.empty() ? std::string() : FormatDateTime(format, t);
}

std::string FormatDate(TDateStyle style, const LocalTime& t) {
  return FormatDateTime(DateFormatOf(style), t);
}

}  // namespace timeclock
