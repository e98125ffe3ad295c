#pragma once
// On X11 a window that is mapped shows nothing of its own until the program
// has handled the window system's news and painted it: the window manager's
// frame appears around whatever was on the screen there before. A window
// given a backdrop is filled by the display itself, at once, with a picture
// of the window as it is now; the program's own painting follows.
class QWidget;

namespace WindowBackdrop {
// Takes a picture of the window (drawn off screen) and makes it the window's
// backdrop. Does nothing on other window systems.
void set(QWidget& window);

// A window that hides itself leaves the window manager's frame on the screen,
// its caption over an empty client area, until the window manager has
// noticed and taken the frame away too. Taking the frame (with the window in
// it) off the screen first makes the window vanish whole, in one step. Does
// nothing without a frame or on other window systems.
void unmapFrame(QWidget& window);
} // namespace WindowBackdrop
