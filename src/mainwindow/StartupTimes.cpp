#include "mainwindow/StartupTimes.h"

#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "mainwindow/frmSplash.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {
// Milliseconds since the process was started, as the kernel counts it (in
// clock ticks, so to about 10 ms); -1 when unknown.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command name (in parentheses) are plain numbers; the start time is field 22.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    timespec now{};
    if (fields.size() < 20 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1;
    const double startMs = fields[19].toDouble() * 1000.0 / double(sysconf(_SC_CLK_TCK));
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6 - startMs;
}
} // namespace

StartupTimes::StartupTimes(frmSplash* splash, const QElapsedTimer& sinceMain)
    : QObject(qApp), m_sinceMain(sinceMain), m_wait(splash->Timer1->interval())
{
    splash->Timer1->setInterval(0);
    qApp->installEventFilter(this);
}

bool StartupTimes::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !m_done && !Forms::splash() && qobject_cast<Form1*>(watched)) {
        m_done = true;
        // Ready once the paint has been delivered, not when it starts.
        QTimer::singleShot(0, this, [this] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("start-up to the main window ready: %.1f ms from process start, %.1f ms from main()\n",
                        msSinceProcessStart(), m_sinceMain.nsecsElapsed() / 1e6);
            std::printf("splash wait (fixed, not included): %d ms\n", m_wait);
            std::printf("database: %s\n", qPrintable(Forms::form1().DBName));
            std::printf("ready at monotonic ns: %lld\n", qint64(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }
    return false;
}
