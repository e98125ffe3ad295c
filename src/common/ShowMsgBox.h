#pragma once
// The message box that moves the main window out of sight while it is open.
#include <QString>

class QWidget;

int ShowMsgBox(const QString& prompt, int buttons);

// The main window registers itself here so ShowMsgBox can move it aside.
void setMainWindowForMsgBox(QWidget* window);
