#include "common/ShowMsgBox.h"

#include "common/Global.h"
#include "platform/MessageService.h"
#include "platform/WindowPlacement.h"

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

int ShowMsgBox(const QString& prompt, int buttons, const QRect& uncovered)
{
    QWidget* w = mainWindow();
    if (!w)
        return MsgBox(prompt, buttons, appTitle(), uncovered);

    // The main window goes out of sight while the box is open. The pending
    // events run so that the move is drawn, but not the user's clicks and
    // keys (nor a window manager's close): those wait in the window system
    // until the command that shows the box has ended, instead of starting
    // another command in the middle of this one.
    const int left = w->x();
    int answer = 0;
    {
        WindowPlacement::OffScreen parked(*w);
        w->move(-10000, w->y());
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        answer = MsgBox(prompt, buttons, appTitle(), uncovered);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        // The pending events may have deleted the window meanwhile.
        if (QWidget* back = mainWindow())
            back->move(left, back->y());
    }
    return answer;
}
