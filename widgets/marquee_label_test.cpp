#include "widgets/marquee_label.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

namespace {

TEST(MarqueeLabel, OnePassCrossesTheLabelAndRaisesItsEvents) {
  widgets::TMarqueeLabel label;
  label.resize(300, 24);
  label.SetCaption(QStringLiteral("継続は力なり\r\n急がば回れ"));
  label.SetSteps(4);
  int begins = 0, steps = 0, ends = 0;
  label.OnBegin = [&] { ++begins; };
  label.OnStep = [&] { ++steps; };
  label.OnEnd = [&] { ++ends; };
  const int w =
      QFontMetrics(label.font()).horizontalAdvance(QStringLiteral("継続は力なり急がば回れ")) + 1;
  EXPECT_EQ(label.TextX(), 300);  // just beyond the right edge
  label.Start(0);
  label.Start(3);  // a running pass is not restarted
  label.Step();
  EXPECT_EQ(label.Position(), 1);
  label.Step();
  EXPECT_EQ(label.TextX(), static_cast<int>(std::nearbyint(0.5 * (300 + w))) - w);
  label.Step();
  label.Step();
  EXPECT_EQ(begins, 1);
  EXPECT_EQ(steps, 4);
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(label.Running());
  EXPECT_EQ(label.Position(), 0);
  label.Start(99);  // out of range starts at 0
  EXPECT_EQ(label.Position(), 0);
}

// The line is shaped once and kept: a new font or caption must still move the text by its
// new width.
TEST(MarqueeLabel, KeptLayoutFollowsFontAndCaption) {
  widgets::TMarqueeLabel label;
  label.resize(300, 24);
  label.SetSteps(2);
  label.Start(1);
  const auto expected = [&](const QString& text) {
    const int w = QFontMetrics(label.font()).horizontalAdvance(text) + 1;
    return static_cast<int>(std::nearbyint(0.5 * (300 + w))) - w;
  };
  label.SetCaption(QStringLiteral("善は急げ"));
  EXPECT_EQ(label.TextX(), expected(QStringLiteral("善は急げ")));
  QFont big = label.font();
  big.setPixelSize(40);
  label.setFont(big);
  EXPECT_EQ(label.TextX(), expected(QStringLiteral("善は急げ")));
  label.SetCaption(QStringLiteral("石の上にも三年"));
  EXPECT_EQ(label.TextX(), expected(QStringLiteral("石の上にも三年")));
}

TEST(MarqueeLabel, PropertiesAreClamped) {
  widgets::TMarqueeLabel label;
  label.SetSpeed(5000);
  EXPECT_EQ(label.Speed(), 1000);
  label.SetSpeed(0);
  EXPECT_EQ(label.Speed(), 1);
  label.SetSteps(-3);
  EXPECT_EQ(label.Steps(), 1);
}

}  // namespace
