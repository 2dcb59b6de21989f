// The main window's test fixture: a start-up folder and an executable folder of the test's
// own, message boxes recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>

#include <filesystem>
#include <memory>

#include "app/app_context.h"
#include "app/kvrwin.h"
#include "app/main_window_hosts.h"
#include "clock/time_source.h"
#include "daydata/day_entry_host.h"
#include "platform/executable_dir.h"
#include "platform/message_box.h"
#include "test_support/fake_calendar_port.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

// The main window as its tests see it: its parts by name, its commands, and what it answers
// the other windows through its hosts.
class TestKvrwin : public app::TKvrwin {
 public:
  using TKvrwin::CalendarButton;
  using TKvrwin::CalendarToggle;
  using TKvrwin::day_summaries_;
  using TKvrwin::DirectoryListBox1;
  using TKvrwin::GradBox1;
  using TKvrwin::GradBox2;
  using TKvrwin::listed_dir_;
  using TKvrwin::MarqueeLabel1;
  using TKvrwin::MonthPrinter;
  using TKvrwin::NextMonthCommand;
  using TKvrwin::NextYear;
  using TKvrwin::NextYearCommand;
  using TKvrwin::Panel1;
  using TKvrwin::Panel4;
  using TKvrwin::PrevMonthCommand;
  using TKvrwin::PrevYear;
  using TKvrwin::PrevYearCommand;
  using TKvrwin::SettingsFile;
  using TKvrwin::SpeedButton11Click;
  using TKvrwin::SpeedButton12Click;
  using TKvrwin::SpeedButton27;
  using TKvrwin::SpeedButton9Click;
  using TKvrwin::StringGrid1;
  using TKvrwin::StringGrid2;
  using TKvrwin::sub_dirs_;
  using TKvrwin::TKvrwin;

  const fs::path& DataDir() const { return context_.DataDir(); }
  const fs::path& StartupDir() const { return context_.StartupDir(); }
  QString ShownYear() const { return shown_year_; }
  QString ShownMonth() const { return shown_month_; }
  QString ShownDay() const { return shown_day_; }
  bool FromCalendar() const { return from_calendar_; }
  bool HalfMonth() const { return Cursor().HalfMonth(); }
};

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
  // A context of its own for each start, made when the window is, so that what a test put into
  // the folders before is what the start finds.
  app::AppContext& NewContext() {
    contexts_.push_back(std::make_unique<app::AppContext>(fs::current_path()));
    return *contexts_.back();
  }
  template <class Window = TestKvrwin>
  std::unique_ptr<Window> Open() {
    auto window = std::make_unique<Window>(NewContext());
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
  std::vector<std::unique_ptr<app::AppContext>> contexts_;
  test_support::FakeCalendarPort fake_calendar_;
  fs::path old_cwd_;
  QStringList messages_;
  QList<platform::MessageRequest> requests_;
  // The user's answers to the questions to come, in order; OK once they run out.
  QList<QMessageBox::StandardButton> answers_;
};

using KvrwinStartTest = KvrwinTest;
