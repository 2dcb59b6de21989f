#include "settings/ini_gt.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/executable_dir.h"
#include "platform/fonts.h"
#include "platform/qt_text.h"
#include "test_support/temp_dir.h"

namespace {

TEST(IniGT, ResolvesFileBesideExecutable) {
  test_support::TempDir dir;
  platform::OverrideExecutableDir(dir.path());
  settings::TIniGT ini;
  ini.SetFileName("vuruva.ini");
  EXPECT_EQ(ini.Path(), dir.path() / "vuruva.ini");
  ini.SetDefaultDir(settings::TIniGTDefaultDir::ddNone);
  EXPECT_EQ(ini.Path(), std::filesystem::path("vuruva.ini"));
  ini.SetFileName(QString::fromStdString((dir.path() / "x" / "a.ini").string()));
  EXPECT_EQ(ini.Path(), dir.path() / "x" / "a.ini");
  platform::OverrideExecutableDir({});
}

TEST(IniGT, FontsAndPlacementsRoundTrip) {
  namespace keys = settings::keys;
  test_support::TempDir dir;
  settings::TIniGT ini;
  ini.SetFileName(QString::fromStdString((dir.path() / "v.ini").string()));
  QFont font("ＭＳ 明朝");
  font.setPointSize(14);
  font.setBold(true);
  font.setUnderline(true);
  ini.WriteFont(keys::TaitolFont, font);
  EXPECT_EQ(test_support::ReadBytes(dir.path() / "v.ini"),
            "[" + test_support::Sjis("予定表タイトル") + "]\r\ntaitolFont.Name=\xA2" +
                test_support::Sjis("ＭＳ 明朝") +
                "\xA3\r\ntaitolFont.Size=14\r\ntaitolFont.Style=5\r\n");
  QFont read;
  ini.ReadFont(keys::TaitolFont, read);
  EXPECT_EQ(read.family(), QString::fromUtf8(platform::kMinchoFace));
  EXPECT_EQ(read.pointSize(), 14);
  EXPECT_TRUE(read.bold());
  EXPECT_FALSE(read.italic());
  EXPECT_TRUE(read.underline());
  // Missing keys keep the font's own parts.
  QFont kept("ＭＳ Ｐゴシック");
  kept.setPointSize(11);
  kept.setItalic(true);
  ini.ReadFont(keys::CalendarFont, kept);
  EXPECT_EQ(kept.family(), QString::fromUtf8(platform::kGothicFace));
  EXPECT_EQ(kept.pointSize(), 11);
  EXPECT_TRUE(kept.italic());

  // Written back, the face it was read as keeps the Windows name; another face replaces it.
  const auto stored_name = [&] {
    return ini.Store().ReadString(settings::SectionBytes(keys::TaitolFont), "taitolFont.Name", "");
  };
  ini.WriteFont(keys::TaitolFont, read);
  EXPECT_EQ(stored_name(), test_support::Sjis("ＭＳ 明朝"));
  ini.WriteFont(keys::TaitolFont, kept);
  EXPECT_EQ(stored_name(), platform::ToCp932(QString::fromUtf8(platform::kGothicFace)));

  const std::string main = settings::SectionBytes(keys::MainPlacement);
  QWidget window;
  window.setGeometry(30, 40, 500, 300);
  ini.WritePlacement(keys::MainPlacement, window);
  EXPECT_EQ(ini.Store().ReadInteger(main, "winpos.XSize", 0), 530);
  EXPECT_EQ(ini.Store().ReadInteger(main, "winpos.YSize", 0), 340);
  EXPECT_EQ(ini.Store().ReadInteger(main, "winpos.Show", 0), 1);
  QWidget other;
  other.setGeometry(0, 0, 100, 100);
  ini.ReadPlacement(keys::MainPlacement, other);
  EXPECT_EQ(other.geometry(), QRect(30, 40, 500, 300));
  // A hand-edited placement with edges that make no window leaves the size alone.
  ini.Store().WriteInteger(main, "winpos.XSize", 0);
  ini.ReadPlacement(keys::MainPlacement, other);
  EXPECT_EQ(other.size(), QSize(500, 300));
  // A low window (the collapsed clock) keeps its place and size.
  window.setGeometry(300, 200, 183, 45);
  ini.WritePlacement(keys::ClockPlacement, window);
  ini.ReadPlacement(keys::ClockPlacement, other);
  EXPECT_EQ(other.geometry(), QRect(300, 200, 183, 45));
  // One stored for a larger screen is moved and shrunk onto this one, not dropped.
  const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
  const int x = free.right() + 200;
  ini.Store().WriteInteger(main, "winpos.X", x);
  ini.Store().WriteInteger(main, "winpos.XSize", x + free.width() + 400);
  ini.ReadPlacement(keys::MainPlacement, other);
  EXPECT_EQ(other.geometry(), QRect(free.left(), 40, free.width(), 300));
}

// Text keys go through the file's code page and its brackets; a missing one gives the current
// value, not the schema's.
TEST(IniGT, TextKeysRoundTripThroughCodePage) {
  test_support::TempDir dir;
  settings::TIniGT ini;
  ini.SetFileName(QString::fromStdString((dir.path() / "v.ini").string()));
  EXPECT_EQ(ini.ReadString(settings::keys::AlarmSound, QStringLiteral("前の音")),
            QStringLiteral("前の音"));
  ini.WriteString(settings::keys::AlarmSound, QStringLiteral("/音/鐘.wav"));
  EXPECT_EQ(test_support::ReadBytes(dir.path() / "v.ini"),
            "[" + test_support::Sjis("ｱﾗ-ﾑｻｳﾝﾄﾞ") + "]\r\nalarmsound=\xA2" +
                test_support::Sjis("/音/鐘.wav") + "\xA3\r\n");
  EXPECT_EQ(ini.ReadString(settings::keys::AlarmSound), QStringLiteral("/音/鐘.wav"));
}

}  // namespace
