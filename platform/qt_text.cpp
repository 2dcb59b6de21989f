#include "platform/qt_text.h"

#include "platform/cp932.h"

namespace platform {

QString ToQString(std::string_view cp932_bytes) {
  std::u16string text = cp932::Decode(cp932_bytes);
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::string ToCp932(const QString& text, bool* exact) {
  return cp932::Encode(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()), exact);
}

std::string Sjis(std::string_view utf8) {
  return cp932::FromUtf8(utf8);
}

}  // namespace platform
