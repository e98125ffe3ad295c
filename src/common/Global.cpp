#include "common/Global.h"

QString gVersion;
QString gProduktName;
QString gAppName;
int gMaxAusdruckTeil = 0;
int gMaxBeispielsatz = 0;
int gMaxZusatzinfo = 0;
int gMaxQuelle = 0;
int gMaxWortart = 0;
int gMaxBereich = 0;
int gMaxAttribut = 0;
QString gKeinEintrag;
QString gErrText;
QString RelTextAbgeleitet, RelTextGegenteil, RelTextSieheAuch, RelTextAndereBedeutung, RelTextAehnlicheBedeutung;

void InitGlobals()
{
    gSprache = QStringLiteral("De");
    gVersion = QStringLiteral("3.0B");
    gProduktName = QStringLiteral("Lexuvant");
    gAppName = QStringLiteral("lexuvan");
    gMaxAusdruckTeil = 100;
    gMaxBeispielsatz = 200;
    gMaxZusatzinfo = 200;
    gMaxQuelle = 50;
    gMaxWortart = 50;
    gMaxBereich = 50;
    gMaxAttribut = 200;
    gKeinEintrag = tr2(QStringLiteral("<no entry>"), QStringLiteral("<kein Eintrag>"));
    InitRelationTexts();
}

void InitRelationTexts()
{
    RelTextAbgeleitet = tr2(QStringLiteral("Derived from"), QStringLiteral("Abgeleitet bzw. Grundform von"));
    RelTextGegenteil = tr2(QStringLiteral("Opposite of"), QStringLiteral("Gegenteil von"));
    RelTextSieheAuch = tr2(QStringLiteral("See also"), QStringLiteral("Siehe auch"));
    RelTextAndereBedeutung = tr2(QStringLiteral("Different meaning for expression in "),
                                 QStringLiteral("Andere Bedeutung für Ausdruck auf "));
    RelTextAehnlicheBedeutung = tr2(QStringLiteral("Similar meaning for expression in "),
                                    QStringLiteral("Ähnliche Bedeutung für Ausdruck auf "));
}
