#pragma once
// The message box that moves the main window out of sight while it is open.
#include <QString>

int ShowMsgBox(const QString& prompt, int buttons);
