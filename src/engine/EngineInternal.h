#pragma once
// Inner parts of the database engine shared by Database.cpp and Recordset.cpp.
#include "engine/Database.h"
#include "engine/JetCondition.h"
#include "engine/JetSql.h"
#include "engine/Recordset.h"
#include "engine/RowStore.h"
#include "engine/TextHash.h"

#include <QElapsedTimer>
#include <QHash>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace engine {

[[noreturn]] void raise(int number, const QString& description);
// A statement that cannot run: why, and the statement as written (cut when long).
[[noreturn]] void raiseSqlError(const QString& why, const QString& jetSql);
// Raises the error for a statement that cannot run or gives no rows.
void requireSelect(const jetsql::Translated& tr, const QString& jetSql);
// Raises the error SQLite reported while reading rows.
[[noreturn]] void raiseRead(sqlite3* db, int rc, const QString& sql);
// A value as the engine stores and compares it; a text or blob's bytes are
// kept in `bytes`, which must outlive the cell.
jetcond::Cell cellOfValue(const QVariant& value, QByteArray& bytes);
// Binds a cell; `bytes` is SQLITE_STATIC when the cell's bytes outlive the run.
void bindCell(sqlite3_stmt* stmt, int index, const jetcond::Cell& cell, sqlite3_destructor_type bytes);
void bindValue(sqlite3_stmt* stmt, int index, const QVariant& value);

// The columns of a prepared statement, shared by every dynaset opened on it.
struct ColumnInfo {
    QStringList names, tables, origins;
    std::unordered_map<QString, int, TextHash> plainIndex;     // lower-case column name -> first position
    std::unordered_map<QString, int, TextHash> qualifiedIndex; // lower-case "table.column" -> position
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

// The columns of a statement's result from position firstCol on.
std::shared_ptr<ColumnInfo> readColumnInfo(sqlite3_stmt* stmt, int firstCol);

} // namespace engine

struct Database::Impl {
    sqlite3* db = nullptr;
    QString path;
    // The file as it was opened: another program may delete, move or replace it.
    dev_t device = 0;
    ino_t inode = 0;
    bool readOnly = false;
    bool open = false;
    // What is kept per SQLite text: one lookup serves a dynaset's statement,
    // its columns and the statement's return. Entries stay until the database
    // closes, so a dynaset may hold on to its own.
    struct Prepared {
        std::vector<sqlite3_stmt*> idle;                   // prepared statements not in use
        std::shared_ptr<const engine::ColumnInfo> columns; // known once a dynaset has read them
    };
    std::unordered_map<QString, Prepared, TextHash> prepared;
    int idleCount = 0;
    // What the statement translator and the condition parser keep of the
    // texts they were given, for as long as this database is open.
    jetsql::StatementCache statementCache{1000};
    jetcond::ConditionCache conditionCache{2000};
    std::vector<Recordset::Impl*> live; // record sets open on this database
    bool inTransaction = false;
    // Set while SQLite waits for another program's lock (see waitForLock).
    bool waitingForLock = false;
    QElapsedTimer lockWait;
    // Starts a transaction with `statement` (BEGIN or BEGIN IMMEDIATE).
    void begin(const char* statement);
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
    // Ends every read still pending, without raising: sets on one table stop
    // where they are and read on later, the others read their rows to the end
    // now (a read error is raised when they are used next). While the program
    // waits for the user, no other program is then kept from writing.
    void releaseReads() noexcept;
    // The open databases of this thread, which release their reads whenever
    // the event loop is about to wait.
    static std::vector<Impl*>& openDatabases();
    static void releaseReadsWhenIdle(Impl* d);
    // SQLite's busy handler: waits for another program's lock up to kLockWaitMs,
    // letting the window system repaint meanwhile.
    static int waitForLock(void* self, int attempt);
    // Raises the error SQLite reported for `rc` while writing.
    [[noreturn]] void raiseWrite(int rc) const;
    bool fileReplaced() const;
    void checkOpen() const;
    void checkWritable() const;
    void closeAll();
    void dropIdleStatements();
    bool isView(const QString& table);
    // Runs a write statement with values on `table`; returns sqlite3_changes.
    int execWrite(const QString& sql, const std::vector<QVariant>& values, const QString& table = QString());
};

struct Recordset::Impl {
    std::shared_ptr<Database> owner;
    Database::Impl* db = nullptr;
    QString jetSql;
    jetsql::Translated tr;
    QString key;                                  // the prepared SQLite text
    Database::Impl::Prepared* prepared = nullptr; // its entry
    sqlite3_stmt* stmt = nullptr;                 // set while rows remain to be fetched
    // Stopped before its end (no lock is kept between commands): the rows not
    // held yet are read by running the statement again, over the rows held.
    bool paused = false;
    std::unordered_set<qint64> held; // while reading on: rowids already in `rows`
    int readErrorNumber = 0;         // a read that failed while nobody asked for rows
    QString readErrorText;
    int firstCol = 0; // 1 when column 0 is the table's rowid
    bool updatable = false;
    QString table;  // the one table of an updatable dynaset
    int ncols = -1; // known after the first step (SQLite may re-prepare)
    std::shared_ptr<const engine::ColumnInfo> cols;

    engine::RowArena arena;
    std::vector<engine::StoredRow> rows;
    std::string scratch;
    long cur = -1; // current row; -1 none
    // The current row was deleted: it stays in `rows`, marked, and the next
    // FindNext/MoveNext starts at cur, which skips it.
    bool onGap = false;
    bool noMatch = false;
    bool open = true;
    long reached = 0;      // rows the walk has reached (RecordCount), deleted ones included
    long deletedCount = 0; // rows marked deleted
    long lastDeleted = -1; // no row above it is marked deleted
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
    mutable QString nameKey; // buffer for lower-case lookups
    // Lookup by key for "col LIKE 'text'" / "col = n": (hash of the folded
    // value text, row), sorted. Built once a column is searched repeatedly.
    std::unordered_map<int, std::vector<std::pair<size_t, long>>> keyIndex;
    std::unordered_map<int, int> keyUses;

    mutable std::vector<uint32_t> offsets;
    mutable long offsetsRow = -1;

    bool fetchOne();
    void pause();
    void resume();
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
    long appendRow(qint64 rowid, const char* data); // returns its number
    long liveBelow(long end) const;                 // rows not deleted among the first `end`
    void invalidateOffsets() { offsetsRow = -1; }
};
