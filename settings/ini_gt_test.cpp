#include "settings/ini_gt.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/executable_dir.h"
#include "platform/fonts.h"
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
  test_support::TempDir dir;
  settings::TIniGT ini;
  ini.SetFileName(QString::fromStdString((dir.path() / "v.ini").string()));
  QFont font("ＭＳ 明朝");
  font.setPointSize(14);
  font.setBold(true);
  font.setUnderline(true);
  ini.WriteFont(QStringLiteral("予定表タイトル"), QStringLiteral("taitolFont"), font);
  EXPECT_EQ(test_support::ReadBytes(dir.path() / "v.ini"),
            "[" + test_support::Sjis("予定表タイトル") + "]\r\ntaitolFont.Name=\xA2" +
                test_support::Sjis("ＭＳ 明朝") +
                "\xA3\r\ntaitolFont.Size=14\r\ntaitolFont.Style=5\r\n");
  QFont read;
  ini.ReadFont(QStringLiteral("予定表タイトル"), QStringLiteral("taitolFont"), read);
  EXPECT_EQ(read.family(), QString::fromUtf8(platform::kMinchoFace));
  EXPECT_EQ(read.pointSize(), 14);
  EXPECT_TRUE(read.bold());
  EXPECT_FALSE(read.italic());
  EXPECT_TRUE(read.underline());
  // Missing keys keep the font's own parts.
  QFont kept("ＭＳ Ｐゴシック");
  kept.setPointSize(11);
  kept.setItalic(true);
  ini.ReadFont(QStringLiteral("なし"), QStringLiteral("f"), kept);
  EXPECT_EQ(kept.family(), QString::fromUtf8(platform::kGothicFace));
  EXPECT_EQ(kept.pointSize(), 11);
  EXPECT_TRUE(kept.italic());

  // Written back, the face it was read as keeps the Windows name; another face replaces it.
  const auto stored_name = [&] {
    return ini.ReadString(QStringLiteral("予定表タイトル"), QStringLiteral("taitolFont.Name"), {});
  };
  ini.WriteFont(QStringLiteral("予定表タイトル"), QStringLiteral("taitolFont"), read);
  EXPECT_EQ(stored_name(), QStringLiteral("ＭＳ 明朝"));
  ini.WriteFont(QStringLiteral("予定表タイトル"), QStringLiteral("taitolFont"), kept);
  EXPECT_EQ(stored_name(), QString::fromUtf8(platform::kGothicFace));

  QWidget window;
  window.setGeometry(30, 40, 500, 300);
  ini.WritePlacement(QStringLiteral("ミルネ"), QStringLiteral("winpos"), window);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("ミルネ"), QStringLiteral("winpos.XSize"), 0), 530);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("ミルネ"), QStringLiteral("winpos.YSize"), 0), 340);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("ミルネ"), QStringLiteral("winpos.Show"), 0), 1);
  QWidget other;
  other.setGeometry(0, 0, 100, 100);
  ini.ReadPlacement(QStringLiteral("ミルネ"), QStringLiteral("winpos"), other);
  EXPECT_EQ(other.geometry(), QRect(30, 40, 500, 300));
  // A hand-edited placement with edges that make no window leaves the size alone.
  ini.WriteInteger(QStringLiteral("ミルネ"), QStringLiteral("winpos.XSize"), 0);
  ini.ReadPlacement(QStringLiteral("ミルネ"), QStringLiteral("winpos"), other);
  EXPECT_EQ(other.size(), QSize(500, 300));
  // A low window (the collapsed clock) keeps its place and size.
  window.setGeometry(300, 200, 183, 45);
  ini.WritePlacement(QStringLiteral("時計"), QStringLiteral("clockpos"), window);
  ini.ReadPlacement(QStringLiteral("時計"), QStringLiteral("clockpos"), other);
  EXPECT_EQ(other.geometry(), QRect(300, 200, 183, 45));
  // One stored for a larger screen is moved and shrunk onto this one, not dropped.
  const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
  const int x = free.right() + 200;
  ini.WriteInteger(QStringLiteral("ミルネ"), QStringLiteral("winpos.X"), x);
  ini.WriteInteger(QStringLiteral("ミルネ"), QStringLiteral("winpos.XSize"),
                   x + free.width() + 400);
  ini.ReadPlacement(QStringLiteral("ミルネ"), QStringLiteral("winpos"), other);
  EXPECT_EQ(other.geometry(), QRect(free.left(), 40, free.width(), 300));
}

}  // namespace
