// The clock window on a fake clock and a fake main window: the date change at month and year
// ends, the alarms with their sound and messages, the five-minute restart, and the settings.
#include "clock/time_clock.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "clock/clock_label.h"
#include "clock/time_clock_host.h"
#include "platform/message_box.h"
#include "settings/ini_gt.h"
#include "test_support/fake_time_source.h"
#include "test_support/sound_samples.h"
#include "test_support/temp_dir.h"

namespace timeclock {
namespace {

using test_support::FakeTimeSource;

// Records what the clock asks of the main window, in order.
class FakeHost : public TimeClockHost {
 public:
  QString RememberedSoundPath() const override { return remembered; }
  void RememberSoundPath(const QString& path) override { remembered = path; }
  void ClockSetToday(int y, int m, int d) override {
    calls << QString("today %1-%2-%3").arg(y).arg(m).arg(d);
  }
  void ClockRebuildMonth() override { calls << "rebuild"; }
  void ClockCalendarToday() override { calls << "calendar"; }
  void ClockStartStatusLine() override { calls << "status"; }
  void ClockKeepStatusLineColour() override { ++colour_keeps; }
  bool MainWindowActive() const override { return active; }
  void FocusMainWindow() override { calls << "focus"; }

  QStringList calls;
  // What was asked besides the status line's five-minute restarts.
  QStringList Asked() const {
    QStringList asked = calls;
    asked.removeAll("status");
    return asked;
  }
  QString remembered;
  int colour_keeps = 0;
  bool active = true;
};

namespace keys = settings::keys;

class TimeClockTest : public ::testing::Test {
 protected:
  TimeClockTest() {
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_ << r.caption + "|" + r.text;
      return QMessageBox::Ok;
    });
    settings_.SetFileName(QString::fromStdString((dir_.path() / "vuruva.ini").string()));
  }
  ~TimeClockTest() override { platform::SetMessageHook(nullptr); }
  std::unique_ptr<TTimeClock> Open() {
    auto clock = std::make_unique<TTimeClock>(host_, settings_, dir_.path(), "none.HLP", clock_);
    clock->ChooseSoundFile = [this](QString& file) {
      if (chosen_.isEmpty()) return false;
      file = chosen_;
      return true;
    };
    return clock;
  }
  // Ticks the label once a second, as its timer does.
  void Seconds(TTimeClock& window, int n) {
    for (int i = 0; i < n; ++i) {
      clock_.Advance(1);
      window.ClockLabel1->Refresh();
    }
  }

  // A text key as the settings file holds it.
  QString Stored(const settings::Key& key) const { return settings_.ReadString(key); }
  void Store(const settings::Key& key, const QString& text) { settings_.WriteString(key, text); }
  // A key or one part of a font or placement key as written ("" when missing).
  std::string Part(const settings::Key& key, const char* part) const {
    return settings_.Store()
        .ReadValue(settings::SectionBytes(key), std::string(key.name) + part)
        .value_or("");
  }
  int StoredHeight() const {
    return std::stoi(Part(keys::ClockPlacement, ".YSize")) -
           std::stoi(Part(keys::ClockPlacement, ".Y"));
  }

  test_support::TempDir dir_;
  FakeTimeSource clock_{{2026, 12, 31, 23, 59, 50}};
  FakeHost host_;
  settings::TIniGT settings_;
  QStringList messages_;
  QString chosen_;
};

TEST_F(TimeClockTest, TheDateChangeAtMonthAndYearEndsGivesTheNewDayInOrder) {
  const struct {
    timeclock::LocalTime before;
    const char* today;
    const char* date_label;
  } cases[] = {
      {{2027, 1, 31, 23, 59, 59}, "today 2027-2-1", "令和9年2月1日(月)"},
      {{2027, 2, 28, 23, 59, 59}, "today 2027-3-1", "令和9年3月1日(月)"},
      {{2028, 2, 29, 23, 59, 59}, "today 2028-3-1", "令和10年3月1日(水)"},
      {{2026, 12, 31, 23, 59, 59}, "today 2027-1-1", "令和9年1月1日(金)"},
  };
  Store(keys::Alarm0, "00:00");
  for (const auto& c : cases) {
    clock_.Set(c.before);
    auto window = Open();
    host_.calls.clear();
    messages_.clear();
    Seconds(*window, 3);
    EXPECT_EQ(host_.Asked(), QStringList({c.today, "rebuild", "calendar"}));
    EXPECT_EQ(messages_, QStringList({"Time|日付が変更されました"}));
    EXPECT_EQ(window->Label1->text(), c.date_label);
  }
}

