#pragma once
// Settings shared by every window, filled once by InitGlobals at start-up.
#include <QString>

extern QString gSprache;      // "En" selects English texts, anything else German
extern QString gVersion;      // "3.0B"
extern QString gProduktName;  // "Lexuvant"
extern QString gAppName;      // settings-store application name "lexuvan"
extern int gMaxAusdruckTeil;  // 100
extern int gMaxBeispielsatz;  // 200
extern int gMaxZusatzinfo;    // 200
extern int gMaxQuelle;        // 50
extern int gMaxWortart;       // 50
extern int gMaxBereich;       // 50
extern int gMaxAttribut;      // 200
extern QString gKeinEintrag;
extern QString gErrText;      // the message of the failure being reported
extern QString RelTextAbgeleitet, RelTextGegenteil, RelTextSieheAuch, RelTextAndereBedeutung,
    RelTextAehnlicheBedeutung;

void InitGlobals();
void InitRelationTexts();

// True when English texts are wanted (exact, case-sensitive comparison).
inline bool isEnglish() { return gSprache == QLatin1String("En"); }
// Picks the English or the German variant of a text by gSprache.
inline QString tr2(const QString& english, const QString& german) { return isEnglish() ? english : german; }

// The application's title, shown on message boxes and the main window.
QString appTitle();
