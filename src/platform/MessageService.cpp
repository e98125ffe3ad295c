#include "platform/MessageService.h"

#include "engine/UiLanguage.h"
#include "platform/WindowPlacement.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {
std::shared_ptr<MessageService>& current()
{
    static std::shared_ptr<MessageService> service = std::make_shared<QtMessageService>();
    return service;
}
// A modal window that the window manager minimises (some take its owner
// along) would leave the program waiting for an answer that nobody can give:
// while it runs, it comes straight back, its owner with it.
class KeepInReach : public QObject {
public:
    explicit KeepInReach(QDialog* dialog) : m_dialog(dialog) { dialog->installEventFilter(this); }
    ~KeepInReach() override
    {
        if (m_dialog)
            m_dialog->removeEventFilter(this);
    }
    int exec() { return m_dialog->exec(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_dialog && event->type() == QEvent::WindowStateChange && m_dialog->isMinimized())
            QTimer::singleShot(0, this, [this] { restore(); });
        return false;
    }

private:
    void restore()
    {
        if (!m_dialog || !m_dialog->isVisible())
            return;
        QWidget* owner = m_dialog->parentWidget() ? m_dialog->parentWidget()->window() : nullptr;
        if (owner && owner->isMinimized())
            owner->setWindowState(owner->windowState() & ~Qt::WindowMinimized);
        m_dialog->setWindowState(m_dialog->windowState() & ~Qt::WindowMinimized);
        m_dialog->raise();
        m_dialog->activateWindow();
    }

    QPointer<QDialog> m_dialog;
};

// A window manager's close request that the program has not taken yet when a
// modal window opens (made while a command worked or waited for another
// program's lock, and held back in the queue since) would reach a window the
// modal one blocks, and the platform would drop it. Such requests are taken
// aside until the modal window reaches the screen and put back in the queue
// when it closes, so that each is carried out once the command has returned.
class HeldCloses : public QAbstractNativeEventFilter {
public:
    explicit HeldCloses(QDialog* modal) : m_modal(modal) { qApp->installNativeEventFilter(this); }
    ~HeldCloses() override
    {
        qApp->removeNativeEventFilter(this);
        for (const QPointer<QWindow>& window : std::as_const(m_windows))
            if (window)
                QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::AsynchronousDelivery>(window);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t" || !m_modal)
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* request = static_cast<const xcb_client_message_event_t*>(message);
        if (request->format != 32 || request->type != atom("WM_PROTOCOLS")
            || request->data.data32[0] != atom("WM_DELETE_WINDOW"))
            return false;
        // Once the modal window is on the screen, a close of a window it
        // blocks is the user's input made meanwhile, and blocked as any.
        if (m_modal->windowHandle() && m_modal->windowHandle()->isExposed())
            return false;
        for (QWindow* window : QGuiApplication::allWindows()) {
            if (!window->handle() || window->winId() != WId(request->window) || window == m_modal->windowHandle())
                continue;
            if (!m_windows.contains(window))
                m_windows << window;
            return true;
        }
        return false;
    }

private:
    static xcb_atom_t atom(const char* name)
    {
        static QHash<QByteArray, xcb_atom_t> atoms;
        auto found = atoms.constFind(name);
        if (found != atoms.constEnd())
            return *found;
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t* c = x11 ? x11->connection() : nullptr;
        if (!c)
            return XCB_ATOM_NONE;
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atoms[name] = a;
    }

    QPointer<QDialog> m_modal;
    QList<QPointer<QWindow>> m_windows;
};

// Runs a modal window: within reach, and with the close requests it would
// block that were made before it (see HeldCloses).
int runModal(QDialog* dialog)
{
    HeldCloses held(dialog);
    return KeepInReach(dialog).exec();
}

// A message box that keeps clear of a screen area: placed once it knows its
// size, before it reaches the screen.
class PlacedMessageBox : public QMessageBox {
public:
    PlacedMessageBox(QWidget* parent, const QRect& uncovered) : QMessageBox(parent), m_uncovered(uncovered) {}

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        if (!event->spontaneous())
            WindowPlacement::placeClearOf(*this, m_uncovered);
    }

