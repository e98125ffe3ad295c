#include "engine/QueryDef.h"

#include "engine/EngineInternal.h"
#include "engine/UiLanguage.h"

#include <QScopeGuard>

#include <algorithm>

using engine::raise;
using jetcond::Cell;

namespace {

Cell cellOf(sqlite3_stmt* s, int i)
{
    Cell c;
    switch (sqlite3_column_type(s, i)) {
    case SQLITE_INTEGER:
        c.type = Cell::Int;
        c.i = sqlite3_column_int64(s, i);
        break;
    case SQLITE_FLOAT:
        c.type = Cell::Real;
        c.d = sqlite3_column_double(s, i);
        break;
    case SQLITE_TEXT:
        c.type = Cell::Text;
        c.p = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
        c.n = sqlite3_column_bytes(s, i);
        break;
    case SQLITE_BLOB:
        c.type = Cell::Blob;
        c.p = static_cast<const char*>(sqlite3_column_blob(s, i));
        c.n = sqlite3_column_bytes(s, i);
        break;
    default:
        break;
    }
    return c;
}

QString closedText()
{
    return tr2(QStringLiteral("Object invalid or no longer set (the database is closed)."),
               QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt (die Datenbank ist geschlossen)."));
}

} // namespace

struct QueryDef::Impl {
    std::weak_ptr<Database> db;
    QString jetSql;
    jetsql::Translated tr;
    QStringList parameters;
    // The parameters' values, as the condition sees them and as they are
    // bound (texts point into `bytes`).
    std::vector<Cell> cells;
    std::vector<QByteArray> bytes;

    // The result's columns, read at the first run.
    int ncols = -1;
    std::shared_ptr<const engine::ColumnInfo> cols;
    mutable QString nameKey;
    // The field read last: a run reads the same one from every row.
    mutable QString lastField;
    mutable int lastFieldIndex = -1;
    // The binds that hold the statement's own values (the others are parameters).
    std::vector<int> literalBinds;
    // The statement's entry in the cache, kept to take the statement back
    // without looking its text up on every run.
    Database::Impl::Prepared* entry = nullptr;

    QString conditionText;
    jetcond::Bound condition;
    bool hasCondition = false;

    void readColumns(sqlite3_stmt* s);
    int resolve(const QString& table, const QString& column) const;
    int field(const QString& name) const;

    // The row being tested, with the parameters after its columns.
    class Row final : public jetcond::RowView {
    public:
        Row(sqlite3_stmt* s, const Impl& d) : m_s(s), m_d(d) {}
        Cell cell(int index) const override
        {
            return index < m_d.ncols ? cellOf(m_s, index) : m_d.cells[size_t(index - m_d.ncols)];
        }

