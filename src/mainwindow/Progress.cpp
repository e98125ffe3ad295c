#include "mainwindow/Progress.h"

#include "platform/Twips.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
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
constexpr qint64 kMinPaintInterval = 33;   // about 30 repaints a second
} // namespace

Progress::Progress(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("Progress"));
    setFixedSize(Twips::size(3960, 825));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(Twips::rect(120, 240, 3735, 345));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    txtStatus = new QLineEdit(this);
    txtStatus->setObjectName(QStringLiteral("txtStatus"));
    txtStatus->setGeometry(Twips::rect(120, 720, 615, 285));
    txtStatus->setVisible(false);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
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
    // The bar only takes whole numbers inside its range; a value outside the
    // range is shown at the nearest end instead of failing.
    const int lo = int(std::lround(m_min));
    const int hi = int(std::lround(m_max));
    ProgressBar1->setRange(lo, hi);
    ProgressBar1->setValue(std::clamp(int(std::lround(v)), lo, hi));
}

void Progress::Refresh(bool force)
{
    const qint64 now = nowMs();
    if (!force && now - m_lastPaint < kMinPaintInterval)
        return;
    m_lastPaint = now;
    if (isVisible())
        repaint();
}
