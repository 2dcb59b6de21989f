#include "cli/cli_text.h"

#include "cli/cli_context.h"
#include "platform/cp932.h"

namespace cli {

std::string ToCp932(std::string_view utf8, const std::string& what) {
  bool exact = true;
  std::string bytes = cp932::FromUtf8(utf8, &exact);
  if (!exact) throw UsageError(what + "にシフトJISで表せない文字があります");
  return bytes;
}

std::string ForTerminal(std::string_view cp932_text) {
  std::string text = cp932::ToUtf8(cp932_text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

std::string EscapeControls(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          static constexpr char kHex[] = "0123456789ABCDEF";
          out += "\\x";
          out += kHex[byte >> 4];
          out += kHex[byte & 15];
        } else {
          out += c;
        }
    }
  }
  return out;
}

}  // namespace cli
