#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace WindowPlacement {

void bringToFront(QWidget& window)
{
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.setVisible(true);
    window.raise();
    window.activateWindow();
}

namespace {
// Once a window is unmapped its frame is gone, and on the next showing Qt
// places the frame where the client area was. Stating the frame's place
// again while the window is hidden makes the next showing put it back there.
class PlaceKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous() && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            const Qt::WindowType type = w->windowType();
            if (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool)
                w->move(w->pos());
        }
        return false;
    }
};
} // namespace

OffScreen::OffScreen(QWidget& window)
    : m_window(&window), m_active(QApplication::activeWindow()), m_shown(window.isVisible())
{
    if (!m_shown)
        return;
    // While it is hidden, closing a window that has no owner (a message box
    // shown while no window was active) would count as closing the program.
    m_quitOnLastWindow = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    window.hide();
}

OffScreen::~OffScreen()
{
    if (!m_shown)
        return;
    QGuiApplication::setQuitOnLastWindowClosed(m_quitOnLastWindow);
    QWidget* w = m_window;
    if (!w)
        return;
    const bool quiet = w->testAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->show();
    w->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
    // With no window active meanwhile, the window manager gives the focus to
    // the window coming back; it goes to the window that had it.
    if (m_active)
        m_active->activateWindow();
}

void keepPlacesOnReshow()
{
    static PlaceKeeper* keeper = nullptr;
    if (keeper || !qApp)
        return;
    keeper = new PlaceKeeper(qApp);
    qApp->installEventFilter(keeper);
}

} // namespace WindowPlacement