private:
    QRect m_uncovered;
};
} // namespace

MessageService& MessageService::instance() { return *current(); }

std::shared_ptr<MessageService> MessageService::install(std::shared_ptr<MessageService> service)
{
    auto previous = current();
    current() = service ? std::move(service) : std::make_shared<QtMessageService>();
    return previous;
}

int MsgBox(const QString& prompt, int style, const QString& title, const QRect& uncovered)
{
    return MessageService::instance().message(MessageRequest{prompt, style, title, nullptr, uncovered});
}

int QtMessageService::message(const MessageRequest& request)
{
    PlacedMessageBox box(request.parent ? request.parent : QApplication::activeWindow(), request.uncovered);
    box.setWindowTitle(request.title.isEmpty() ? appTitle() : request.title);
    // Prompts break their lines with carriage returns, which a Qt label
    // would run together; the box shows them as line breaks.
    QString text = request.prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (request.style & 0x70) {
    case MsgStyle::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgStyle::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgStyle::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgStyle::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QString text;
        int result;
        QMessageBox::ButtonRole role;
    };
    const bool en = isEnglish();
    const Choice ok{QStringLiteral("OK"), MsgResult::OK, QMessageBox::AcceptRole};
    const Choice cancel{en ? QStringLiteral("&Cancel") : QStringLiteral("&Abbrechen"), MsgResult::Cancel,
                        QMessageBox::RejectRole};
    const Choice yes{en ? QStringLiteral("&Yes") : QStringLiteral("&Ja"), MsgResult::Yes, QMessageBox::YesRole};
    const Choice no{en ? QStringLiteral("&No") : QStringLiteral("&Nein"), MsgResult::No, QMessageBox::NoRole};
    const Choice abort{en ? QStringLiteral("&Abort") : QStringLiteral("&Abbrechen"), MsgResult::Abort,
                       QMessageBox::RejectRole};
    const Choice retry{en ? QStringLiteral("&Retry") : QStringLiteral("&Wiederholen"), MsgResult::Retry,
                       QMessageBox::AcceptRole};
    const Choice ignore{en ? QStringLiteral("&Ignore") : QStringLiteral("&Ignorieren"), MsgResult::Ignore,
                        QMessageBox::AcceptRole};
    QList<Choice> choices;
    switch (request.style & 0x7) {
    case MsgStyle::OKCancel:
        choices = {ok, cancel};
        break;
    case MsgStyle::AbortRetryIgnore:
        choices = {abort, retry, ignore};
        break;
    case MsgStyle::YesNoCancel:
        choices = {yes, no, cancel};
        break;
    case MsgStyle::YesNo:
        choices = {yes, no};
        break;
    case MsgStyle::RetryCancel:
        choices = {retry, cancel};
        break;
    default:
        choices = {ok};
        break;
    }
    QList<QPushButton*> buttons;
    for (const Choice& c : choices)
        buttons << box.addButton(c.text, c.role);
    const int defaultIndex = std::min<int>((request.style & 0x300) >> 8, int(buttons.size()) - 1);
    box.setDefaultButton(buttons.at(defaultIndex));
    if (choices.size() == 1)
        box.setEscapeButton(buttons.first());
    runModal(&box);
    const int pressed = int(buttons.indexOf(static_cast<QPushButton*>(box.clickedButton())));
    if (pressed < 0) {
        // Closed by the window manager: the cancel-like answer, else the only button.
        for (const Choice& c : choices)
            if (c.result == MsgResult::Cancel || c.result == MsgResult::No)
                return c.result;
        return choices.first().result;
    }
    return choices.at(pressed).result;
}

int QtMessageService::execModal(QDialog* dialog) { return runModal(dialog); }

void QtMessageService::beep() { QApplication::beep(); }
