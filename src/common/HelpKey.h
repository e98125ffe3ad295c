#pragma once
// The F1 key of the windows, and how a help call that failed is reported:
// the program's side of the help viewer (platform/HelpViewer.h).
class QWidget;

namespace HelpKey {

// Makes F1 in window open the help file of the program at contextId, or at
// the context of the control that has the focus or of the nearest container
// around it that has one (HelpViewer::setHelpContext).
void installF1(QWidget* window, int contextId);

// Shows why the last help call failed: a help file that is there but cannot
// be used (its copy to the user's cache folder or the opening of it failed)
// in the error box, any other failure in a plain message box.
void reportHelpError();

} // namespace HelpKey
