// Alarm entries as the clock keeps them: text whose first five characters are a time "hh:mm".
// Checking a list the user gives, and the time typed into the clock window's fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace timeclock {

// A time "h:m" or "h:m:s" (one or two digits each, hour 0-23, minutes and seconds 0-59),
// blanks around it allowed.
bool IsTimeText(std::string_view text);

// The 1-based position of the first entry that is not a time, or 0 when all are.
int FirstInvalidEntry(const std::vector<std::string>& entries);

// The message for such an entry (UTF-8).
std::string InvalidEntryMessage(int position);

// A time typed into the clock window's field ("90:00": the first hour digit may stay blank)
// as the clock compares it: " 7:30" and "7:30" become "07:30". A field left incomplete is kept
// as typed, so it stands for no alarm.
std::string AlarmFieldText(std::string_view typed);

// What the clock window's time field makes of its text as the user types, 00:00 to 23:59:
// kInvalid is refused (the keystroke is not taken), kPartial may still become a time, and
// kComplete is a time or the empty field (no alarm). Three digits typed without a colon get it
// after the second ("123" becomes "12:3"), with `cursor` moved along.
enum class AlarmInput { kInvalid, kPartial, kComplete };
AlarmInput JudgeAlarmInput(std::string& text, int& cursor);

}  // namespace timeclock
