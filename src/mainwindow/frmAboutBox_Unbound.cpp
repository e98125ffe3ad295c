// Procedures of the about box that no command uses (it has no button for the
// system information). Kept, as they were, for callers to come.
#include "mainwindow/frmAboutBox.h"

#include "platform/MessageService.h"

void frmAboutBox::StartSysInfo()
{
    // The system information program is found through the registry, which
    // this platform does not have, so it is never available.
    QString path;
    if (!GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), path))
        MsgBox(QStringLiteral("System-Informationen sind augenblicklich nicht verfügbar."));
}

bool frmAboutBox::GetKeyValue(const QString&, const QString&, const QString&, QString& keyValue)
{
    // No registry here: every look-up fails.
    keyValue.clear();
    return false;
}
