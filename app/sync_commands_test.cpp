// ファイル → 同期 and the options page 同期, with the server and the keyring replaced: what the
// user is told, what is remembered, and what a sync that ran on its own shows.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "app/sync_commands.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "settings/ini_store.h"
#include "sync/sync_page.h"
#include "test_support/temp_dir.h"

namespace {

using calsync::SyncError;

class SyncCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetMessageHook([this](const platform::MessageRequest& request) {
      shown_ << request.text;
      return QMessageBox::Ok;
    });
  }
  void TearDown() override { platform::SetMessageHook(nullptr); }
  void Configure(const std::string& calendar = "") {
    calsync::SyncAccount account;
    account.url = "https://dav.example.com/";
    account.user = "taro";
    account.calendar = calendar;
    calsync::WriteAccount(ini_, account);
  }
  app::SyncCommands& Commands() {
    if (!commands_) {
      commands_ = std::make_unique<app::SyncCommands>(
          &parent_, app::SyncCommands::Needs{[this] { return dir_.path(); },
                                             [this]() -> settings::IniStore& { return ini_; },
                                             [] { return false; }, [this] { ++changed_; }});
      commands_->read_password = [](const calsync::SyncAccount&) { return std::string("pw"); };
    }
    return *commands_;
  }

  test_support::TempDir dir_;
  settings::IniStore ini_{dir_.path() / "mirune.ini"};
  QWidget parent_;
  std::unique_ptr<app::SyncCommands> commands_;
  QStringList shown_;
  int changed_ = 0;
};

TEST_F(SyncCommandsTest, WhatTheUserIsToldAndWhatIsRemembered) {
  Commands().SyncClick();  // nothing set up yet: said so, nothing run
  ASSERT_EQ(shown_.size(), 1);
  EXPECT_TRUE(shown_[0].contains(QStringLiteral("「同期」ページ")));

  Configure();
  calsync::SyncRequest seen;
  Commands().run = [&](const calsync::SyncRequest& request) {
    seen = request;
    calsync::SyncOutcome outcome;
    outcome.calendar_href = "/taro/mirune/";
    outcome.report.received = 2;
    outcome.report.merged = {"2026-12-09"};
    return outcome;
  };
  Commands().SyncClick();
  EXPECT_EQ(seen.password, "pw");
  EXPECT_EQ(seen.data_dir, dir_.path());
  ASSERT_EQ(shown_.size(), 2);
  EXPECT_TRUE(shown_[1].contains(QStringLiteral("両方で変更されていた日があります")));
  EXPECT_TRUE(shown_[1].contains(QStringLiteral("2026-12-09")));
  EXPECT_EQ(changed_, 1);
  // The calendar found is remembered, and the corner tells when the sync completed.
  EXPECT_EQ(ini_.ReadString(settings::keys::SyncCalendar), "/taro/mirune/");
  EXPECT_FALSE(ini_.ReadString(settings::keys::SyncLast).empty());
  EXPECT_TRUE(Commands().StatusLabel()->text().startsWith(QStringLiteral("最終同期 ")));

  // A failure the user asked for is a message box; one on its own only shows in the corner.
  Commands().run = [](const calsync::SyncRequest&) -> calsync::SyncOutcome {
    throw SyncError(SyncError::Kind::kNetwork, "サーバーに接続できません");
  };
  Commands().SyncClick();
  ASSERT_EQ(shown_.size(), 3);
  EXPECT_EQ(shown_[2], QStringLiteral("サーバーに接続できません"));
  calsync::SyncAccount account = calsync::ReadAccount(ini_);
  account.at_start = true;
  calsync::WriteAccount(ini_, account);
  Commands().SyncAtStart();
  EXPECT_EQ(shown_.size(), 3);
  EXPECT_EQ(Commands().StatusLabel()->text(), QStringLiteral("同期できませんでした"));
  EXPECT_EQ(Commands().StatusLabel()->toolTip(), QStringLiteral("サーバーに接続できません"));
}

TEST_F(SyncCommandsTest, WithoutAKeyringThePasswordIsAskedOnceForTheRun) {
  Configure("/taro/mirune/");
  Commands().read_password = [](const calsync::SyncAccount&) -> std::string {
    throw SyncError(SyncError::Kind::kLocal, "キーリングを使えません");
  };
  QStringList reasons;
  Commands().ask_password = [&](const QString& reason) {
    reasons << reason;
    return QStringLiteral("typed");
  };
  std::vector<std::string> used;
  bool refuse = false;
  Commands().run = [&](const calsync::SyncRequest& request) {
    used.push_back(request.password);
    if (refuse) throw SyncError(SyncError::Kind::kAuthentication, "パスワードが違います");
    return calsync::SyncOutcome{};
  };
  Commands().SyncClick();
  Commands().SyncClick();
  EXPECT_EQ(reasons, QStringList{QStringLiteral("キーリングを使えません")});
  EXPECT_EQ(used, (std::vector<std::string>{"typed", "typed"}));
  refuse = true;  // a password the server refuses is asked for again
  Commands().SyncClick();
  refuse = false;
  Commands().SyncClick();
  EXPECT_EQ(reasons.size(), 2);
}

TEST_F(SyncCommandsTest, ThePageListsTheCalendarsAndKeepsThePasswordOutOfTheSettings) {
  Configure("/taro/home/");
  std::vector<std::string> written;
  std::string asked_with;
  calsync::TSyncPage page(calsync::ReadAccount(ini_),
                          {[&](const calsync::SyncAccount&, const std::string& password) {
                             asked_with = password;
                             return std::vector<calsync::CalendarChoice>{{"/taro/home/", "家"},
                                                                         {"/taro/work/", "仕事"}};
                           },
                           [](const calsync::SyncAccount&) { return std::string("stored"); },
                           [&](const calsync::SyncAccount&, const std::string& password) {
                             written.push_back(password);
                           }});
  page.TestButtonClick();
  EXPECT_EQ(asked_with, "stored");  // nothing typed: the keyring's password is used
  ASSERT_EQ(page.CalendarBox->count(), 2);
  EXPECT_EQ(page.CalendarBox->currentText(), QStringLiteral("家"));  // the chosen one stays
  page.CalendarBox->setCurrentIndex(1);
  EXPECT_TRUE(page.SavePassword());
  EXPECT_TRUE(written.empty());  // not typed: not written
  page.PasswordEdit->setText(QStringLiteral("新しい"));
  emit page.PasswordEdit->textEdited(page.PasswordEdit->text());
  EXPECT_TRUE(page.SavePassword());
  EXPECT_EQ(written, std::vector<std::string>{"新しい"});
  calsync::WriteAccount(ini_, page.Account());
  EXPECT_EQ(calsync::ReadAccount(ini_).calendar, "/taro/work/");
  std::string file = test_support::ReadBytes(dir_.path() / "mirune.ini");
  EXPECT_EQ(file.find(cp932::FromUtf8("新しい")), std::string::npos);

  // A server that refuses: its message is shown on the page.
  calsync::TSyncPage refused(
      calsync::ReadAccount(ini_),
      {[](const calsync::SyncAccount&, const std::string&) -> std::vector<calsync::CalendarChoice> {
         throw SyncError(SyncError::Kind::kAuthentication,
                         "ユーザー名またはパスワードが違います。");
       },
       nullptr, nullptr});
  refused.TestButtonClick();
  EXPECT_EQ(refused.TestResult->text(), QStringLiteral("ユーザー名またはパスワードが違います。"));
}

}  // namespace
