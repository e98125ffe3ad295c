#pragma once
// The tables of a vocabulary database, as SQL for SQLite, and the subject
// areas its entries may belong to. Used by the tools
// that build databases and by tests that build small files of their own.
#include "engine/Database.h"

#include <QString>
#include <QStringList>

namespace Schema {

// The property table in which table properties such as "Languages" and
// "DBVersion" of table "Vokabular" are kept (see README.md); its name is the
// engine's.
inline constexpr const char* kPropertyTable = ::kPropertyTable;

// CREATE statements of the nine tables, the property table and the indexes;
// with version >= 2 the language columns are named Lang1_... / Lang2_...,
// otherwise <lang1>_... / <lang2>_....
QStringList createStatements(const QString& lang1Prefix, const QString& lang2Prefix);
// The subject areas the selection window offers, in its order; a file's
// area of another name can never be selected.
const QStringList& areaNames();
// INSERT of one property: ?1 table name, ?2 property name, ?3 value (text or integer).
QString propertyInsertSql();

} // namespace Schema
