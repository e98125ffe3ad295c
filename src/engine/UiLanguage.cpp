#include "engine/UiLanguage.h"

QString gSprache;

QString appTitle() { return QStringLiteral("Lexuvant"); }
