// The main window's test fixture: a start-up folder and an executable folder of the test's
// own, message boxes recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>

#include <filesystem>
#include <memory>

#include "app/kvrwin.h"
#include "platform/executable_dir.h"
#include "platform/message_box.h"
#include "test_support/fake_calendar_port.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

// Each test starts the main window with a start-up folder and an executable folder of its own,
// and records the message boxes instead of showing them.
class KvrwinTest : public ::testing::Test {
 protected:
  KvrwinTest() : old_cwd_(fs::current_path()) {
    fs::create_directory(Exe());
    fs::create_directory(Start());
    platform::OverrideExecutableDir(Exe());
    fs::current_path(Start());
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_.push_back(r.caption + "|" + r.text);
      requests_.push_back(r);
      return answers_.isEmpty() ? QMessageBox::Ok : answers_.takeFirst();
    });
  }
  ~KvrwinTest() override {
    platform::SetMessageHook(nullptr);
    platform::OverrideExecutableDir({});
    fs::current_path(old_cwd_);
  }
  fs::path Exe() const { return dir_.path() / "bin"; }
  fs::path Start() const { return dir_.path() / "start"; }
  fs::path Ini() const { return Exe() / "vuruva.ini"; }
  // Opens the window; the notice that no maxims file is chosen yet is expected at every start
  // and set aside.
  std::unique_ptr<app::TKvrwin> Open() {
    auto window = std::make_unique<app::TKvrwin>();
    window->SetCalendar(&fake_calendar_);
    messages_.removeAll(
        QStringLiteral("注意|設定ダイアログでスクロール文字用ファイルを選択して下さい."));
    return window;
  }

  // Changes settings the way the options dialog will: a copy, edited, handed back.
  template <class Change>
  static void ChangeSettings(app::TKvrwin& window, Change change) {
    month::MainSettings settings = window.Settings();
    change(settings);
    window.SetSettings(settings);
  }

  test_support::TempDir dir_;
  test_support::FakeCalendarPort fake_calendar_;
  fs::path old_cwd_;
  QStringList messages_;
  QList<platform::MessageRequest> requests_;
  // The user's answers to the questions to come, in order; OK once they run out.
  QList<QMessageBox::StandardButton> answers_;
};

using KvrwinStartTest = KvrwinTest;
