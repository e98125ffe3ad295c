#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWindow>
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

// The frame the window manager draws around a window: its own once it has
// been shown, else its owner's or another window's of the program, else a
// title bar and borders of the style's size, as the best guess.
QMargins frameOf(const QWidget& window)
{
    if (window.windowType() == Qt::SplashScreen || window.windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    // A maximised or full-screen window may have lost its borders.
    const auto known = [](const QWidget* w) {
        return w && w->windowHandle() && w->isVisible()
                       && !(w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
                   ? w->windowHandle()->frameMargins()
                   : QMargins();
    };
    if (const QMargins own = window.windowHandle() && window.isVisible() ? window.windowHandle()->frameMargins()
                                                                         : QMargins();
        !own.isNull())
        return own;
    if (window.parentWidget())
        if (const QMargins owner = known(window.parentWidget()->window()); !owner.isNull())
            return owner;
    for (const QWidget* top : QApplication::topLevelWidgets())
        if (const QMargins other = known(top); !other.isNull())
            return other;
    const QStyle* style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {border, title + border, border, border};
}

const QScreen* screenOf(const QWidget& window)
{
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

// The point nearest to p where a frame of that size lies whole on the area;
// a frame larger than the area keeps its top left on it.
QPoint within(const QRect& area, const QSize& frame, QPoint p)
{
    p.setX(std::clamp(p.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())));
    p.setY(std::clamp(p.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height())));
    return p;
}
} // namespace

QSize frameSize(const QWidget& window) { return window.size().grownBy(frameOf(window)); }

void moveWhole(QWidget& window, QPoint pos)
{
    const QScreen* screen = screenOf(window);
    window.move(screen ? within(screen->availableGeometry(), frameSize(window), pos) : pos);
}

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins margins = frameOf(window);
    if (window.minimumSize() != window.maximumSize())
        window.resize(window.size().boundedTo(area.size().shrunkBy(margins)).expandedTo(window.minimumSize()));
    const QSize frame = window.size().grownBy(margins);
    window.move(area.left() + std::max(0, (area.width() - frame.width()) / 2),
                area.top() + std::max(0, (area.height() - frame.height()) / 2));
}

bool placeClearOf(QWidget& dialog, const QRect& uncovered, bool keepFittingPlace)
{
    const QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    const QScreen* screen = screenOf(dialog);
    if (uncovered.isEmpty() || !screen)
        return false;
    const QRect area = screen->availableGeometry();
    const QSize frame = dialog.size().grownBy(frameOf(dialog));
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
    const auto onScreen = [&](QPoint p) { return within(area, frame, p); };
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
