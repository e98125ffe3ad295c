#include "common/ErrorBox.h"

#include "common/Global.h"
#include "platform/MessageService.h"

void FehlerAusgabe(const QString& /*errmsg: the box always shows gErrText*/)
{
    QString text;
    if (gErrText.isEmpty())
        text = QStringLiteral("Es trat ein interner Fehler auf!");
    else
        text = tr2(QStringLiteral("The following error occured: "), QStringLiteral("Es trat folgender Fehler auf: "))
               + QLatin1Char('\r') + gErrText;
    MsgBox(text, MsgStyle::Critical + MsgStyle::OKOnly, appTitle());
}
