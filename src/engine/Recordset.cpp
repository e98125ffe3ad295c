#include "engine/Recordset.h"

#include "engine/EngineInternal.h"
#include "engine/UiLanguage.h"

#include <algorithm>
#include <cstring>

using engine::raise;
using jetcond::Cell;

namespace {

class EncodedRow final : public jetcond::RowView {
public:
    explicit EncodedRow(const char* data) : m_data(data), m_at(data) {}
    Cell cell(int index) const override
    {
        // Conditions mostly read columns in rising order, often one twice
        // ("Score >=2 AND Score <=5"): go on from the last one read.
        if (index < m_index) {
            m_index = 0;
            m_at = m_data;
        }
        for (; m_index < index; ++m_index)
            m_at = engine::skipValue(m_at);
        return engine::decodeAt(m_at);
    }

private:
    const char* m_data;
    mutable const char* m_at;
    mutable int m_index = 0;
};

QString noCurrentText()
{
    return tr2(QStringLiteral("No current record."), QStringLiteral("Kein aktueller Datensatz."));
}

} // namespace

// ---- Recordset::Impl ------------------------------------------------------------

bool Recordset::Impl::fetchOne()
{
    if (!stmt) {
        if (readErrorNumber)
            raise(readErrorNumber, readErrorText);
        if (!paused)
            return false;
        resume();
    }
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (ncols < 0)
            readColumns();
        if (rc == SQLITE_ROW) {
            const qint64 rowid = firstCol ? sqlite3_column_int64(stmt, 0) : 0;
            if (!held.empty() && held.count(rowid))
                continue;
            engine::encodeRow(stmt, firstCol, ncols, scratch);
            rows.push_back({rowid, arena.store(scratch)});
            return true;
        }
        releaseStmt();
        held.clear();
        if (rc != SQLITE_DONE)
            engine::raiseRead(db->db, rc, jetSql);
        return false;
    }
}

void Recordset::Impl::pause()
{
    // Only a set with rowids knows which rows it holds when it reads on.
    if (!stmt || !firstCol)
        return;
    releaseStmt();
    held.clear();
    paused = true;
}

void Recordset::Impl::resume()
{
    stmt = db->acquire(key, jetSql, &prepared);
    paused = false;
    for (size_t i = 0; i < tr.binds.size(); ++i)
        engine::bindValue(stmt, int(i) + 1, tr.binds[i]);
    // Rows deleted or added here meanwhile are held too: none comes twice.
    held.reserve(rows.size());
    for (const engine::StoredRow& r : rows)
        held.insert(r.rowid);
}

void Recordset::Impl::readColumns()
{
    ncols = sqlite3_column_count(stmt) - firstCol;
    auto& cached = prepared ? prepared->columns : db->prepared[key].columns;
    if (cached && cached->names.size() == ncols) {
        cols = cached;
        return;
    }
    auto info = engine::readColumnInfo(stmt, firstCol);
    cached = info;
    cols = info;
}

bool Recordset::Impl::ensure(long index)
{
    while (long(rows.size()) <= index)
        if (!fetchOne())
            return false;
    return index >= 0;
}

bool Recordset::Impl::ensureLive(long& row)
{
    while (ensure(row)) {
        if (live(row))
            return true;
        ++row;
    }
    return false;
}

void Recordset::Impl::setRowData(long row, const char* data)
{
    const char* before = rows[size_t(row)].data;
    if (db->inTransaction)
        undo.emplace_back(row, before);
    deletedCount += (data == nullptr) - (before == nullptr);
    if (!data)
        lastDeleted = std::max(lastDeleted, row);
    rows[size_t(row)].data = data;
    invalidateOffsets();
}

long Recordset::Impl::appendRow(qint64 rowid, const char* data)
{
    const long row = long(rows.size());
    rows.push_back({rowid, data});
    // A rollback takes the row out again: it is then marked deleted.
    if (db->inTransaction)
        undo.emplace_back(row, nullptr);
    invalidateOffsets();
    return row;
}

long Recordset::Impl::liveBelow(long end) const
{
    // Deletes only mark their rows, so that a delete costs the same at any
    // place and the rows after it keep their numbers; counting is one pass
    // at most, and none while no row above `end` was deleted.
    if (lastDeleted < end)
        return end - deletedCount;
    long n = end;
    for (long i = 0; i < end; ++i)
        n -= !live(i);
    return n;
}

