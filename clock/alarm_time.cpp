#include "clock/alarm_time.h"

#include <cctype>

namespace timeclock {
namespace {

bool Digit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Reads one or two digits at `at`; -1 when there are none.
int Field(std::string_view text, size_t& at) {
  if (at >= text.size() || !Digit(text[at])) return -1;
  int value = text[at++] - '0';
  if (at < text.size() && Digit(text[at])) value = value * 10 + (text[at++] - '0');
  return value;
}

}  // namespace

bool IsTimeText(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  if (begin == std::string_view::npos) return false;
  text = text.substr(begin, end - begin + 1);
  size_t at = 0;
  const int hour = Field(text, at);
  if (hour < 0 || hour > 23 || at >= text.size() || text[at++] != ':') return false;
  const int minute = Field(text, at);
  if (minute < 0 || minute > 59) return false;
  if (at == text.size()) return true;
  if (text[at++] != ':') return false;
  const int second = Field(text, at);
  return second >= 0 && second <= 59 && at == text.size();
}

int FirstInvalidEntry(const std::vector<std::string>& entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!IsTimeText(entries[i])) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string InvalidEntryMessage(int position) {
  return std::to_string(position) + "番目のデータが不正です。\nhh:mm形式で入力し直してください。";
}

std::string AlarmFieldText(std::string_view typed) {
  std::string text(typed);
  // "_7:30", " 7:30" or "7:30": the hour's first digit left out.
  if (text.size() == 5 && (text[0] == ' ' || text[0] == '_') && Digit(text[1]) && text[2] == ':' &&
      Digit(text[3]) && Digit(text[4]))
    text[0] = '0';
  // "7 :30": the one hour digit typed into the first place.
  if (text.size() == 5 && Digit(text[0]) && (text[1] == ' ' || text[1] == '_') && text[2] == ':' &&
      Digit(text[3]) && Digit(text[4]))
    text = std::string("0") + text[0] + text.substr(2);
  if (text.size() == 4 && Digit(text[0]) && text[1] == ':' && Digit(text[2]) && Digit(text[3]))
    text = "0" + text;
  if (text.size() == 5 && Digit(text[0]) && Digit(text[1]) && text[2] == ':' && Digit(text[3]) &&
      Digit(text[4]) && IsTimeText(text))
    return text;
  return std::string(typed);
}

AlarmInput JudgeAlarmInput(std::string& text, int& cursor) {
  if (text.empty()) return AlarmInput::kComplete;
  if (text.size() == 3 && Digit(text[0]) && Digit(text[1]) && Digit(text[2])) {
    text.insert(2, 1, ':');
    if (cursor >= 2) ++cursor;
  }
  if (text.size() > 5) return AlarmInput::kInvalid;
  const size_t colon = text.find(':');
  const std::string_view hour = std::string_view(text).substr(0, colon);
  const std::string_view minute =
      colon == std::string::npos ? std::string_view() : std::string_view(text).substr(colon + 1);
  for (std::string_view part : {hour, minute}) {
    if (part.size() > 2) return AlarmInput::kInvalid;
    for (char c : part) {
      if (!Digit(c)) return AlarmInput::kInvalid;  // a second colon too
    }
  }
  if (hour.size() == 2 && (hour[0] - '0') * 10 + (hour[1] - '0') > 23) return AlarmInput::kInvalid;
  if (!minute.empty() && minute[0] > '5') return AlarmInput::kInvalid;
  // Hour digits deleted before the colon leave a field that is retyped, not refused.
  return !hour.empty() && minute.size() == 2 ? AlarmInput::kComplete : AlarmInput::kPartial;
}

}  // namespace timeclock
