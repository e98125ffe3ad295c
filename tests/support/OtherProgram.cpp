#include "support/OtherProgram.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace OtherProgram {

QString write(const QString& path, const QString& sql)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), QStringLiteral("-cmd"),
                                            QStringLiteral(".timeout 100"), path, sql});
    if (!shell.waitForFinished(10000))
        return QStringLiteral("sqlite3 did not run: ") + shell.errorString();
    const QString said = QString::fromLocal8Bit(shell.readAllStandardError()).trimmed();
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        return said.isEmpty() ? QStringLiteral("sqlite3 failed") : said;
    return said;
}

void waitForUser()
{
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace OtherProgram
