#pragma once
// Settings shared by every window, filled once by InitGlobals at start-up;
// the language and the title (gSprache, tr2, appTitle) come with it.
#include "engine/UiLanguage.h"

#include <QString>

extern QString gVersion;     // "3.0B"
extern QString gProduktName; // "Lexuvant"
extern QString gAppName;     // settings-store application name "lexuvan"
extern int gMaxAusdruckTeil; // 100
extern int gMaxBeispielsatz; // 200
extern int gMaxZusatzinfo;   // 200
extern int gMaxQuelle;       // 50
extern int gMaxWortart;      // 50
extern int gMaxBereich;      // 50
extern int gMaxAttribut;     // 200
extern QString gKeinEintrag;
extern QString gErrText; // the message of the failure being reported
extern QString RelTextAbgeleitet, RelTextGegenteil, RelTextSieheAuch, RelTextAndereBedeutung, RelTextAehnlicheBedeutung;

void InitGlobals();
void InitRelationTexts();
