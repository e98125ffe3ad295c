#pragma once
// How the program's windows come to the front and where they appear again.
#include <QPointer>
#include <QRect>
#include <QWidget>

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

// Puts a window in the middle of the available area of its screen, whole on
// it: a window that can be resized is made smaller when it is larger than
// that area. A window not shown yet is taken to get the frame of its owner
// or of the program's other windows.
void centreOnScreen(QWidget& window);

// Moves the window so that its frame's top left is at pos, or as near to it
// as lets the frame lie whole on the available area of its screen. A window
// not shown yet is taken to get the frame of its owner or of the program's
// other windows.
void moveWhole(QWidget& window, QPoint pos);

// The size of the window with the frame the window manager puts around it,
// taken as moveWhole does.
QSize frameSize(const QWidget& window);

// Moves a dialog beside its owner window (right, else left), else below or
// above `uncovered` (screen coordinates), so that it covers nothing of that
// and lies whole on the screen's available area. With keepFittingPlace, a place the dialog
// has already (the learner may have moved it) is kept while it covers
// nothing. Returns false when there is nothing to keep clear of.
bool placeClearOf(QWidget& dialog, const QRect& uncovered, bool keepFittingPlace = false);

// While it lives, a shown window is off the screen. Moved out of sight, a
// window may still show a part of itself: some window managers keep a tenth
// of every window on the screen (openbox does). Afterwards the window is
// shown again where it then is, and the focus goes back to the window that
// had it.
class OffScreen {
public:
    explicit OffScreen(QWidget& window);
    ~OffScreen();
    OffScreen(const OffScreen&) = delete;
    OffScreen& operator=(const OffScreen&) = delete;

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_active; // the window that had the focus
    bool m_shown = false;
    bool m_quitOnLastWindow = true;
};

} // namespace WindowPlacement