void Recordset::Impl::drain()
{
    while (fetchOne()) {
    }
}

void Recordset::Impl::releaseStmt()
{
    if (stmt) {
        if (prepared)
            db->release(*prepared, stmt);
        else
            db->release(key, stmt);
        stmt = nullptr;
    }
}

void Recordset::Impl::closeNow()
{
    if (!open)
        return;
    releaseStmt();
    open = false;
    rows.clear();
    rows.shrink_to_fit();
    arena.clear();
    conditions.clear();
    hasLastCondition = false;
    lastCondition = QString();
    lastBound = jetcond::Bound();
    keyIndex.clear();
    pending.clear();
    edit = EditMode::None;
    auto& live = db->live;
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void Recordset::Impl::check() const
{
    if (!open || !db->open)
        raise(DbErr::ObjectClosed, tr2(QStringLiteral("Object invalid or no longer set (the record set is closed)."),
                                       QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt (die "
                                                      "Datensatzgruppe ist geschlossen).")));
}

void Recordset::Impl::requireCurrent() const
{
    if (!hasCurrent())
        raise(DbErr::NoCurrentRecord, noCurrentText());
}

int Recordset::Impl::resolve(const QString& table, const QString& column) const
{
    nameKey.resize(0);
    if (table.isEmpty()) {
        appendLower(nameKey, column);
        return cols->plain(nameKey);
    }
    appendLower(nameKey, table);
    nameKey.append(QLatin1Char('.'));
    appendLower(nameKey, column);
    return cols->qualified(nameKey);
}

int Recordset::Impl::fieldIndex(const QString& name) const
{
    // "Score", "[Score]", "Vokabular.ID", "GrammatikalischeAttribute.[Attribut_Text]"
    auto strip = [](QString s) {
        s = s.trimmed();
        if (s.startsWith(QLatin1Char('[')) && s.endsWith(QLatin1Char(']')))
            s = s.mid(1, s.size() - 2);
        return s;
    };
    nameKey.resize(0);
    appendLower(nameKey, name);
    int idx = cols->plain(nameKey);
    if (idx < 0) {
        int dot = -1, depth = 0;
        for (int i = 0; i < name.size(); ++i) {
            if (name[i] == QLatin1Char('['))
                ++depth;
            else if (name[i] == QLatin1Char(']'))
                --depth;
            else if (name[i] == QLatin1Char('.') && depth == 0) {
                dot = i;
                break;
            }
        }
        idx = dot < 0 ? resolve(QString(), strip(name)) : resolve(strip(name.left(dot)), strip(name.mid(dot + 1)));
    }
    if (idx < 0)
        raise(DbErr::NoSuchField, tr2(QStringLiteral("Item \"%1\" not found in this collection."),
                                      QStringLiteral("Das Feld \"%1\" ist in dieser Datensatzgruppe nicht vorhanden."))
                                      .arg(name));
    return idx;
}

const jetcond::Bound& Recordset::Impl::bound(const QString& condition)
{
    if (hasLastCondition && lastCondition == condition)
        return lastBound;
    jetcond::Bound b;
    if (auto it = conditions.find(condition); it != conditions.end())
        b = it->second;
    else
        b = jetcond::Bound(jetcond::parse(condition, db->conditionCache), condition,
                           [this](const QString& t, const QString& c) { return resolve(t, c); });
    if (hasLastCondition) {
        if (conditions.size() > 500)
            conditions.clear();
        conditions.emplace(lastCondition, std::move(lastBound));
    }
    lastCondition = condition;
    lastBound = std::move(b);
    hasLastCondition = true;
    return lastBound;
}

Cell Recordset::Impl::cellAt(long row, int col) const { return engine::decodeCell(rows[size_t(row)].data, col); }

void Recordset::Impl::dropEdit()
{
    // Moving to another row drops an edit not yet written, so that Update
    // can never write it into the wrong row.
    pending.clear();
    edit = EditMode::None;
}

void Recordset::Impl::find(const QString& condition, long start)
{
    const jetcond::Bound& b = bound(condition);
    dropEdit();
    long found = -1;
    const int keyCol = b.keyColumn();
    // A column searched by key more than once gets a lookup table; every
    // candidate is still tested with the full condition.
    if (keyCol >= 0 && (keyIndex.count(keyCol) || ++keyUses[keyCol] >= 2)) {
        auto built = keyIndex.find(keyCol);
        if (built == keyIndex.end()) {
            drain();
            std::vector<std::pair<size_t, long>> entries;
            entries.reserve(rows.size());
            for (size_t i = 0; i < rows.size(); ++i) {
                if (!rows[i].data)
                    continue;
                const Cell c = cellAt(long(i), keyCol);
                if (c.type != Cell::Null)
                    entries.emplace_back(qHash(jetcond::cellText(c, true)), long(i));
            }
            std::sort(entries.begin(), entries.end());
            built = keyIndex.emplace(keyCol, std::move(entries)).first;
        }
        const auto& index = built->second;
        const size_t h = qHash(b.keyText());
        auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(h, std::max(0L, start)));
        for (; it != index.end() && it->first == h; ++it) {
            if (live(it->second) && b.matches(EncodedRow(rows[size_t(it->second)].data))) {
                found = it->second;
                break;
            }
        }
        if (found < 0)
            reached = long(rows.size());
    } else {
        for (long i = std::max(0L, start); ensure(i); ++i) {
            if (live(i) && b.matches(EncodedRow(rows[size_t(i)].data))) {
                found = i;
                break;
            }
        }
        if (found < 0)
            reached = std::max(reached, long(rows.size()));
    }
    if (found >= 0) {
        cur = found;
        onGap = false;
        noMatch = false;
        reached = std::max(reached, found + 1);
    } else {
        noMatch = true; // the position stays where it was
    }
}