    private:
        sqlite3_stmt* m_s;
        const Impl& m_d;
    };
};

void QueryDef::Impl::readColumns(sqlite3_stmt* s)
{
    cols = engine::readColumnInfo(s, 0);
    ncols = int(cols->names.size());
}

int QueryDef::Impl::resolve(const QString& table, const QString& column) const
{
    nameKey.resize(0);
    if (!table.isEmpty()) {
        appendLower(nameKey, table);
        nameKey.append(QLatin1Char('.'));
    }
    appendLower(nameKey, column);
    if (const int i = table.isEmpty() ? cols->plain(nameKey) : cols->qualified(nameKey); i >= 0)
        return i;
    if (table.isEmpty())
        for (int k = 0; k < parameters.size(); ++k)
            if (parameters[k].compare(column, Qt::CaseInsensitive) == 0)
                return ncols + k;
    return -1;
}

int QueryDef::Impl::field(const QString& name) const
{
    if (lastFieldIndex >= 0 && name == lastField)
        return lastFieldIndex;
    const int dot = name.indexOf(QLatin1Char('.'));
    const int i = dot < 0 ? resolve(QString(), name) : resolve(name.left(dot), name.mid(dot + 1));
    if (i < 0 || i >= ncols)
        raise(DbErr::NoSuchField, tr2(QStringLiteral("Item \"%1\" not found in this collection."),
                                      QStringLiteral("Das Feld \"%1\" ist in dieser Datensatzgruppe nicht vorhanden."))
                                      .arg(name));
    lastField = name;
    lastFieldIndex = i;
    return i;
}

QueryDef::QueryDef(const std::shared_ptr<Database>& db, const QString& jetSql, const QStringList& parameters)
    : d(std::make_unique<Impl>())
{
    d->db = db;
    d->jetSql = jetSql;
    d->parameters = parameters;
    d->cells.resize(size_t(parameters.size()));
    d->bytes.resize(size_t(parameters.size()));
    d->tr = jetsql::translateText(jetSql, parameters);
    engine::requireSelect(d->tr, jetSql);
    for (int i = 0; i < int(d->tr.binds.size()); ++i)
        if (std::none_of(d->tr.parameterBinds.begin(), d->tr.parameterBinds.end(),
                         [i](const std::pair<int, int>& p) { return p.first == i; }))
            d->literalBinds.push_back(i);
}

QueryDef::~QueryDef() = default;

bool QueryDef::isOn(const Database* db) const
{
    const std::shared_ptr<Database> own = d->db.lock();
    return own && own.get() == db && own->isOpen();
}

void QueryDef::setParameter(int index, const QVariant& value)
{
    // The parameter's bytes stay with the query until its next value, and the
    // statement's bindings are cleared at the end of each run.
    const auto k = size_t(index);
    d->cells.at(k) = engine::cellOfValue(value, d->bytes.at(k));
}

void QueryDef::findAll(const QString& condition, const std::function<void(const QueryRow&)>& visit)
{
    const std::shared_ptr<Database> db = d->db.lock();
    if (!db)
        raise(DbErr::ObjectClosed, closedText());
    Database::Impl* engine = db->d.get();
    engine->checkOpen(); // the cache entries go with the connection
    sqlite3_stmt* s = nullptr;
    if (d->entry && !d->entry->idle.empty()) {
        s = d->entry->idle.back();
        d->entry->idle.pop_back();
        --engine->idleCount;
    } else {
        s = engine->acquire(d->tr.sql, d->jetSql, &d->entry);
    }
    // Reset on every way out: a statement left stepping would keep the file read-locked.
    const auto done = qScopeGuard([&] { engine->release(*d->entry, s); });
    if (d->ncols < 0)
        d->readColumns(s);
    for (const int i : d->literalBinds)
        engine::bindValue(s, i + 1, d->tr.binds[size_t(i)]);
    for (const auto& [position, parameter] : d->tr.parameterBinds)
        engine::bindCell(s, position + 1, d->cells[size_t(parameter)], SQLITE_STATIC);
    if (!d->hasCondition || d->conditionText != condition) {
        d->condition = jetcond::Bound(jetcond::parse(condition, engine->conditionCache), condition,
                                      [this](const QString& t, const QString& c) { return d->resolve(t, c); });
        d->conditionText = condition;
        d->hasCondition = true;
    }
    const QueryRow row(*this, s);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        if (d->condition.matches(Impl::Row(s, *d)))
            visit(row);
    if (rc != SQLITE_DONE)
        engine::raiseRead(engine->db, rc, d->jetSql);
}

QVariant QueryRow::Fields(const QString& name) const { return Fields(m_def.d->field(name)); }

QVariant QueryRow::Fields(int index) const
{
    if (index < 0 || index >= m_def.d->ncols)
        raise(DbErr::NoSuchField, tr2(QStringLiteral("Item %1 not found in this collection."),
                                      QStringLiteral("Element %1 ist in dieser Auflistung nicht vorhanden."))
                                      .arg(index));
    return engine::toVariant(cellOf(m_stmt, index));
}
