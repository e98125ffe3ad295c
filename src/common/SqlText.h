#pragma once
// Values are put between single quotes in statements and find conditions;
// doubling the quotes inside keeps a value such as "Kinder's" one value
// instead of breaking the statement.
#include <QString>

inline QString SqlEscape(const QString& value)
{
    QString v = value;
    return v.replace(QLatin1Char('\''), QLatin1String("''"));
}
