#pragma once
// Dialog captions are long Russian phrases; a window manager cuts a caption that is wider than its
// window. The window's minimum width grows to hold its caption.

class QWidget;

namespace zarno {

// The width a window needs to show its whole caption beside the title bar's icon and buttons (the
// window manager's title font is taken as the bold application font).
int TitleWidth(const QWidget& window);
// Raises the window's minimum width to TitleWidth; a wider minimum stays.
void KeepTitleVisible(QWidget& window);

} // namespace zarno
