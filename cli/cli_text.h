// Text crossing the terminal boundary: UTF-8 outside, code page 932 inside.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// Converts an argument or input to code page 932; throws UsageError naming `what` when some
// character has no code page 932 form (rather than storing a '?').
std::string ToCp932(std::string_view utf8, const std::string& what);

// Code page 932 text for the terminal: UTF-8 with CR LF line ends turned into LF.
std::string ForTerminal(std::string_view cp932_text);

// UTF-8 text for one field of a tab-separated line: a backslash becomes "\\", TAB, LF and CR
// become "\t", "\n" and "\r", and every other control character (NUL, ESC, DEL, …) "\xHH",
// so that no day's text can break a line into two or move the columns.
std::string EscapeControls(std::string_view utf8);

}  // namespace cli