void Recordset::Impl::refreshRow(qint64 rowid, bool append)
{
    const QString sql =
        QStringLiteral("SELECT _rowid_, %1 FROM %2 WHERE _rowid_=?1").arg(tr.selectList, jetsql::quoteIdent(table));
    sqlite3_stmt* s = db->acquire(sql, jetSql);
    sqlite3_bind_int64(s, 1, rowid);
    const int rc = sqlite3_step(s);
    if (rc == SQLITE_ROW) {
        engine::encodeRow(s, 1, ncols, scratch);
        const char* data = arena.store(scratch);
        if (append) {
            const long idx = appendRow(rowid, data);
            for (auto& [col, index] : keyIndex) {
                const Cell c = cellAt(idx, col);
                if (c.type == Cell::Null)
                    continue;
                const auto entry = std::make_pair(qHash(jetcond::cellText(c, true)), idx);
                index.insert(std::lower_bound(index.begin(), index.end(), entry), entry);
            }
        } else {
            for (long i = 0; i < long(rows.size()); ++i) {
                if (rows[size_t(i)].rowid != rowid || !live(i))
                    continue;
                // A lookup table by a column another program changed is out of date.
                for (auto it = keyIndex.begin(); it != keyIndex.end();)
                    it = jetcond::cellText(cellAt(i, it->first), true)
                                 == jetcond::cellText(engine::decodeCell(data, it->first), true)
                             ? std::next(it)
                             : keyIndex.erase(it);
                setRowData(i, data);
            }
        }
    }
    db->release(sql, s);
    invalidateOffsets();
}

// ---- Recordset ------------------------------------------------------------------

