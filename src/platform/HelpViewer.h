#pragma once
// The help viewer: the program's help (German "lexuvan", English "lexuvane"),
// built at build time as Qt Help files, shown at its contents, its search or
// a topic by context number.
#include <QString>

class QWidget;

namespace HelpViewer {

// Help commands of the windows (the classic help-call codes).
constexpr int HelpContents = 3;
constexpr int HelpPartialKey = 0x105; // search
constexpr int HelpContext = 1;

// Opens helpFile (a path without extension or with ".hlp"; the viewer finds
// the built help beside it) with a command; data is the context number for
// HelpContext. Returns false when the help cannot be shown.
bool WinHelp(QWidget* owner, const QString& helpFile, int command, int data = 0);

// Gives a control or container of a window its own help context; 0 = none.
void setHelpContext(QWidget* widget, int contextId);

// The context F1 opens in window: that of the focused control, else of the
// nearest container around it within window, else windowContext.
int contextForFocus(QWidget* window, int windowContext);

// The help file chosen at start-up (App.HelpFile); empty = none assigned.
QString appHelpFile();
void setAppHelpFile(const QString& path);

// The information shown when no help file is assigned (App.HelpFile empty).
QString noHelpFileMessage();

// Why the last WinHelp call failed (a text for the message box).
QString lastError();
// True when that failure is a help file that is there but cannot be used
// (its copy to the user's cache folder or the opening of it failed), a fault
// of the system rather than a missing file (common/HelpKey.h reports it).
bool lastErrorIsUnusableFile();

// The viewer window while it exists (it is created on first use and reused),
// and the title of the page it shows.
QWidget* viewerWindow();
QString shownPageTitle();

// The built help collection (".qhc") for a help file name as the windows use it.
QString collectionFor(const QString& helpFile);

} // namespace HelpViewer
