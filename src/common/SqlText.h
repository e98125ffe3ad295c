#pragma once
// Values are put between single quotes in statements and find conditions;
// doubling the quotes inside keeps a value such as "Kinder's" one value
// instead of breaking the statement.
#include <QString>
#include <QVariant>

inline QString SqlEscape(const QString& value)
{
    QString v = value;
    return v.replace(QLatin1Char('\''), QLatin1String("''"));
}

// An ID read from the file as it goes into a statement or condition: a whole
// number as that number, anything else as a quoted text, so that a foreign
// file's "1 OR 1=1" stays one value.
inline QString SqlId(const QString& id)
{
    bool ok = false;
    const qlonglong n = id.toLongLong(&ok);
    return ok ? QString::number(n) : QLatin1Char('\'') + SqlEscape(id) + QLatin1Char('\'');
}

// A find condition that holds where `column` is exactly `value` (case ignored,
// as the engine compares texts). "=" and not LIKE: a value read from a file
// may hold * ? # or [, which LIKE would take as a pattern matching other rows.
inline QString SqlEquals(const QString& column, const QString& value)
{
    return column + QStringLiteral(" = '") + SqlEscape(value) + QLatin1Char('\'');
}
