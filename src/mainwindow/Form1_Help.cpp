// The main window's help menu: help contents and search, about box, web page.
#include "mainwindow/Form1_Help.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/HelpKey.h"
#include "mainwindow/Form1.h"
#include "mainwindow/frmAboutBox.h"
#include "platform/AppPaths.h"
#include "platform/HelpViewer.h"
#include "platform/MessageService.h"
#include "platform/Shell.h"
#include "engine/WriteCheck.h"

#include <QDir>
#include <QTemporaryFile>
#include <QUrl>
#include <QWidget>

namespace HelpCommands {

void showHelp(QWidget* owner, int command)
{
    const QString helpFile = HelpViewer::appHelpFile();
    if (helpFile.isEmpty()) {
        MsgBox(HelpViewer::noHelpFileMessage(), MsgStyle::Information, owner ? owner->windowTitle() : appTitle());
        return;
    }
    if (!HelpViewer::WinHelp(owner, helpFile, command, 0))
        HelpKey::reportHelpError();
}

QString homePage()
{
    const QString page = isEnglish() ? QStringLiteral("index-en.html") : QStringLiteral("index.html");
    return QUrl::fromLocalFile(AppPaths::resourceDir() + QStringLiteral("/web/") + page).toString();
}

bool launchWebBrowser(const QString& url)
{
    // A new file of its own name, created exclusively in the temporary folder:
    // nothing another account placed there is opened or followed. It is
    // removed when the command ends, whatever happens below.
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/lexuvant-XXXXXX.htm"));
    if (!file.open() || file.write("<HTML> <\\HTML>\n") < 0 || !file.flush()) {
        // Qt's own reason is English and does not say where: name the folder.
        QString why = WriteCheck::whyNotCreatable(QDir::tempPath() + QStringLiteral("/lexuvant.htm"), 16);
        if (why.isEmpty())
            why = tr2(QStringLiteral("the file could not be written"),
                      QStringLiteral("die Datei konnte nicht geschrieben werden"));
        throw AppError(ErrNo::FileAccess,
                       tr2(QStringLiteral("No temporary file can be made in the folder \"%1\": %2."),
                           QStringLiteral("Im Ordner für temporäre Dateien \"%1\" kann keine Datei angelegt werden: %2."))
                           .arg(QDir::toNativeSeparators(QDir::tempPath()), why));
    }
    const QString temp = file.fileName();
    file.close();

    QString browser;
    const int found = Shell::FindExecutable(temp, QString(), browser);
    browser = browser.trimmed();
    if (found <= 32) {
        MsgBox(QStringLiteral("Could not find associated Browser"), MsgStyle::Exclamation,
               QStringLiteral("Browser Not Found"));
        return false;
    }
    if (Shell::ShellExecute(QStringLiteral("open"), browser, url, QString(), 1) <= 32) {
        MsgBox(QStringLiteral("Web Page not Opened"), MsgStyle::Exclamation, QStringLiteral("URL Failed"));
        return false;
    }
    return true;
}

} // namespace HelpCommands

void Form1::mnuHelpInhalt_Click() { HelpCommands::showHelp(this, HelpViewer::HelpContents); }

void Form1::mnuHelpSuchen_Click() { HelpCommands::showHelp(this, HelpViewer::HelpPartialKey); }

void Form1::mnuHelpInfo_Click()
{
    frmAboutBox box(this);
    MessageService::instance().execModal(&box);
}

void Form1::mnWeb_Click()
{
    // A temporary file that cannot be written is reported instead of ending the program.
    ErrorHandling::reportAndLeave([this] { LaunchWebBrowser(HelpCommands::homePage()); });
}

bool Form1::LaunchWebBrowser(const QString& URL) { return HelpCommands::launchWebBrowser(URL); }
