#include "app/launcher_buttons.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QPixmap>
#include <QTest>
#include <QToolButton>

#include <deque>
#include <filesystem>
#include <memory>

#include "app/launcher_host.h"
#include "app/launcher_shell.h"
#include "platform/message_box.h"
#include "settings/ini_gt.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::Sjis;

namespace {

// Records what would have been asked of the desktop; files are "chosen" from a queue.
class FakeShell : public app::LauncherShell {
 public:
  std::optional<QString> ChooseFile(QWidget*, const QString& folder) override {
    dialog_folder = folder;
    if (choices.empty()) return std::nullopt;
    QString next = choices.front();
    choices.pop_front();
    return next;
  }
  QIcon FileIcon(const QString& path) override {
    icon_requests << path;
    if (path.endsWith(QStringLiteral(".noicon"))) return {};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
  }
  QString AssociatedProgram(const QString& path) override {
    return path.endsWith(QStringLiteral(".txt")) ? QStringLiteral("/usr/bin/editor") : path;
  }
  bool Open(const QString& path) override {
    opened << path;
    opened_in = fs::current_path();
    return open_result;
  }
  std::deque<QString> choices;
  QString dialog_folder;
  QStringList icon_requests, opened;
  fs::path opened_in;  // the working folder the last file was opened in
  bool open_result = true;
};

class FakeHost : public app::LauncherHost {
 public:
  fs::path LauncherWorkingFolder() const override { return year_folder; }
  void LauncherLaunched() override { ++launched; }
  QWidget* LauncherWindow() override { return nullptr; }
  bool ReportedWrite(const std::function<void()>& write) override {
    write();
    return true;
  }
  fs::path year_folder;
  int launched = 0;
};

class LauncherButtonsTest : public ::testing::Test {
 protected:
  LauncherButtonsTest() : old_cwd_(fs::current_path()) {
    settings_.SetFileName(QString::fromStdString((dir_.path() / "vuruva.ini").string()));
    host_.year_folder = dir_.path() / "data" / "2026";
    fs::create_directories(Startup());
    fs::create_directories(host_.year_folder);
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_ << r.caption + "|" + r.text;
      return QMessageBox::Ok;
    });
    bar_.resize(1200, 38);
    Make();
  }
  ~LauncherButtonsTest() override {
    platform::SetMessageHook(nullptr);
    fs::current_path(old_cwd_);
  }
  void Make() {
    buttons_.reset();
    buttons_ = std::make_unique<app::TLauncherButtons>(bar_, host_, shell_, settings_, Startup(),
                                                       QStringLiteral("mirune.html"));
    buttons_->LoadButtons();
  }
  fs::path Startup() const { return dir_.path() / "start"; }
  fs::path File(const std::string& name) {
    fs::path path = dir_.path() / name;
    test_support::WriteBytes(path, "x");
    return path;
  }
  std::string Ini() const { return test_support::ReadBytes(dir_.path() / "vuruva.ini"); }
  bool Register(int n, const fs::path& file) {
    shell_.choices.push_back(QString::fromStdString(file.string()));
    buttons_->SpeedButton13MouseUp(n, Qt::LeftButton, {});
    buttons_->N12Click();
    return buttons_->RegisteredFile(n) == QString::fromStdString(file.string());
  }

  test_support::TempDir dir_;
  fs::path old_cwd_;
  FakeHost host_;
  settings::TIniGT settings_;
  FakeShell shell_;
  QWidget bar_;
  std::unique_ptr<app::TLauncherButtons> buttons_;
  QStringList messages_;
};

