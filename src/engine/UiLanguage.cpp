#include "platform/UiLanguage.h"

QString gSprache;

QString appTitle() { return QStringLiteral("Lexuvant"); }
