#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

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

bool placeClearOf(QWidget& dialog, const QRect& uncovered, bool keepFittingPlace)
{
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : dialog.screen();
    if (uncovered.isEmpty() || !screen)
        return false;
    const QRect area = screen->availableGeometry();
    // The frame the window manager will draw: the dialog's own once it has
    // been shown, else the owner's as the best guess.
    QSize frame = dialog.frameGeometry().size();
    if (frame == dialog.size() && owner)
        frame += owner->frameGeometry().size() - owner->size();
    const auto fits = [&](const QRect& r) { return area.contains(r) && !r.intersects(uncovered); };
    if (keepFittingPlace && fits(QRect(dialog.pos(), frame)))
        return true;

    const QRect beside = owner ? owner->frameGeometry() : uncovered;
    const int gap = 4;
    const int middleY = uncovered.center().y() - frame.height() / 2;
    const int middleX = uncovered.center().x() - frame.width() / 2;
    const QPoint candidates[] = {
        {beside.right() + 1 + gap, middleY},
        {beside.left() - gap - frame.width(), middleY},
        {middleX, uncovered.bottom() + 1 + gap},
        {middleX, uncovered.top() - gap - frame.height()},
    };
    const auto onScreen = [&](QPoint p) {
        p.setX(std::clamp(p.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())));
        p.setY(std::clamp(p.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height())));
        return p;
    };
    QPoint chosen = onScreen(candidates[2]);
    for (const QPoint& c : candidates)
        if (fits(QRect(onScreen(c), frame))) {
            chosen = onScreen(c);
            break;
        }
    dialog.move(chosen);
    return true;
}

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