TEST_F(TimeClockTest, WithoutAStoredDateChangeTheNewDayComesWithoutANotice) {
  clock_.Set({2026, 12, 31, 23, 59, 59});
  auto window = Open();
  Seconds(*window, 3);
  EXPECT_EQ(host_.Asked(), QStringList({"today 2027-1-1", "rebuild", "calendar"}));
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(window->Label1->text(), "令和9年1月1日(金)");
  EXPECT_EQ(window->ClockLabel1->text(), "00時 00分 02秒");
}

TEST_F(TimeClockTest, AnAlarmAtMidnightAndTwoAlarmsInOneMinuteRingOnce) {
  Store(keys::Alarm0, "00:00");
  Store(keys::Alarm1, "00:00");  // the same minute as the date change: the first entry wins
  Store(keys::Alarm2, "00:01");
  Store(keys::AlarmSound, QString::fromStdString((dir_.path() / "none.wav").string()));
  clock_.Set({2026, 12, 31, 23, 59, 59});
  auto window = Open();
  Seconds(*window, 2 * 60);
  EXPECT_EQ(messages_, QStringList({"Time|日付が変更されました", "ミルネ|ﾌｧｲﾙを開けません",
                                    "Time|時間になりました"}));
  EXPECT_EQ(host_.Asked(), QStringList({"today 2027-1-1", "rebuild", "calendar", "rebuild"}));
  EXPECT_EQ(host_.remembered, Stored(keys::AlarmSound));
}

TEST_F(TimeClockTest, AnAlarmPlaysItsSoundUntilTheMessageIsClosed) {
  test_support::WriteBytes(dir_.path() / "bell.mid", test_support::MidiFile(20));
  Store(keys::Alarm1, "07:30");
  Store(keys::AlarmSound, QString::fromStdString((dir_.path() / "bell.mid").string()));
  clock_.Set({2026, 12, 8, 7, 29, 59});
  auto window = Open();
  bool playing_while_shown = false;
  platform::SetMessageHook([&](const platform::MessageRequest& r) {
    messages_ << r.caption + "|" + r.text;
    playing_while_shown = window->MediaPlayer1->Playing();
    return QMessageBox::Ok;
  });
  Seconds(*window, 2);
  EXPECT_EQ(messages_, QStringList({"Time|時間になりました"}));
  EXPECT_TRUE(playing_while_shown);
  EXPECT_FALSE(window->MediaPlayer1->Playing());  // closed with the message
  EXPECT_EQ(window->SoundTickCount(), 0);
  EXPECT_EQ(host_.Asked(), QStringList({"rebuild"}));
}

TEST_F(TimeClockTest, TheSoundTimerEndsTheSoundAfterItsTicks) {
  test_support::WriteBytes(dir_.path() / "bell.wav", test_support::WaveFile(20000));
  auto window = Open();
  ASSERT_TRUE(
      window->MediaPlayer1->Open(QString::fromStdString((dir_.path() / "bell.wav").string())));
  ASSERT_TRUE(window->MediaPlayer1->Play(60000));
  for (int i = 0; i < TTimeClock::kSoundTicks; ++i) window->Timer2Timer();
  EXPECT_TRUE(window->MediaPlayer1->Playing());
  window->Timer2Timer();
  EXPECT_FALSE(window->MediaPlayer1->Playing());
  EXPECT_FALSE(window->Timer2->isActive());
  EXPECT_GE(host_.colour_keeps, TTimeClock::kSoundTicks);
}

TEST_F(TimeClockTest, FiveMinuteMarksRestartTheStatusLine) {
  clock_.Set({2026, 12, 31, 23, 54, 0});
  auto window = Open();
  Seconds(*window, 11 * 60);
  EXPECT_EQ(host_.calls.count("status"), 3);  // 23:55, 00:00, 00:05
}