Recordset::Recordset(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

Recordset::~Recordset()
{
    if (d)
        d->closeNow();
}

void Recordset::FindFirst(const QString& condition)
{
    d->check();
    d->find(condition, 0);
}

void Recordset::FindNext(const QString& condition)
{
    d->check();
    d->find(condition, d->onGap ? d->cur : d->cur + 1);
}

bool Recordset::NoMatch() const
{
    d->check();
    return d->noMatch;
}

bool Recordset::IsEOF() const
{
    d->check();
    if (d->onGap)
        return false;
    return d->cur < 0 || d->cur >= long(d->rows.size());
}

bool Recordset::IsBOF() const
{
    d->check();
    return d->cur < 0 || long(d->rows.size()) == d->deletedCount;
}

void Recordset::MoveFirst()
{
    d->check();
    d->dropEdit();
    d->onGap = false;
    long first = 0;
    if (d->ensureLive(first)) {
        d->cur = first;
        d->reached = std::max(d->reached, first + 1);
    } else {
        raise(DbErr::NoCurrentRecord, noCurrentText());
    }
}

void Recordset::MoveNext()
{
    d->check();
    d->dropEdit();
    if (!d->onGap && (d->cur < 0 || d->cur >= long(d->rows.size())))
        raise(DbErr::NoCurrentRecord, noCurrentText());
    long next = d->onGap ? d->cur : d->cur + 1;
    d->onGap = false;
    if (d->ensureLive(next)) {
        d->cur = next;
        d->reached = std::max(d->reached, next + 1);
    } else {
        d->cur = long(d->rows.size()); // past the end: EOF
    }
}

void Recordset::MoveLast()
{
    d->check();
    d->dropEdit();
    d->drain();
    long last = long(d->rows.size()) - 1;
    while (last >= 0 && !d->live(last))
        --last;
    if (last < 0)
        raise(DbErr::NoCurrentRecord, noCurrentText());
    d->onGap = false;
    d->cur = last;
    d->reached = long(d->rows.size());
}

QVariant Recordset::Fields(const QString& name) const
{
    d->check();
    return Fields(d->fieldIndex(name));
}

QVariant Recordset::Fields(int index) const
{
    d->check();
    if (index < 0 || index >= d->ncols)
        raise(DbErr::NoSuchField, tr2(QStringLiteral("Item %1 not found in this collection."),
                                      QStringLiteral("Element %1 ist in dieser Auflistung nicht vorhanden."))
                                      .arg(index));
    if (d->edit != Impl::EditMode::None) {
        auto it = d->pending.find(index);
        if (it != d->pending.end())
            return it->second;
        if (d->edit == Impl::EditMode::Adding)
            return QVariant();
    }
    d->requireCurrent();
    const char* data = d->rows[size_t(d->cur)].data;
    if (d->offsetsRow != d->cur) {
        engine::rowOffsets(data, d->ncols, d->offsets);
        d->offsetsRow = d->cur;
    }
    return engine::toVariant(engine::decodeAt(data + d->offsets[size_t(index)]));
}

QString Recordset::FieldName(int index) const
{
    d->check();
    if (index < 0 || index >= d->ncols)
        raise(DbErr::NoSuchField, tr2(QStringLiteral("Item %1 not found in this collection."),
                                      QStringLiteral("Element %1 ist in dieser Auflistung nicht vorhanden."))
                                      .arg(index));
    return d->cols->names[index];
}

int Recordset::FieldCount() const
{
    d->check();
    return d->ncols;
}

bool Recordset::HasField(const QString& name) const
{
    d->check();
    try {
        d->fieldIndex(name);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

namespace {

void requireUpdatable(const Recordset::Impl& d)
{
    if (!d.updatable)
        raise(DbErr::NotUpdatable,
              tr2(QStringLiteral("The record set cannot be changed: it is not the query of one table (%1)."),
                  QStringLiteral("Die Datensatzgruppe kann nicht geändert werden: sie ist keine Abfrage auf eine "
                                 "einzelne Tabelle (%1)."))
                  .arg(jetsql::shownInMessage(d.jetSql)));
}

QString withoutEditText()
{
    return tr2(QStringLiteral("Update or CancelUpdate without AddNew or Edit."),
               QStringLiteral("Aktualisieren oder Abbrechen ohne Hinzufügen oder Bearbeiten."));
}

} // namespace

void Recordset::Edit()
{
    d->check();
    requireUpdatable(*d);
    d->db->checkWritable();
    d->requireCurrent();
    // The edit starts from what the file holds now: another program may have
    // changed the row since it was read.
    d->refreshRow(d->rows[size_t(d->cur)].rowid, false);
    d->pending.clear();
    d->edit = Impl::EditMode::Editing;
}

void Recordset::AddNew()
{
    d->check();
    requireUpdatable(*d);
    d->db->checkWritable();
    d->pending.clear();
    d->edit = Impl::EditMode::Adding;
}

void Recordset::SetField(const QString& name, const QVariant& value)
{
    d->check();
    SetField(d->fieldIndex(name), value);
}

void Recordset::SetField(int index, const QVariant& value)
{
    d->check();
    if (d->edit == Impl::EditMode::None)
        raise(DbErr::UpdateWithoutEdit, withoutEditText());
    if (index < 0 || index >= d->ncols)
        raise(DbErr::NoSuchField, tr2(QStringLiteral("Item %1 not found in this collection."),
                                      QStringLiteral("Element %1 ist in dieser Auflistung nicht vorhanden."))
                                      .arg(index));
    d->pending[index] = value;
}

void Recordset::Update()
{
    d->check();
    if (d->edit == Impl::EditMode::None)
        raise(DbErr::UpdateWithoutEdit, withoutEditText());
    requireUpdatable(*d);
    d->db->checkWritable();
    QStringList cols;
    std::vector<QVariant> values;
    for (const auto& [index, value] : d->pending) {
        cols << jetsql::quoteIdent(d->cols->origins[index]);
        values.push_back(value);
    }
    const QString table = jetsql::quoteIdent(d->table);
    if (d->edit == Impl::EditMode::Editing) {
        d->requireCurrent();
        const qint64 rowid = d->rows[size_t(d->cur)].rowid;
        if (!cols.isEmpty()) {
            QStringList sets;
            for (int i = 0; i < cols.size(); ++i)
                sets << QStringLiteral("%1=?%2").arg(cols[i]).arg(i + 1);
            values.push_back(QVariant(rowid));
            const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_=?%3")
                                    .arg(table, sets.join(QLatin1String(", ")))
                                    .arg(values.size());
            if (d->db->execWrite(sql, values, d->table) != 1)
                raise(DbErr::WriteFailed,
                      tr2(QStringLiteral("The change could not be saved: the record no longer exists."),
                          QStringLiteral("Die Änderung konnte nicht gespeichert werden: der Datensatz ist nicht mehr "
                                         "vorhanden.")));
            for (const auto& entry : d->pending)
                d->keyIndex.erase(entry.first); // that column's lookup table is out of date
            d->refreshRow(rowid, false);
        }
        d->lastModified = rowid;
        d->hasLastModified = true;
    } else {
        QString sql;
        if (cols.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table);
        } else {
            QStringList marks;
            for (int i = 0; i < cols.size(); ++i)
                marks << QStringLiteral("?%1").arg(i + 1);
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, cols.join(QLatin1String(", ")), marks.join(QLatin1String(", ")));
        }
        d->drain(); // the new row comes after every row of the set
        d->db->execWrite(sql, values, d->table);
        const qint64 rowid = sqlite3_last_insert_rowid(d->db->db);
        d->refreshRow(rowid, true);
        d->reached = std::min(long(d->rows.size()), d->reached + 1);
        d->lastModified = rowid;
        d->hasLastModified = true;
    }
    d->pending.clear();
    d->edit = Impl::EditMode::None;
}

void Recordset::CancelUpdate()
{
    d->check();
    if (d->edit == Impl::EditMode::None)
        raise(DbErr::UpdateWithoutEdit, withoutEditText());
    d->pending.clear();
    d->edit = Impl::EditMode::None;
}

void Recordset::Delete()
{
    d->check();
    requireUpdatable(*d);
    d->db->checkWritable();
    d->requireCurrent();
    d->pending.clear();
    d->edit = Impl::EditMode::None;
    const qint64 rowid = d->rows[size_t(d->cur)].rowid;
    d->db->execWrite(QStringLiteral("DELETE FROM %1 WHERE _rowid_=?1").arg(jetsql::quoteIdent(d->table)),
                     {QVariant(rowid)}, d->table);
    // Marked, not erased: the rows after it keep their numbers, so the lookup
    // tables stay valid and a delete costs the same wherever the row is.
    d->setRowData(d->cur, nullptr);
    d->onGap = true; // FindNext / MoveNext go on with the row that followed
}

void Recordset::MoveToLastModified()
{
    d->check();
    d->dropEdit();
    if (!d->hasLastModified)
        raise(DbErr::NoCurrentRecord, noCurrentText());
    for (long i = long(d->rows.size()) - 1; i >= 0; --i) {
        if (d->rows[size_t(i)].rowid == d->lastModified && d->live(i)) {
            d->cur = i;
            d->onGap = false;
            d->reached = std::max(d->reached, i + 1);
            return;
        }
    }
    raise(DbErr::NoCurrentRecord, noCurrentText());
}

long Recordset::RecordCount() const
{
    d->check();
    return d->liveBelow(std::min(long(d->rows.size()), std::max(d->reached, d->hasCurrent() ? d->cur + 1 : 0L)));
}

long Recordset::RowsInResult()
{
    d->check();
    d->drain();
    return long(d->rows.size()) - d->deletedCount;
}

long Recordset::AbsolutePosition() const
{
    d->check();
    return d->hasCurrent() ? d->liveBelow(d->cur) : -1;
}

bool Recordset::Updatable() const
{
    d->check();
    return d->updatable && !d->db->readOnly;
}

void Recordset::Close()
{
    d->check();
    d->closeNow();
}

bool Recordset::isOpen() const { return d->open && d->db->open; }
