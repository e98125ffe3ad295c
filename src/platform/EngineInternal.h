#pragma once
// Inner parts of the database engine shared by Database.cpp and Recordset.cpp.
#include "platform/Database.h"
#include "platform/JetCondition.h"
#include "platform/JetSql.h"
#include "platform/Recordset.h"
#include "platform/TextHash.h"

#include <QHash>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine {

[[noreturn]] void raise(int number, const QString& description);
// Raises the error SQLite reported for `rc` while writing.
[[noreturn]] void raiseWrite(sqlite3* db, int rc, const QString& path, const QString& message = QString());
// A statement that cannot run: why, and the statement as written (cut when long).
[[noreturn]] void raiseSqlError(const QString& why, const QString& jetSql);
// Raises the error for a statement that cannot run or gives no rows.
void requireSelect(const jetsql::Translated& tr, const QString& jetSql);
// Raises the error SQLite reported while reading rows.
[[noreturn]] void raiseRead(sqlite3* db, int rc, const QString& sql);
void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value);

// Rows are kept as one encoded byte run each (type byte, then a varint or the
// bytes of the value), allocated from large chunks: a 100,000-row table costs
// little more than its text.
class RowArena {
public:
    const char* store(const std::string& bytes);
    void clear();

private:
    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_used = 0, m_size = 0;
};

void encodeRow(sqlite3_stmt* stmt, int firstColumn, int count, std::string& out);
// Offsets of every value in an encoded row.
void rowOffsets(const char* data, int count, std::vector<uint32_t>& out);
jetcond::Cell decodeAt(const char* p);
const char* skipValue(const char* p);
jetcond::Cell decodeCell(const char* data, int index);
QVariant toVariant(const jetcond::Cell& c);

// The columns of a prepared statement, shared by every dynaset opened on it.
struct ColumnInfo {
    QStringList names, tables, origins;
    std::unordered_map<QString, int, TextHash> plainIndex;       // lower-case column name -> first position
    std::unordered_map<QString, int, TextHash> qualifiedIndex;   // lower-case "table.column" -> position
    int plain(const QString& lowered) const
    {
        const auto it = plainIndex.find(lowered);
        return it == plainIndex.end() ? -1 : it->second;
    }
    int qualified(const QString& lowered) const
    {
        const auto it = qualifiedIndex.find(lowered);
        return it == qualifiedIndex.end() ? -1 : it->second;
    }
};

struct StoredRow {
    qint64 rowid;
    const char* data;   // nullptr: the row was deleted (kept until the set is compacted)
};

} // namespace engine

struct Database::Impl {
    sqlite3* db = nullptr;
    QString path;
    bool readOnly = false;
    bool open = false;
    // What is kept per SQLite text: one lookup serves a dynaset's statement,
    // its columns and the statement's return. Entries stay until the database
    // closes, so a dynaset may hold on to its own.
    struct Prepared {
        std::vector<sqlite3_stmt*> idle;                     // prepared statements not in use
        std::shared_ptr<const engine::ColumnInfo> columns;   // known once a dynaset has read them
    };
    std::unordered_map<QString, Prepared, TextHash> prepared;
    int idleCount = 0;
    std::vector<Recordset::Impl*> live;                 // record sets open on this database
    bool inTransaction = false;
    // Ends the transaction's bookkeeping in every record set; a rollback
    // restores the rows they changed.
    void endTransaction(bool commit);

    ~Impl();
    // A prepared statement for `sql` (translated SQLite text); raises SqlSyntax
    // or NoSuchTable with SQLite's message. jetSql is the text for the message.
    // entry, when given, is set to the statement's entry.
    sqlite3_stmt* acquire(const QString& sql, const QString& jetSql, Prepared** entry = nullptr);
    void release(const QString& sql, sqlite3_stmt* stmt);
    void release(Prepared& entry, sqlite3_stmt* stmt);
    // SQLite commits a write only when no read statement is pending on the
    // connection: every dynaset still reading fetches its remaining rows first.
    // Inside a transaction the commit comes later and does not wait for reads:
    // only the dynasets that may read `table` (all, when it is empty) fetch theirs,
    // so that they keep the rows they would have had.
    void finishPendingReads(const QString& table = QString());
    void checkOpen() const;
    void checkWritable() const;
    void closeAll();
    void dropIdleStatements();
    // Runs a write statement with values on `table`; returns sqlite3_changes.
    int execWrite(const QString& sql, const std::vector<QVariant>& values, const QString& table = QString());
};

struct Recordset::Impl {
    std::shared_ptr<Database> owner;
    Database::Impl* db = nullptr;
    QString jetSql;
    jetsql::Translated tr;
    QString key;                    // the prepared SQLite text
    Database::Impl::Prepared* prepared = nullptr;   // its entry
    sqlite3_stmt* stmt = nullptr;   // set while rows remain to be fetched
    int firstCol = 0;               // 1 when column 0 is the table's rowid
    bool updatable = false;
    QString table;                  // the one table of an updatable dynaset
    int ncols = -1;                 // known after the first step (SQLite may re-prepare)
    std::shared_ptr<const engine::ColumnInfo> cols;

    engine::RowArena arena;
    std::vector<engine::StoredRow> rows;
    std::string scratch;
    long cur = -1;            // current row; -1 none
    bool onGap = false;       // the current row was deleted: cur is the row after it
    bool noMatch = false;
    bool open = true;
    long reached = 0;         // rows the walk has reached (RecordCount), deleted ones included
    long deletedCount = 0;    // rows marked deleted
    long lastDeleted = -1;    // no row above it is marked deleted
    // Inside a transaction: (row, its data before the change) per change, so
    // that a rollback brings the rows back as the file has them again.
    std::vector<std::pair<long, const char*>> undo;

    enum class EditMode { None, Editing, Adding } edit = EditMode::None;
    std::map<int, QVariant> pending;
    qint64 lastModified = 0;
    bool hasLastModified = false;

    // The condition searched last, apart from the table of the others: most
    // dynasets are searched with one condition only.
    QString lastCondition;
    jetcond::Bound lastBound;
    bool hasLastCondition = false;
    std::unordered_map<QString, jetcond::Bound, TextHash> conditions;
    mutable QString nameKey;   // buffer for lower-case lookups
    // Lookup by key for "col LIKE 'text'" / "col = n": (hash of the folded
    // value text, row), sorted. Built once a column is searched repeatedly.
    std::unordered_map<int, std::vector<std::pair<size_t, long>>> keyIndex;
    std::unordered_map<int, int> keyUses;

    mutable std::vector<uint32_t> offsets;
    mutable long offsetsRow = -1;

    bool fetchOne();
    void readColumns();
    bool ensure(long index);
    void drain();
    void releaseStmt();
    void closeNow();
    void check() const;
    int resolve(const QString& table, const QString& column) const;
    int fieldIndex(const QString& name) const;
    const jetcond::Bound& bound(const QString& condition);
    void find(const QString& condition, long start);
    jetcond::Cell cellAt(long row, int col) const;
    bool hasCurrent() const { return !onGap && cur >= 0 && cur < long(rows.size()); }
    void requireCurrent() const;
    void dropEdit();
    void refreshRow(qint64 rowid, bool append);
    void setRowData(long row, const char* data);
    bool live(long row) const { return rows[size_t(row)].data != nullptr; }
    // The first row from `row` on that is not deleted, fetching as needed; false when none.
    bool ensureLive(long& row);
    long positionOf(long row);   // position among the rows not deleted
    long liveBelow(long end) const;   // rows not deleted among the first `end`
    void compact();
    void invalidateOffsets() { offsetsRow = -1; }
};
