// The main window's help menu: help contents and search, about box, web page.
#include "mainwindow/Form1_Help.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/frmAboutBox.h"
#include "platform/AppPaths.h"
#include "platform/HelpViewer.h"
#include "platform/MessageService.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
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
        MsgBox(HelpViewer::lastError());
}

QString homePage()
{
    const QString page = isEnglish() ? QStringLiteral("index-en.html") : QStringLiteral("index.html");
    return QUrl::fromLocalFile(AppPaths::resourceDir() + QStringLiteral("/web/") + page).toString();
}

QString tempHtmlFile() { return QDir::tempPath() + QStringLiteral("/temphtm.HTM"); }

bool launchWebBrowser(const QString& url)
{
    const QString temp = tempHtmlFile();
    // The probe file must not outlive the command, whatever happens below.
    struct Remover {
        QString path;
        ~Remover() { QFile::remove(path); }
    } remover{temp};

    QFile file(temp);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write("<HTML> <\\HTML>\n") < 0 || !file.flush())
        throw AppError(ErrNo::Internal, file.errorString());
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
