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

void keepPlacesOnReshow()
{
    static PlaceKeeper* keeper = nullptr;
    if (keeper || !qApp)
        return;
    keeper = new PlaceKeeper(qApp);
    qApp->installEventFilter(keeper);
}

} // namespace WindowPlacement
