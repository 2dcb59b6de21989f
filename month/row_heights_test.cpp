#include "month/row_heights.h"

#include <gtest/gtest.h>

namespace {

TEST(RowHeights, WindowShareWithTwoWholeLinesAtLeast) {
  struct Case {
    int client;
    bool status;
    month::GridLines lines;
    int row;
  } cases[] = {
      {760, true, {13, 13}, 40},   // the share: (760 - 120) / 16
      {760, false, {13, 13}, 41},  // more room without the status line
      {700, true, {19, 19}, 42},   // the share (36) would clip the second line
      {700, true, {19, 23}, 50},   // the taller font decides: a 12-point Mincho day text
      {700, true, {27, 23}, 58},   // a large date font with its holiday name
      {100, true, {0, 0}, 6},      // no font known: one pixel a line, never zero or less
  };
  for (const Case& c : cases) {
    EXPECT_EQ(month::RowHeightFor(c.client, c.status, c.lines), c.row) << c.client;
    // The client height that gives that row gives it by its share alone.
    EXPECT_EQ((month::ClientHeightFor(c.row, c.status) - (c.status ? 120 : 92)) / 16, c.row);
  }
}

TEST(RowHeights, TextKeepsWholeLinesOnly) {
  EXPECT_EQ(month::WholeLinesHeight(34, 19), 19);
  EXPECT_EQ(month::WholeLinesHeight(38, 19), 38);
  EXPECT_EQ(month::WholeLinesHeight(18, 19), 0);
  EXPECT_EQ(month::WholeLinesHeight(40, 0), 0);
}

}  // namespace

TEST(RowHeights, ScreenTooSmallShrinksRowsAndFontsTogether) {
  struct Case {
    int most_client;  // a window as tall as the screen
    month::GridLines lines;
    int share;
    double scale;
  } cases[] = {
      {760, {13, 13}, 40, 1.0},   // room enough: the fonts as chosen
      {600, {19, 19}, 30, 0.68},  // 26 of the 38 pixels two lines need
      {500, {35, 35}, 23, 0.27},  // an 18-point face at scale 1.5 on 1280×800
      {100, {13, 13}, 1, 0.04},   // no room at all: one pixel, never zero
  };
  for (const Case& c : cases) {
    EXPECT_EQ(month::RowShare(c.most_client, true), c.share) << c.most_client;
    const double scale = month::FontScaleFor(c.share, c.lines);
    EXPECT_NEAR(scale, c.scale, 0.01) << c.most_client;
    // Two lines of the shrunk fonts, with the margins, fit the shrunk row.
    if (scale < 1.0 && c.share > 2 * month::kCellMargin) {
      EXPECT_LE(2 * month::kCellMargin + 2 * scale * c.lines.text_line, c.share + 0.001);
    }
  }
}
