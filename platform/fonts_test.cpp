#include "platform/fonts.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>

namespace {

// The UI face keeps a desktop face that has Japanese and replaces one without, at its size.
TEST(Fonts, UiFaceIsJapaneseAtTheDesktopsSize) {
  const QFont before = QGuiApplication::font();
  struct Case {
    const char* desktop_face;
    const char* used_face;
  };
  const Case kCases[] = {
      {"DejaVu Sans", platform::kGothicFace},
      {platform::kMinchoFace, platform::kMinchoFace},
  };
  for (const Case& c : kCases) {
    QFont desktop(QString::fromUtf8(c.desktop_face), 11);
    QGuiApplication::setFont(desktop);
    platform::UseJapaneseUiFont();
    EXPECT_EQ(QGuiApplication::font().family(), QString::fromUtf8(c.used_face)) << c.desktop_face;
    EXPECT_EQ(QGuiApplication::font().pointSize(), 11) << c.desktop_face;
  }
  QGuiApplication::setFont(before);
}

}  // namespace