TEST_F(LauncherButtonsTest, TenButtonsRegisterOpenSurviveARestartAndDelete) {
  for (int n = 1; n <= 10; ++n) {
    // Empty, a button keeps its frame so that it is seen; registered, it shows the icon flat.
    EXPECT_FALSE(buttons_->Button(n)->autoRaise()) << n;
    ASSERT_TRUE(Register(n, File("file" + std::to_string(n) + ".txt"))) << n;
    EXPECT_FALSE(buttons_->Button(n)->icon().isNull());
    EXPECT_TRUE(buttons_->Button(n)->autoRaise()) << n;
  }
  EXPECT_EQ(shell_.dialog_folder, QString::fromStdString(Startup().string()));
  EXPECT_EQ(fs::current_path(), old_cwd_);  // registering never moves the working folder
  EXPECT_NE(Ini().find("[User Software10" + Sjis("の設定") + "]\r\nSoftware10=\xA2" +
                       dir_.path().string() +
                       "/file10.txt\xA3\r\nSoftware10.exe=\xA2/usr/bin/"
                       "editor\xA3\r\n"),
            std::string::npos);

  // A new start shows the associated programs' icons and opens the same files.
  shell_.icon_requests.clear();
  Make();
  EXPECT_EQ(shell_.icon_requests.size(), 10);
  EXPECT_TRUE(shell_.icon_requests.contains(QStringLiteral("/usr/bin/editor")));
  for (int n = 1; n <= 10; ++n) {
    EXPECT_FALSE(buttons_->Button(n)->icon().isNull());
    buttons_->SpeedButton13MouseMove(n);
    EXPECT_EQ(buttons_->Button(n)->toolTip(), buttons_->RegisteredFile(n));
    QTest::mouseClick(buttons_->Button(n), Qt::LeftButton);
    EXPECT_EQ(
        shell_.opened.back(),
        QString::fromStdString((dir_.path() / ("file" + std::to_string(n) + ".txt")).string()));
    // Started in the shown year's folder; the program's own folder is back afterwards.
    EXPECT_EQ(shell_.opened_in, host_.year_folder);
    EXPECT_EQ(fs::current_path(), old_cwd_);
  }
  EXPECT_EQ(host_.launched, 10);
  EXPECT_TRUE(messages_.isEmpty()) << messages_.join("\n").toStdString();

  // Deleting button 4 removes both keys, the picture and the hint; the others stay.
  buttons_->SpeedButton13MouseUp(4, Qt::RightButton, {});
  buttons_->PopupMenu2->close();
  buttons_->N13Click();
  EXPECT_EQ(Ini().find("User Software4"), std::string::npos);
  EXPECT_NE(Ini().find("User Software5"), std::string::npos);
  EXPECT_TRUE(buttons_->Button(4)->icon().isNull());
  EXPECT_FALSE(buttons_->Button(4)->autoRaise());
  buttons_->SpeedButton13MouseMove(4);
  EXPECT_EQ(buttons_->Button(4)->toolTip(), QStringLiteral("マウスの右クリックで登録できます"));
  Make();
  EXPECT_TRUE(buttons_->RegisteredFile(4).isEmpty());
  EXPECT_FALSE(buttons_->RegisteredFile(5).isEmpty());

  // Clicking the empty button says how to register and starts nothing.
  const int opened = static_cast<int>(shell_.opened.size());
  buttons_->SpeedButton13Click(4);
  EXPECT_EQ(shell_.opened.size(), opened);
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith(
      QStringLiteral("注意|     実行したいﾌｧｲﾙが登録されていません.\n    ツールボタンを")));
}

