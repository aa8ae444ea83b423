#pragma once
// The file-manager window's left column: its start width and how it follows the window's width.

namespace zarno {

constexpr int kLeftColumnMinimum = 10;
constexpr int kLeftColumnStartWidth = 150;

// The saved bar position, or 150 when it is less than that (0 meaning none saved).
int InitialLeftColumnWidth(int savedPosition);

// The left column after the window's client width changed from previousWidth to newWidth: it keeps
// its proportion (a previous width of 0 counts as 1; integer result), and becomes minimum + 1 when
// that is not larger than the column's minimum. newWidth 0 leaves it unchanged.
int ScaleLeftColumn(int columnWidth, int newWidth, int previousWidth, int minimumWidth = kLeftColumnMinimum);

// The left column as laid out in a client area `available` pixels wide (the bar left out): the width
// asked for, but never narrower than the left column's minimum nor so wide that the right column
// falls below its own; when both cannot fit, the left column keeps its minimum.
int ClampLeftColumn(int requested, int available, int leftMinimum, int rightMinimum);

} // namespace zarno