TEST_F(TimeClockTest, AMissedAlarmRingsOnceUnlessSwitchedOff) {
  Store(keys::Alarm1, "07:30");
  for (bool on : {true, false}) {
    settings_.Store().WriteBool(keys::MissedAlarm, on);
    messages_.clear();
    clock_.Set({2026, 12, 8, 7, 0, 0});
    auto window = Open();
    clock_.Set({2026, 12, 8, 9, 15, 0});  // the machine slept
    window->ClockLabel1->Refresh();
    window->ClockLabel1->Refresh();
    EXPECT_EQ(messages_.count("Time|時間になりました"), on ? 1 : 0) << on;
  }
}

TEST_F(TimeClockTest, StoringClearingAndThePanel) {
  auto window = Open();
  EXPECT_EQ(window->height(), TTimeClock::kCollapsedHeight);
  window->SpeedButton1->click();
  EXPECT_EQ(window->height(), TTimeClock::kExpandedHeight);
  EXPECT_EQ(StoredHeight(), TTimeClock::kExpandedHeight);  // the placement follows the panel
  window->MaskEdit1->setText("7:30");                      // one hour digit
  window->MaskEdit2->setText("12:05");
  window->SpeedButton1->click();
  EXPECT_EQ(window->height(), TTimeClock::kCollapsedHeight);
  EXPECT_EQ(Stored(keys::Alarm0), "00:00");
  EXPECT_EQ(Stored(keys::Alarm1), "07:30");
  EXPECT_EQ(Stored(keys::Alarm2), "12:05");
  EXPECT_EQ(window->ClockLabel1->EventList(),
            (std::vector<std::string>{"00:00", "07:30", "12:05"}));
  EXPECT_TRUE(host_.calls.contains("focus"));
  EXPECT_EQ(StoredHeight(), TTimeClock::kCollapsedHeight);  // written again when closed

  window->BitBtn2->click();
  EXPECT_EQ(Stored(keys::Alarm1), "");
  EXPECT_EQ(Stored(keys::Alarm2), "");
  // The running alarms stay until stored again.
  EXPECT_EQ(window->ClockLabel1->EventList()[1], "07:30");
  window->Button2->click();
  EXPECT_EQ(window->ClockLabel1->EventList()[1], "");

  // At the next start the cleared times are gone.
  Store(keys::Alarm1, "06:45");
  auto again = Open();
  EXPECT_EQ(again->MaskEdit1->text(), "06:45");
  EXPECT_EQ(again->ClockLabel1->EventList(), (std::vector<std::string>{"00:00", "06:45", ""}));
}

TEST_F(TimeClockTest, TypedTimesNeverOverwriteADigitAndHalfTypedOnesAreNotStored) {
  auto window = Open();
  window->SpeedButton1->click();
  QLineEdit* field = window->MaskEdit1;
  struct Step {
    const char* keys;
    bool home;  // the cursor first goes to the start
    const char* shown;
  };
  const Step steps[] = {
      {"2359", false, "23:59"},
      {"1", false, "23:59"},
      {"1", true, "23:59"},
      {"", false, "23:59"},
  };
  for (const Step& step : steps) {
    if (step.home) field->home(false);
    QTest::keyClicks(field, step.keys);
    EXPECT_EQ(field->text(), step.shown) << step.keys;
  }
  field->clear();
  QTest::keyClicks(field, "7590");  // 75 is no hour
  EXPECT_EQ(field->text(), "7");
  QTest::keyClicks(field, ":3");
  window->Button2->click();
  EXPECT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_.value(0).startsWith(
      QStringLiteral("注意|アラームの時刻「7:3」は入力の途中です。")));
  EXPECT_EQ(Part(keys::Alarm1, ""), "");
  EXPECT_TRUE(window->SpeedButton1->isChecked());  // the panel stays open
  QTest::keyClicks(field, "0");
  window->Button2->click();
  EXPECT_EQ(Stored(keys::Alarm1), "07:30");
}

