#include "common/ShowMsgBox.h"

#include "common/Global.h"
#include "platform/MessageService.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget>& mainWindow()
{
    static QPointer<QWidget> window;
    return window;
}
} // namespace

void setMainWindowForMsgBox(QWidget* window) { mainWindow() = window; }

int ShowMsgBox(const QString& prompt, int buttons)
{
    QWidget* w = mainWindow();
    if (!w)
        return MsgBox(prompt, buttons, appTitle());

    // The main window goes out of sight while the box is open.
    const int left = w->x();
    w->move(-10000, w->y());
    QCoreApplication::processEvents();
    const int answer = MsgBox(prompt, buttons, appTitle());
    QCoreApplication::processEvents();
    // The queued events may have closed the window meanwhile.
    if (QWidget* back = mainWindow())
        back->move(left, back->y());
    return answer;
}
