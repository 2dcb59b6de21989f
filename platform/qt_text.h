// The one crossing between the windows' QString text and the code page 932 bytes of core.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace platform {

QString ToQString(std::string_view cp932_bytes);
// `exact` becomes false when the text has characters code page 932 cannot represent.
std::string ToCp932(const QString& text, bool* exact = nullptr);
// Code page 932 bytes of a UTF-8 literal (settings sections, labels).
std::string Sjis(std::string_view utf8);

}  // namespace platform
