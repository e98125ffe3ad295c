#pragma once
// Finding rows by an ID read from the list or from another table. Find
// conditions compare texts with case ignored, but an ID names exactly one
// entry: a foreign file may hold the text IDs "B" and "b" as two entries.
// A number equals its own text (7 and '7'); * ? # [ are plain characters.
#include <QString>
#include <QVariant>
#include <functional>

class Recordset;

// Whether a value of the file is exactly the ID `id`.
bool IsId(const QVariant& value, const QString& id);
// The number that is exactly the ID `id` (7 for "7", none for "007"); Null when there is none.
QVariant IdAsNumber(const QString& id);

// FindFirst (FindNext) with `condition`, then FindNext until `wanted` holds
// for the current row; NoMatch when no row does. `condition` must match at
// least every wanted row.
void FindFirstWhere(Recordset& rs, const QString& condition, const std::function<bool()>& wanted);
void FindNextWhere(Recordset& rs, const QString& condition, const std::function<bool()>& wanted);

// The first (next) row whose `column` holds exactly the ID `id`.
void FindId(Recordset& rs, const QString& column, const QString& id);
void FindNextId(Recordset& rs, const QString& column, const QString& id);

// Deletes every row whose `column` holds exactly the ID `id`.
void DeleteId(Recordset& rs, const QString& column, const QString& id);
