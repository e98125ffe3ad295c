#include "support/OtherProgram.h"

#include "support/ChildWait.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

namespace OtherProgram {

QString write(const QString& path, const QString& sql)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"),
                {QStringLiteral("-bail"), QStringLiteral("-cmd"), QStringLiteral(".timeout 100"), path, sql});
    if (!ChildWait::finished(shell, QStringLiteral("another program's write"), 10))
        return QStringLiteral("sqlite3 did not run: ") + shell.errorString();
    const QString said = QString::fromLocal8Bit(shell.readAllStandardError()).trimmed();
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        return said.isEmpty() ? QStringLiteral("sqlite3 failed") : said;
    return said;
}

void waitForUser()
{
    // The engine lets go of the file on the same signal, connected before this one.
    QEventLoop loop;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    const QMetaObject::Connection waiting =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &loop, &QEventLoop::quit);
    QTimer never;
    QObject::connect(&never, &QTimer::timeout, &loop, [&] {
        ADD_FAILURE() << "the event loop did not come to wait for input within 10 s";
        loop.quit();
    });
    never.start(10000);
    loop.exec();
    QObject::disconnect(waiting);
}

} // namespace OtherProgram
