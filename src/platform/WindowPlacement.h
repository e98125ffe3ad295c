#pragma once
// How the program's windows come to the front and where they appear again.
class QWidget;

namespace WindowPlacement {

// Shows the window restored (a window the window manager minimised comes
// back, a maximised one stays maximised), raised and active: what a command
// that shows a window promises the learner.
void bringToFront(QWidget& window);

// From now on every window that is hidden and shown again appears where it
// was. Without it the window system places a window shown again by the
// size of its frame further down and to the right (X11 with a window
// manager that draws the frame). Safe to call more than once.
void keepPlacesOnReshow();

} // namespace WindowPlacement
