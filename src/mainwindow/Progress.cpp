#include "mainwindow/Progress.h"

#include "platform/Twips.h"
#include "platform/WindowBackdrop.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QThread>
#include <QWindow>
#include <cmath>

namespace {
// One monotonic clock for the repaint throttle of every progress window.
qint64 nowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}
constexpr qint64 kMinPaintInterval = 33; // about 30 repaints a second
constexpr qint64 kMaxExposeWait = 500;

// Wider than the design: the window manager puts a picture and three
// buttons beside the caption, and "Vokabelliste wird erstellt" must still fit.
constexpr int kWidthTwips = 4650;
} // namespace

Progress::Progress(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("Progress"));
    setFixedSize(Twips::size(kWidthTwips, 825));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(Twips::rect(120, 240, kWidthTwips - 225, 345));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    txtStatus = new QLineEdit(this);
    txtStatus->setObjectName(QStringLiteral("txtStatus"));
    txtStatus->setGeometry(Twips::rect(120, 720, 615, 285));
    txtStatus->setVisible(false);

    WindowPlacement::centreOnScreen(*this);
    // Never painted yet: the first Refresh paints at once.
    m_lastPaint = -kMinPaintInterval;
}

void Progress::setMin(double v)
{
    m_min = v;
    if (m_max < m_min)
        m_max = m_min;
    setValue(m_value);
}

void Progress::setMax(double v)
{
    m_max = v;
    if (m_min > m_max)
        m_min = m_max;
    setValue(m_value);
}

void Progress::setValue(double v)
{
    m_value = v;
    // A shuffle sets the value once per entry; while the window is shown,
    // telling the bar costs more than the work, so it waits for the repaint.
    if (isHidden())
        showValue();
}

void Progress::showValue()
{
    // The bar only takes whole numbers inside its range; a value outside the
    // range is shown at the nearest end instead of failing.
    const int lo = int(std::lround(m_min));
    const int hi = int(std::lround(m_max));
    ProgressBar1->setRange(lo, hi);
    ProgressBar1->setValue(std::clamp(int(std::lround(m_value)), lo, hi));
}

void Progress::setVisible(bool visible)
{
    const bool changes = visible == isHidden();
    showValue();
    // From the moment the window manager puts it on the screen, the window
    // shows its bar, before this program has had a chance to paint it.
    if (visible && changes)
        WindowBackdrop::set(*this);
    // ... and it leaves the screen with its frame at once, not frame last.
    if (!visible && changes)
        WindowBackdrop::unmapFrame(*this);
    QDialog::setVisible(visible);
    if (changes)
        waitForExposure(visible);
}

// A window just shown is drawn only once the window system has mapped it and
// that news has been handled; the work that follows keeps the event loop
// busy, so without this wait every repaint until its end would go nowhere.
// Hiding waits likewise, or the next showing would find the window still
// counted as exposed and paint into a window not yet mapped again.
void Progress::waitForExposure(bool exposed)
{
    QWindow* w = windowHandle();
    if (!w || w->isExposed() == exposed)
        return;
    // Only what the window system reports runs meanwhile; the user's clicks,
    // keys and a close from the window manager wait until the work is done.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (w->isExposed() == exposed || waited.elapsed() >= kMaxExposeWait)
            break;
        QThread::msleep(2);
    }
}

void Progress::Refresh(bool force)
{
    // A shuffle asks once per entry, a few nanoseconds apart: reading the
    // clock each time would cost more than the drawing it throttles.
    if (!force && (++m_unforced & 15) != 0)
        return;
    const qint64 now = nowMs();
    if (!force && now - m_lastPaint < kMinPaintInterval)
        return;
    m_lastPaint = now;
    showValue();
    if (isVisible())
        repaint();
}
