#include "app/row_heights.h"

#include <gtest/gtest.h>

namespace {

TEST(RowHeights, WindowShareWithTwoWholeLinesAtLeast) {
  struct Case {
    int client;
    bool status;
    app::GridLines lines;
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
    EXPECT_EQ(app::RowHeightFor(c.client, c.status, c.lines), c.row) << c.client;
    // The client height that gives that row gives it by its share alone.
    EXPECT_EQ((app::ClientHeightFor(c.row, c.status) - (c.status ? 120 : 92)) / 16, c.row);
  }
}

TEST(RowHeights, TextKeepsWholeLinesOnly) {
  EXPECT_EQ(app::WholeLinesHeight(34, 19), 19);
  EXPECT_EQ(app::WholeLinesHeight(38, 19), 38);
  EXPECT_EQ(app::WholeLinesHeight(18, 19), 0);
  EXPECT_EQ(app::WholeLinesHeight(40, 0), 0);
}

}  // namespace
