#pragma once
// Translation of the SELECT statements the windows write (bracketed names,
// Jet wildcards, double-quoted texts) into SQLite's dialect. Literals of the
// WHERE clause become parameters, so statements that differ only in a value
// ("... IDV=12 ..." and "... IDV=13 ...") share one prepared statement.
#include "engine/ShapeCache.h"

#include <QString>
#include <QVariant>
#include <QStringList>
#include <utility>
#include <vector>

namespace jetsql {

struct Translated {
    QString sql;                 // SQLite text, with ?NNN parameters for WHERE literals
    std::vector<QVariant> binds; // values for ?1, ?2, ...
    bool isSelect = false;
    bool distinct = false;
    QString selectList;  // translated text between SELECT and FROM
    QString singleTable; // the one table of FROM, empty for joins/sub-queries
    QString fromTail;    // translated text from FROM to the end
    QString error;       // why the statement cannot run (unclosed quote, text after ";", ...)
    // (position in binds, parameter number) for each parameter of the WHERE clause
    std::vector<std::pair<int, int>> parameterBinds;
};

namespace detail {
// A literal the shape of a statement leaves out.
struct Literal {
    bool text = false;
    bool afterLike = false; // a text right after LIKE: its wildcards become SQLite's
    QStringView number;     // the digits of a number
    QString value;          // a text without its quotes
};
// The translation of one statement shape; usable when every literal of the
// statement became a parameter, in order.
struct ShapeEntry {
    bool usable = false;
    Translated translated;
};
} // namespace detail

// What translate() keeps of the statements it was given; the open database
// holds one.
using StatementCache = ShapeCache<detail::Literal, detail::ShapeEntry, Translated>;

// Never throws: a statement it cannot split carries an error and is otherwise
// passed on unchanged; one it can split but not make sense of is left to SQLite.
Translated translate(const QString& jetSql, StatementCache& cache);
Translated translateText(const QString& jetSql); // the same without the cache
// A statement with parameters: a bracketed name of the WHERE clause that is
// one of `parameters` (any case) becomes a bind whose value the caller sets.
Translated translateText(const QString& jetSql, const QStringList& parameters);

// Reads the quoted text that starts at s[i] (quote ' or "; a doubled quote
// inside stands for one). On success i is just past the closing quote.
bool readQuoted(const QString& s, int& i, QString& value);

// A statement or condition as an error message repeats it: long ones are cut,
// so that the message stays readable.
QString shownInMessage(const QString& statement);

// "name" as an SQLite identifier (double quotes, inner quotes doubled).
QString quoteIdent(const QString& name);
// A text as an SQLite string literal.
QString quoteText(const QString& text);

} // namespace jetsql
