#include "widgets/gradient_table.h"

#include <gtest/gtest.h>

namespace {

TEST(GradientTable, RunsFromStartToEnd) {
  widgets::GradientTable t = widgets::MakeGradientTable(0x000000, 0xFFFFFF);
  EXPECT_EQ(t[0], 0x000000u);
  EXPECT_EQ(t[1], 0x010101u);
  EXPECT_EQ(t[128], 0x808080u);
  EXPECT_EQ(t[255], 0xFFFFFFu);
  for (int i = 1; i < 256; ++i) EXPECT_GE(t[i] & 0xFF, t[i - 1] & 0xFF);
}

TEST(GradientTable, ChannelsMoveIndependently) {
  // Red falls while blue rises; green stays.
  widgets::GradientTable t = widgets::MakeGradientTable(0x0040FF, 0xFF4000);
  EXPECT_EQ(t[0], 0x0040FFu);
  EXPECT_EQ(t[255], 0xFF4000u);
  for (uint32_t c : t) EXPECT_EQ((c >> 8) & 0xFF, 0x40u);
  EXPECT_EQ(t[51] & 0xFF, 204u);  // 255 - 51
  EXPECT_EQ((t[51] >> 16) & 0xFF, 51u);
}

TEST(GradientTable, EqualColoursGiveAFlatFill) {
  widgets::GradientTable t = widgets::MakeGradientTable(0xC0C0C0, 0xC0C0C0);
  for (uint32_t c : t) EXPECT_EQ(c, 0xC0C0C0u);
}

}  // namespace
