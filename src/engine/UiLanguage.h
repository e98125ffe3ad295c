#pragma once
// The language of the user interface and the application's title, the two
// things of the program the engine's errors and the platform's windows need to know.
#include <QString>

extern QString gSprache; // "En" selects English texts, anything else German

// True when English texts are wanted (exact, case-sensitive comparison).
inline bool isEnglish() { return gSprache == QLatin1String("En"); }
// Picks the English or the German variant of a text by gSprache.
inline QString tr2(const QString& english, const QString& german) { return isEnglish() ? english : german; }

// The application's title, shown on message boxes and the main window.
QString appTitle();
