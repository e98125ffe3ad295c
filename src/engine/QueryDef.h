#pragma once
// A SELECT statement that is run again and again with other values for its
// parameters, as the list build does once per entry for each of its linked
// cells. The statement goes through the statement translator once and is
// taken from the database's statement cache for each run; a run reads the
// rows straight from SQLite, tests them with a find condition as a dynaset's
// FindFirst/FindNext would, and resets the statement before it returns, so no
// read stays open after it.
//
// Parameters are bracketed names: "... WHERE Links.IDV=[vid] AND ...". The
// find condition may name them too ("Links.IDV=[vid]"); there a column of the
// result with that name comes first.
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class Database;
struct sqlite3_stmt;

// The row a run is on.
class QueryRow {
public:
    // Like Recordset::Fields: a Null value is an invalid QVariant.
    QVariant Fields(const QString& name) const;
    QVariant Fields(int index) const;

private:
    friend class QueryDef;
    explicit QueryRow(const class QueryDef& def, sqlite3_stmt* stmt) : m_def(def), m_stmt(stmt) {}
    const class QueryDef& m_def;
    sqlite3_stmt* m_stmt;
};

class QueryDef {
public:
    // Raises the engine's error for a statement it cannot translate or that is no SELECT.
    QueryDef(const std::shared_ptr<Database>& db, const QString& jetSql, const QStringList& parameters);
    ~QueryDef();
    QueryDef(const QueryDef&) = delete;
    QueryDef& operator=(const QueryDef&) = delete;

    // True while this is a query of `db` and that database is open.
    bool isOn(const Database* db) const;

    // The value of parameter `index` (in the order given) for the next runs;
    // a whole number, a text, or an invalid QVariant for Null.
    void setParameter(int index, const QVariant& value);

    // Runs the statement and calls visit for each row that satisfies
    // condition, in the order the rows come. An error of visit ends the run
    // and reaches the caller.
    void findAll(const QString& condition, const std::function<void(const QueryRow&)>& visit);

private:
    friend class QueryRow;
    struct Impl;
    std::unique_ptr<Impl> d;
};
