#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "mainwindow/frmSplash.h"
#include "platform/AppPaths.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

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
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QtTranslations::install();   // gSprache is still empty here: German, as "De" will be
    QCoreApplication::setApplicationName(QStringLiteral("lexuvant"));
    QApplication::setWindowIcon(QIcon(AppPaths::picturePath(QStringLiteral("lexuvant.png"))));
    // Shown by the main window's load step, so start-up runs without a database.
    Form1::setStartupError(AppPaths::ensureUserDatabases());

    auto* splash = new frmSplash;
    splash->show();

    const QString screenshot = qEnvironmentVariable("LEXUVANT_SCREENSHOT");
    if (!screenshot.isEmpty())
        scheduleScreenshot(screenshot);
    return app.exec();
}
