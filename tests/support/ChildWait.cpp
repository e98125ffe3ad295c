#include "support/ChildWait.h"

#include <QElapsedTimer>
#include <QProcess>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ChildWait {

bool ended(pid_t pid, int& status, int seconds)
{
    QElapsedTimer clock;
    clock.start();
    for (useconds_t pause = 1000;; pause = std::min<useconds_t>(pause * 2, 50000)) {
        const pid_t got = waitpid(pid, &status, WNOHANG);
        if (got == pid || (got < 0 && errno != EINTR))
            return got == pid;
        if (clock.elapsed() > seconds * 1000LL) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0); // a killed child ends at once
            return false;
        }
        usleep(pause);
    }
}

bool finished(QProcess& p, const QString& what, int seconds)
{
    if (p.waitForFinished(seconds * 1000) || p.state() == QProcess::NotRunning)
        return true;
    ADD_FAILURE() << qPrintable(p.program()) << ' ' << qPrintable(p.arguments().join(u' ')) << " (" << qPrintable(what)
                  << ") did not end within " << seconds << " s";
    p.kill();
    p.waitForFinished(5000);
    return false;
}

} // namespace ChildWait
