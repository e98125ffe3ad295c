#pragma once
// The message box that moves the main window out of sight while it is open.
#include <QRect>
#include <QString>

class QWidget;

// `uncovered`: the screen area the box keeps clear of (empty: none).
int ShowMsgBox(const QString& prompt, int buttons, const QRect& uncovered = QRect());

// The main window registers itself here so ShowMsgBox can move it aside.
void setMainWindowForMsgBox(QWidget* window);
