#include "common/HelpKey.h"

#include "common/ErrorHandling.h"
#include "platform/HelpViewer.h"
#include "platform/MessageService.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace HelpKey {

void installF1(QWidget* window, int contextId)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [window, contextId] {
        if (HelpViewer::appHelpFile().isEmpty()) {
            MsgBox(HelpViewer::noHelpFileMessage(), MsgStyle::Information, window->windowTitle());
            return;
        }
        if (!HelpViewer::WinHelp(window, HelpViewer::appHelpFile(), HelpViewer::HelpContext,
                                 HelpViewer::contextForFocus(window, contextId)))
            reportHelpError();
    });
}

void reportHelpError()
{
    if (HelpViewer::lastErrorIsUnusableFile())
        ErrorHandling::report(AppError(ErrNo::Internal, HelpViewer::lastError()));
    else
        MsgBox(HelpViewer::lastError());
}

} // namespace HelpKey
