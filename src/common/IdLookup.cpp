#include "common/IdLookup.h"

#include "common/SqlText.h"
#include "engine/Recordset.h"

#include <algorithm>

bool IsId(const QVariant& value, const QString& id)
{
    return value.isValid() && !value.isNull() && value.toString() == id;
}

QVariant IdAsNumber(const QString& id)
{
    // The usual ID first, without writing a number out: up to 18 digits with
    // no leading zero, perhaps after a minus (not "-0").
    const qsizetype sign = id.startsWith(QLatin1Char('-')) ? 1 : 0;
    const qsizetype digits = id.size() - sign;
    if (digits >= 1 && digits <= 18
        && std::all_of(id.begin() + sign, id.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })
        && (id[sign] != u'0' || (digits == 1 && sign == 0)))
        return id.toLongLong();
    bool ok = false;
    if (const QVariant n = id.toLongLong(&ok); ok && IsId(n, id))
        return n;
    if (const QVariant d = id.toDouble(&ok); ok && IsId(d, id))
        return d;
    return {};
}

void FindNextWhere(Recordset& rs, const QString& condition, const std::function<bool()>& wanted)
{
    do
        rs.FindNext(condition);
    while (!rs.NoMatch() && !wanted());
}

void FindFirstWhere(Recordset& rs, const QString& condition, const std::function<bool()>& wanted)
{
    rs.FindFirst(condition);
    if (!rs.NoMatch() && !wanted())
        FindNextWhere(rs, condition, wanted);
}

void FindId(Recordset& rs, const QString& column, const QString& id)
{
    FindFirstWhere(rs, SqlEquals(column, id), [&] { return IsId(rs.Fields(column), id); });
}

void FindNextId(Recordset& rs, const QString& column, const QString& id)
{
    FindNextWhere(rs, SqlEquals(column, id), [&] { return IsId(rs.Fields(column), id); });
}

void DeleteId(Recordset& rs, const QString& column, const QString& id)
{
    for (FindId(rs, column, id); !rs.NoMatch(); FindNextId(rs, column, id))
        rs.Delete();
}
