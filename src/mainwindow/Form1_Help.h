#pragma once
// The help menu's commands, usable without the main window (the main window's
// members of the same purpose call these).
#include <QString>

class QWidget;

namespace HelpCommands {

// Opens the program's help with a viewer command (contents or search); with
// no help file assigned, the information message titled with owner's caption.
void showHelp(QWidget* owner, int command);

// The product page shipped with the program, German or English by gSprache.
QString homePage();

// Starts the program associated with HTML files with url; false when none is
// associated or it could not be started (both reported in a message box).
bool launchWebBrowser(const QString& url);

} // namespace HelpCommands
