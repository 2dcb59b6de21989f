// The clock's time and date texts: the styles of the clock label, and the date-time format
// letters they are written in (yy, yyyy, m, mm, d, hh, nn, ss, AM/PM, ampm, ggg, e, aaa,
// quoted text). The era name and the year within the era come from ICU's Japanese calendar,
// so that every era from Meiji to Reiwa is named and a first year is written 元年. Texts are
// UTF-8: they go to the screen, never into a file.
#pragma once

#include <string>
#include <string_view>

#include "clock/time_source.h"

namespace timeclock {

enum class TStyle { ts12Hours, ts12HoursJ, ts24Hours, ts24HoursJ, tsCustom };
enum class TDateStyle { dsShort, dsJap, dsJapW, dsGengo, dsGengoW };

// The format text of each style; tsCustom has none of its own (empty).
std::string_view TimeFormatOf(TStyle style);
std::string_view DateFormatOf(TDateStyle style);

// `format` written for `t`. Letters the format language does not know are copied.
std::string FormatDateTime(std::string_view format, const LocalTime& t);

// The label's time text: by `style`, or by `custom_format` for tsCustom (empty gives empty).
std::string FormatTime(TStyle style, std::string_view custom_format, const LocalTime& t);
std::string FormatDate(TDateStyle style, const LocalTime& t);

// The Japanese era of a date, from ICU: its name (平成, 令和, ...) and the year within it as
// written (元 for the first year).
std::string EraName(const LocalTime& t);
std::string EraYear(const LocalTime& t, bool two_digits = false);

}  // namespace timeclock
