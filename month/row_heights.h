// The month grids' row heights from the real line heights of their fonts, free of Qt. The
// window's height is shared among the 16 rows as the layout always did, but a row is never
// lower than two whole lines (the date with the holiday name below it; two lines of a day's
// text) and the cells' margins; cells draw their text in whole lines only.
#pragma once

namespace month {

// Pixels from one line of text to the next in each column's font.
struct GridLines {
  int date_line = 0;
  int text_line = 0;
};

constexpr int kCellMargin = 2;  // above and below the text of a cell
constexpr int kRowsPerGrid = 16;

// Two whole lines of the taller font, with the margins.
int MinimumRowHeight(const GridLines& lines);
// The default row height: the window's share of its client height (what the tool bar, the
// title and, when shown, the status line leave), or the minimum when that is more.
int RowHeightFor(int client_height, bool status_shown, const GridLines& lines);
// The row height that `client_height` shares out to each row, whatever the fonts need: what
// the rows get when the window has grown to the screen and still cannot give them the minimum.
int RowShare(int client_height, bool status_shown);
// How far the fonts shrink so that two of their lines fit a row of `row_height` (1 when they
// fit as they are): a screen too small for the chosen fonts gets every day, smaller, rather
// than days cut off.
double FontScaleFor(int row_height, const GridLines& lines);
// The least client height whose share gives every row `row_height`.
int ClientHeightFor(int row_height, bool status_shown);
// The part of `height` that whole lines of `line` pixels fill; 0 when not even one fits.
int WholeLinesHeight(int height, int line);

}  // namespace month