TEST_F(TimeClockTest, FontsOutsideTheSaneRangeAreRefused) {
  auto window = Open();
  for (int points : {2, 200}) {
    window->ChooseFont = [points](QFont& f) {
      f.setPointSize(points);
      return true;
    };
    messages_.clear();
    window->N5Click();
    EXPECT_EQ(messages_.size(), 1);
    EXPECT_EQ(Part(keys::ClockFont, ".Size"), "");
    EXPECT_NE(window->ClockLabel1->font().pointSize(), points);
  }
}

TEST_F(TimeClockTest, SoundFileChoiceAndSave) {
  test_support::WriteBytes(dir_.path() / "bell.wav", test_support::WaveFile(100));
  chosen_ = QString::fromStdString((dir_.path() / "bell.wav").string());
  Store(keys::AlarmSound, "old.mid");
  auto window = Open();
  window->BitBtn1->click();  // nothing chosen yet: the stored file stays
  EXPECT_EQ(Stored(keys::AlarmSound), "old.mid");
  window->Button1->click();
  EXPECT_EQ(Stored(keys::AlarmSound), chosen_);
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_TRUE(window->MediaPlayer1->Playing());  // the preview
  window->BitBtn1->click();
  EXPECT_EQ(host_.remembered, chosen_);
  EXPECT_FALSE(window->MediaPlayer1->Playing());
  EXPECT_EQ(host_.calls.count("rebuild"), 2);

  chosen_ = QString::fromStdString((dir_.path() / "gone.wav").string());
  window->Button1->click();
  EXPECT_EQ(messages_, QStringList({"ミルネ|ﾌｧｲﾙを開けません"}));
  EXPECT_TRUE(TTimeClock::SoundFilter().startsWith("MIDIｼｰｹﾝｽ(*.mid,*.rmi)"));
}

TEST_F(TimeClockTest, ColoursFontsAndTheFocusTimer) {
  settings_.Store().WriteColour(keys::ClockColor, 0x000000FF);  // red
  auto window = Open();
  EXPECT_EQ(window->ClockLabel1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  window->ChooseColour = [](QColor& c) {
    c = QColor(0, 0, 255);
    return true;
  };
  window->N2Click();
  EXPECT_EQ(settings_.Store().ReadColour(keys::DateBackColor, 0), 0x00FF0000u);
  EXPECT_EQ(window->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(window->Label1->palette().color(QPalette::Window), QColor(0, 0, 255));
  window->ChooseColour = [](QColor&) { return false; };
  window->N3Click();
  EXPECT_EQ(settings_.Store().ReadColour(keys::ClockColor, 0), 0x000000FFu);

  window->ChooseFont = [](QFont& f) {
    f.setPointSize(20);
    return true;
  };
  window->N5Click();
  EXPECT_EQ(window->ClockLabel1->font().pointSize(), 20);
  EXPECT_EQ(window->Label1->font().pointSize(), 20);
  // Both lines of the larger font fit the closed window.
  EXPECT_GE(window->height(), 2 * QFontMetrics(window->Label1->font()).height());
  EXPECT_EQ(Part(keys::ClockFont, ".Size"), "20");
  EXPECT_EQ(window->ClockLabel1->palette().color(QPalette::WindowText), QColor(255, 0, 0));

  host_.calls.clear();
  window->Timer1Timer();  // the main window is active: nothing
  EXPECT_TRUE(host_.calls.isEmpty());
  host_.active = false;
  window->Timer1Timer();
  EXPECT_EQ(host_.calls, QStringList({"focus"}));
  EXPECT_EQ(window->Timer1, nullptr);
}

TEST_F(TimeClockTest, PlacementIsKeptOverClosing) {
  auto window = Open();
  window->move(300, 200);
  window->close();
  EXPECT_EQ(Part(keys::ClockPlacement, ".X"), "300");
  QPointer<TTimeClock> closed = window.release();  // closing destroys it
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(closed.isNull());
  auto again = Open();
  EXPECT_EQ(again->pos(), QPoint(300, 200));
  EXPECT_TRUE(again->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(again->windowFlags().testFlag(Qt::FramelessWindowHint));
}

}  // namespace
}  // namespace timeclock
