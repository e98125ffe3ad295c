#pragma once
// The error box: "Es trat folgender Fehler auf: " and gErrText as a critical
// message; "Es trat ein interner Fehler auf!" when gErrText is empty.
#include <QString>

void FehlerAusgabe(const QString& errmsg = QString());
