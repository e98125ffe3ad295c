#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "mainwindow/frmSplash.h"
#include "platform/AppPaths.h"
#include "platform/ProcessMemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {
// LEXUVANT_SCREENSHOT=<file>: once start-up is over, save a picture of the
// main window into the file and leave (for runs without a display).
void scheduleScreenshot(const QString& file)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(200);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, file] {
        if (Forms::splash() || !Forms::form1().isVisible())
            return;
        poll->stop();
        QTimer::singleShot(500, qApp, [file] {
            Forms::form1().grab().save(file);
            QCoreApplication::exit(0);
        });
    });
    poll->start();
}

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

// LEXUVANT_STARTUP_TIMES=1: the splash's fixed wait is skipped; once the main
// window has painted, the times are printed and the program leaves.
class StartupTimes : public QObject {
public:
    StartupTimes(frmSplash* splash, const QElapsedTimer& sinceMain)
        : QObject(qApp), m_sinceMain(sinceMain), m_wait(splash->Timer1->interval())
    {
        splash->Timer1->setInterval(0);
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
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

private:
    QElapsedTimer m_sinceMain;
    int m_wait;
    bool m_done = false;
};
} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    freeSmallBlocksAtOnce();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lexuvant"));
    QApplication::setWindowIcon(QIcon(AppPaths::picturePath(QStringLiteral("lexuvant.png"))));
    // Shown by the main window's load step, so start-up runs without a database.
    Form1::setStartupError(AppPaths::ensureUserDatabases());

    auto* splash = new frmSplash;
    splash->show();
    if (qEnvironmentVariableIntValue("LEXUVANT_STARTUP_TIMES"))
        new StartupTimes(splash, sinceMain);

    const QString screenshot = qEnvironmentVariable("LEXUVANT_SCREENSHOT");
    if (!screenshot.isEmpty())
        scheduleScreenshot(screenshot);
    return app.exec();
}