TEST_F(LauncherButtonsTest, MissingOrUnopenableFilesAnswerWithTheAssociationMessage) {
  const fs::path file = File("消えるファイル.txt");
  ASSERT_TRUE(Register(2, file));
  fs::remove(file);
  buttons_->SpeedButton13Click(2);
  EXPECT_TRUE(shell_.opened.isEmpty());
  EXPECT_EQ(host_.launched, 0);
  const QString association =
      QStringLiteral("注意|実行したいﾌｧｲﾙがｴｸｽﾌﾟﾛｰﾗｰ等で関連付けられていない可能性があります");
  ASSERT_EQ(messages_, QStringList{association});

  // A file that exists but that the desktop cannot open.
  messages_.clear();
  ASSERT_TRUE(Register(3, File("doc.unknown")));
  shell_.open_result = false;
  buttons_->SpeedButton13Click(3);
  EXPECT_EQ(messages_, QStringList{association});
  EXPECT_EQ(host_.launched, 0);

  // A file without an icon is still registered, after the notice.
  messages_.clear();
  ASSERT_TRUE(Register(5, File("plain.noicon")));
  EXPECT_EQ(messages_, QStringList{QStringLiteral("アイコン|アイコンがありません！")});
  EXPECT_TRUE(buttons_->Button(5)->icon().isNull());

  // Cancelling the dialog changes nothing, the working folder included.
  messages_.clear();
  buttons_->SpeedButton13MouseUp(6, Qt::LeftButton, {});
  buttons_->N12Click();
  EXPECT_TRUE(buttons_->RegisteredFile(6).isEmpty());
  EXPECT_EQ(fs::current_path(), old_cwd_);
  EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(LauncherButtonsTest, NamesWithBlanksAndJapaneseAreKeptAndUnrepresentableOnesRefused) {
  const fs::path japanese = File("会議の資料 2026年 版.txt");
  ASSERT_TRUE(Register(7, japanese));
  // Stored as code page 932, read back as the same path, opened under its own name.
  EXPECT_NE(Ini().find(Sjis(japanese.string())), std::string::npos);
  Make();
  EXPECT_EQ(buttons_->RegisteredFile(7), QString::fromStdString(japanese.string()));
  buttons_->SpeedButton13Click(7);
  ASSERT_EQ(shell_.opened.size(), 1);
  EXPECT_EQ(shell_.opened[0], QString::fromStdString(japanese.string()));

  // A name written by hand on Windows, with backslashes, is found with the native separators.
  settings::IniStore(dir_.path() / "vuruva.ini")
      .WriteString("User Software8" + Sjis("の設定"), "Software8",
                   Sjis((dir_.path() / "a").string()) + "\\" + Sjis("会議の資料 2026年 版.txt"));
  fs::create_directories(dir_.path() / "a");
  fs::copy_file(japanese, dir_.path() / "a" / "会議の資料 2026年 版.txt");
  buttons_->SpeedButton13Click(8);
  EXPECT_EQ(shell_.opened.back(),
            QString::fromStdString((dir_.path() / "a" / "会議の資料 2026年 版.txt").string()));

  // Hangul has no code page 932 form: refused with a message, nothing written.
  const std::string before = Ini();
  EXPECT_FALSE(Register(9, File("회의.txt")));
  EXPECT_EQ(Ini(), before);
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith(QStringLiteral(
      "注意|このファイル名には、シフトJISで表せない次の文字があるため登録できません。\n"
      "「회」\u00A0(U+D68C) 「의」\u00A0(U+C758)\n")))
      << messages_[0].toStdString();
  EXPECT_EQ(fs::current_path(), old_cwd_);
}

TEST_F(LauncherButtonsTest, ButtonsStandAtTheRightEndWithoutCoveringOtherButtons) {
  EXPECT_EQ(buttons_->Button(10)->geometry().right(), 1200 - 6 - 1);
  auto* other = new QToolButton(&bar_);
  other->setGeometry(0, 4, 1100, 30);
  buttons_->PlaceButtons();
  EXPECT_GE(buttons_->Button(1)->x(), 1100);
  EXPECT_EQ(buttons_->Button(1)->objectName(), QStringLiteral("SpeedButton13"));
  EXPECT_EQ(buttons_->Button(5)->objectName(), QStringLiteral("SpeedButton18"));
  // A bar of two rows takes them onto the second, at its right end, all within the bar.
  bar_.resize(1200, 70);
  buttons_->PlaceButtons();
  EXPECT_EQ(buttons_->Button(10)->geometry().right(), 1200 - 6 - 1);
  EXPECT_GE(buttons_->Button(1)->y(), other->geometry().bottom());
  EXPECT_LE(buttons_->Button(1)->geometry().bottom(), 70);
}

}  // namespace
