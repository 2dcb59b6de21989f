// The clock label on a fake clock: its texts, its date label, and the list check.
#include "clock/clock_label.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include <memory>

#include "platform/message_box.h"
#include "test_support/fake_time_source.h"

namespace timeclock {
namespace {

using test_support::FakeTimeSource;

class ClockLabelTest : public ::testing::Test {
 protected:
  ClockLabelTest() {
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_.push_back(r.text);
      return QMessageBox::Ok;
    });
  }
  ~ClockLabelTest() override { platform::SetMessageHook(nullptr); }
  FakeTimeSource clock_{{1999, 5, 23, 14, 5, 9}};
  QStringList messages_;
};

TEST_F(ClockLabelTest, TimeAndDateFollowTheirStyles) {
  TClockLabel label(nullptr, clock_);
  EXPECT_EQ(label.text(), "PM 02:05:09");  // the designed style
  QLabel date;
  label.SetDateLabel(&date);
  EXPECT_EQ(date.text(), "99/05/23");
  label.SetStyle(TStyle::ts24HoursJ);
  label.SetDateStyle(TDateStyle::dsGengoW);
  EXPECT_EQ(label.text(), "14時 05分 09秒");
  EXPECT_EQ(date.text(), "平成11年5月23日(日)");
  clock_.Set({2019, 5, 1, 0, 0, 0});
  label.Refresh();
  EXPECT_EQ(date.text(), "令和元年5月1日(水)");
  label.SetStyle(TStyle::tsCustom);
  EXPECT_EQ(label.text(), "");
  label.SetCustomFormat("hh:nn");
  EXPECT_EQ(label.text(), "00:00");
}

TEST_F(ClockLabelTest, ADestroyedDateLabelIsLetGo) {
  TClockLabel label(nullptr, clock_);
  auto date = std::make_unique<QLabel>();
  label.SetDateLabel(date.get());
  date.reset();
  EXPECT_EQ(label.DateLabel(), nullptr);
  label.Refresh();  // no crash on the destroyed label
}

TEST_F(ClockLabelTest, EventsFireFromTheTicksAndTheListIsChecked) {
  TClockLabel label(nullptr, clock_);
  std::vector<std::pair<char, int>> fired;
  label.OnAlarm = [&](TClockLabel*, int index) { fired.push_back({'a', index}); };
  label.OnTimeCast = [&](TClockLabel*, int index) { fired.push_back({'t', index}); };
  label.SetTimeCast(ClockTicker::kAllMarks);
  label.SetEventList({"00:00", "7:3x", "14:10"});
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith("2番目のデータが不正です。")) << messages_[0].toStdString();
  EXPECT_EQ(label.EventList().size(), 3u);  // taken in any case
  label.EventList().push_back("bad");       // in place: no check
  EXPECT_EQ(messages_.size(), 1);
  for (int s = 0; s < 6 * 60; ++s) {
    clock_.Advance(1);
    label.Refresh();
  }
  const std::vector<std::pair<char, int>> expected = {{'a', 2}, {'t', 2}};
  EXPECT_EQ(fired, expected);
}

TEST_F(ClockLabelTest, TheClockGoesOnWhileAnAlarmHandlerWaits) {
  clock_.Set({2026, 12, 8, 7, 29, 59});
  TClockLabel label(nullptr, clock_);
  label.SetStyle(TStyle::ts24Hours);
  label.EventList() = {"07:30"};
  bool ticked_meanwhile = false;
  label.OnAlarm = [&](TClockLabel*, int) {
    // As a modal message box does: a nested event loop, here until the label shows the next
    // second.
    clock_.Advance(1);
    ticked_meanwhile = QTest::qWaitFor([&] { return label.text() == "07:30:01"; }, 10000);
  };
  label.SetInterval(10);
  clock_.Advance(1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticked_meanwhile; }, 20000));
}

}  // namespace
}  // namespace timeclock
