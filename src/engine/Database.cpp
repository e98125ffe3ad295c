#include "engine/Database.h"

#include "engine/EngineInternal.h"
#include "engine/UiLanguage.h"
#include "engine/WriteCheck.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

namespace engine {

void raise(int number, const QString& description) { throw AppError(number, description); }

namespace {
// The reason SQLite gives with rc, in the user's language: SQLite's own
// texts are English.
QString reasonOf(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_FULL:
        return WriteCheck::reasonFor(ENOSPC);
    case SQLITE_IOERR:
        return WriteCheck::reasonFor(EIO);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return tr2(QStringLiteral("another program holds it locked"),
                   QStringLiteral("ein anderes Programm hält sie gesperrt"));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return tr2(QStringLiteral("the file is damaged"), QStringLiteral("die Datei ist beschädigt"));
    case SQLITE_CONSTRAINT:
        return tr2(QStringLiteral("a rule of the database refuses the value"),
                   QStringLiteral("eine Regel der Datenbank lässt den Wert nicht zu"));
    case SQLITE_TOOBIG:
        return tr2(QStringLiteral("the value is too large"), QStringLiteral("der Wert ist zu groß"));
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        return tr2(QStringLiteral("access to the file was denied"),
                   QStringLiteral("der Zugriff auf die Datei wurde verweigert"));
    default:
        return tr2(QStringLiteral("the database reports error %1"), QStringLiteral("die Datenbank meldet Fehler %1")).arg(rc);
    }
}
} // namespace

void raiseSqlError(const QString& why, const QString& jetSql)
{
    raise(DbErr::SqlSyntax, tr2(QStringLiteral("Error in the SQL statement: %1 (%2)"),
                                QStringLiteral("Fehler in der SQL-Anweisung: %1 (%2)"))
                                .arg(why, jetsql::shownInMessage(jetSql)));
}

void requireSelect(const jetsql::Translated& tr, const QString& jetSql)
{
    if (!tr.error.isEmpty())
        raiseSqlError(tr.error, jetSql);
    if (!tr.isSelect)
        raise(DbErr::SqlSyntax, tr2(QStringLiteral("Only SELECT statements give a record set (%1)."),
                                    QStringLiteral("Nur SELECT-Anweisungen ergeben eine Datensatzgruppe (%1)."))
                                    .arg(jetsql::shownInMessage(jetSql)));
}

void raiseRead(sqlite3* db, int rc, const QString& sql)
{
    const QString file = QString::fromUtf8(sqlite3_db_filename(db, "main"));
    if ((rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_NOTADB)
        raise(DbErr::NotADatabase, tr2(QStringLiteral("The database file \"%1\" is damaged."),
                                       QStringLiteral("Die Datenbankdatei \"%1\" ist beschädigt."))
                                       .arg(file));
    raise(DbErr::CannotOpen, tr2(QStringLiteral("The rows of \"%1\" could not be read from \"%2\": %3."),
                                 QStringLiteral("Die Datensätze von \"%1\" konnten nicht aus \"%2\" gelesen werden: %3."))
                                 .arg(jetsql::shownInMessage(sql), file, reasonOf(rc)));
}

jetcond::Cell cellOfValue(const QVariant& v, QByteArray& bytes)
{
    jetcond::Cell c;
    if (!v.isValid() || v.isNull())
        return c;
    switch (v.typeId()) {
    case QMetaType::Bool:
        c.type = jetcond::Cell::Int;
        c.i = v.toBool() ? -1 : 0; // True is -1 in these files
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        c.type = jetcond::Cell::Int;
        c.i = v.toLongLong();
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        c.type = jetcond::Cell::Real;
        c.d = v.toDouble();
        break;
    case QMetaType::QByteArray:
        bytes = v.toByteArray();
        c.type = jetcond::Cell::Blob;
        c.p = bytes.constData();
        c.n = int(bytes.size());
        break;
    default:
        bytes = v.toString().toUtf8();
        c.type = jetcond::Cell::Text;
        c.p = bytes.constData();
        c.n = int(bytes.size());
    }
    return c;
}

void bindCell(sqlite3_stmt* stmt, int index, const jetcond::Cell& c, sqlite3_destructor_type bytes)
{
    switch (c.type) {
    case jetcond::Cell::Int:
        sqlite3_bind_int64(stmt, index, c.i);
        break;
    case jetcond::Cell::Real:
        sqlite3_bind_double(stmt, index, c.d);
        break;
    case jetcond::Cell::Text:
        sqlite3_bind_text(stmt, index, c.p, c.n, bytes);
        break;
    case jetcond::Cell::Blob:
        sqlite3_bind_blob(stmt, index, c.p, c.n, bytes);
        break;
    case jetcond::Cell::Null:
        sqlite3_bind_null(stmt, index);
        break;
    }
}

void bindValue(sqlite3_stmt* stmt, int index, const QVariant& v)
{
    QByteArray bytes;
    bindCell(stmt, index, cellOfValue(v, bytes), SQLITE_TRANSIENT);
}

std::shared_ptr<ColumnInfo> readColumnInfo(sqlite3_stmt* stmt, int firstCol)
{
    auto info = std::make_shared<ColumnInfo>();
    const int ncols = sqlite3_column_count(stmt) - firstCol;
    for (int i = 0; i < ncols; ++i) {
        const int c = i + firstCol;
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, c));
        const char* t = sqlite3_column_table_name(stmt, c);
        const char* o = sqlite3_column_origin_name(stmt, c);
        const QString tableName = t ? QString::fromUtf8(t) : QString();
        info->names << name;
        info->tables << tableName;
        info->origins << (o ? QString::fromUtf8(o) : name);
        info->plainIndex.emplace(name.toLower(), i); // the first of a name stays
        if (!tableName.isEmpty())
            info->qualifiedIndex.emplace(tableName.toLower() + QLatin1Char('.') + name.toLower(), i);
    }
    return info;
}

} // namespace engine

using engine::raise;

// ---- Database::Impl --------------------------------------------------------

// The open databases of this thread. Whenever the event loop is about to wait
// for input, they end their pending reads: between two commands the program
// keeps no lock on a file that other programs may want to write.
std::vector<Database::Impl*>& Database::Impl::openDatabases()
{
    static std::vector<Database::Impl*> list;
    return list;
}

void Database::Impl::releaseReadsWhenIdle(Impl* d)
{
    openDatabases().push_back(d);
    static QPointer<QAbstractEventDispatcher> hooked;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || dispatcher == hooked)
        return;
    hooked = dispatcher;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [] {
        for (Database::Impl* open : openDatabases())
            if (!open->inTransaction && !open->waitingForLock)
                open->releaseReads();
    });
}

Database::Impl::~Impl() { closeAll(); }

namespace {
// How long a read or write waits for another program's lock before it fails.
constexpr qint64 kLockWaitMs = 3000;
} // namespace

int Database::Impl::waitForLock(void* self, int attempt)
{
    auto* d = static_cast<Database::Impl*>(self);
    if (attempt == 0)
        d->lockWait.start();
    if (d->lockWait.elapsed() >= kLockWaitMs)
        return 0;
    // The windows stay painted while the user waits. Only what the window
    // system reports runs, never the user's input, and no event loop is
    // entered that could wait: nothing in here may use this connection.
    d->waitingForLock = true;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    d->waitingForLock = false;
    const timespec pause{0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
    return 1;
}

bool Database::Impl::fileReplaced() const
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) != 0 || st.st_dev != device || st.st_ino != inode;
}

void Database::Impl::raiseWrite(int rc) const
{
    // SQLite reports a file deleted or renamed under it as read-only.
    if (fileReplaced())
        raise(DbErr::FileReplaced,
              tr2(QStringLiteral("The database \"%1\" is no longer the file that was opened: it was deleted, moved "
                                 "or replaced. The change was not saved."),
                  QStringLiteral("Die Datenbank \"%1\" ist nicht mehr die Datei, die geöffnet wurde: sie wurde "
                                 "gelöscht, verschoben oder ersetzt. Die Änderung wurde nicht gespeichert."))
                  .arg(path));
    if ((rc & 0xff) == SQLITE_READONLY)
        raise(DbErr::ReadOnly,
              tr2(QStringLiteral("The database \"%1\" is read-only; the change was not saved."),
                  QStringLiteral("Die Datenbank \"%1\" ist schreibgeschützt; die Änderung wurde nicht gespeichert."))
                  .arg(path));
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        raise(DbErr::Locked,
              tr2(QStringLiteral("The database \"%1\" is locked by another program; the change was not saved."),
                  QStringLiteral("Die Datenbank \"%1\" ist von einem anderen Programm gesperrt; die Änderung wurde "
                                 "nicht gespeichert."))
                  .arg(path));
    // SQLite's own text is English and names no file: the box names the file
    // and gives the reason in the user's language.
    raise(DbErr::WriteFailed, tr2(QStringLiteral("The change to \"%1\" could not be saved: %2."),
                                  QStringLiteral("Die Änderung an \"%1\" konnte nicht gespeichert werden: %2."))
                                  .arg(path, engine::reasonOf(rc)));
}

void Database::Impl::checkOpen() const
{
    if (!open)
        raise(DbErr::ObjectClosed, tr2(QStringLiteral("Object invalid or no longer set (the database is closed)."),
                                       QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt (die "
                                                      "Datenbank ist geschlossen).")));
}

void Database::Impl::checkWritable() const
{
    checkOpen();
    if (readOnly)
        raise(DbErr::ReadOnly,
              tr2(QStringLiteral("The database \"%1\" is read-only; the change was not saved."),
                  QStringLiteral("Die Datenbank \"%1\" ist schreibgeschützt; die Änderung wurde nicht gespeichert."))
                  .arg(path));
}

sqlite3_stmt* Database::Impl::acquire(const QString& sql, const QString& jetSql, Prepared** entry)
{
    checkOpen();
    auto it = prepared.find(sql);
    if (it != prepared.end() && !it->second.idle.empty()) {
        sqlite3_stmt* s = it->second.idle.back();
        it->second.idle.pop_back();
        --idleCount;
        if (entry)
            *entry = &it->second;
        return s;
    }
    sqlite3_stmt* s = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    if (rc != SQLITE_OK || !s) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(s);
        if (msg.startsWith(QLatin1String("no such table"))) {
            const QString table = msg.section(QLatin1String(": "), 1);
            raise(DbErr::NoSuchTable, tr2(QStringLiteral("The table \"%1\" was not found (%2)."),
                                          QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden (%2)."))
                                          .arg(table, jetsql::shownInMessage(jetSql)));
        }
        engine::raiseSqlError(msg, jetSql);
    }
    if (entry)
        *entry = it != prepared.end() ? &it->second : &prepared[sql];
    return s;
}

void Database::Impl::release(const QString& sql, sqlite3_stmt* stmt)
{
    if (!stmt)
        return;
    if (!open) {
        sqlite3_finalize(stmt);
        return;
    }
    release(prepared[sql], stmt);
}

void Database::Impl::release(Prepared& entry, sqlite3_stmt* stmt)
{
    if (!stmt)
        return;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (!open || idleCount >= 256) {
        sqlite3_finalize(stmt);
        return;
    }
    entry.idle.push_back(stmt);
    ++idleCount;
}

void Database::Impl::finishPendingReads(const QString& table)
{
    const bool onlyReadersOfTable = inTransaction && !table.isEmpty();
    // Copy: draining does not change the list, but keep it safe anyway.
    const auto sets = live;
    for (Recordset::Impl* r : sets) {
        if (!r->stmt)
            continue;
        if (!inTransaction && r->updatable)
            r->pause(); // reads on later, with the rows as the write left them
        else if (!(onlyReadersOfTable && r->updatable && r->table.compare(table, Qt::CaseInsensitive) != 0))
            r->drain();
    }
}

void Database::Impl::releaseReads() noexcept
{
    for (Recordset::Impl* r : live) {
        if (!r->stmt)
            continue;
        if (r->updatable) {
            r->pause();
            continue;
        }
        try {
            r->drain();
        } catch (const AppError& e) {
            r->readErrorNumber = e.number();
            r->readErrorText = e.description();
        } catch (...) {
            r->readErrorNumber = DbErr::CannotOpen;
            r->readErrorText = tr2(QStringLiteral("The rows of \"%1\" could not be read."),
                                   QStringLiteral("Die Datensätze von \"%1\" konnten nicht gelesen werden."))
                                   .arg(jetsql::shownInMessage(r->jetSql));
        }
    }
}

int Database::Impl::execWrite(const QString& sql, const std::vector<QVariant>& values, const QString& table)
{
    checkWritable();
    finishPendingReads(table);
    sqlite3_stmt* s = nullptr;
    try {
        s = acquire(sql, sql);
    } catch (const AppError&) {
        // SQLite refuses a write to a view in English, naming no file.
        if (isView(table))
            raise(DbErr::NotUpdatable,
                  tr2(QStringLiteral("The change to \"%1\" could not be saved: \"%2\" is a view, not a table."),
                      QStringLiteral("Die Änderung an \"%1\" konnte nicht gespeichert werden: \"%2\" ist eine "
                                     "Sicht (View) und keine Tabelle."))
                      .arg(path, table));
        throw;
    }
    for (size_t i = 0; i < values.size(); ++i)
        engine::bindValue(s, int(i) + 1, values[i]);
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE) {
        sqlite3_finalize(s);
        // A failed statement inside autocommit is rolled back by SQLite itself.
        raiseWrite(rc);
    }
    const int changes = sqlite3_changes(db);
    release(sql, s);
    return changes;
}

bool Database::Impl::isView(const QString& table)
{
    static const QString sql = QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='view' AND name=?1 COLLATE NOCASE");
    sqlite3_stmt* s = acquire(sql, sql);
    engine::bindValue(s, 1, table);
    const bool view = sqlite3_step(s) == SQLITE_ROW;
    release(sql, s);
    return view;
}

void Database::Impl::dropIdleStatements()
{
    for (auto& [sql, entry] : prepared) {
        for (sqlite3_stmt* s : entry.idle)
            sqlite3_finalize(s);
        entry.idle.clear();
    }
    idleCount = 0;
}

void Database::Impl::closeAll()
{
    auto& all = openDatabases();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    const auto sets = live;
    for (Recordset::Impl* r : sets)
        r->closeNow();
    live.clear();
    dropIdleStatements();
    prepared.clear();
    if (db) {
        sqlite3_close_v2(db);
        db = nullptr;
    }
    open = false;
    inTransaction = false; // closing rolls an open transaction back
}

void Database::Impl::endTransaction(bool commit)
{
    inTransaction = false; // restoring records no further undo
    for (Recordset::Impl* r : live) {
        if (!commit && !r->undo.empty()) {
            for (auto it = r->undo.rbegin(); it != r->undo.rend(); ++it)
                r->setRowData(it->first, it->second);
            r->keyIndex.clear(); // it left out rows that were deleted then
        }
        r->undo.clear();
    }
}

// ---- Database ---------------------------------------------------------------

Database::Database(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

Database::~Database() = default;

std::shared_ptr<Database> Database::OpenDatabase(const QString& path, bool exclusive, bool readOnly)
{
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists())
        raise(DbErr::FileNotFound, tr2(QStringLiteral("The file \"%1\" was not found."),
                                       QStringLiteral("Die Datei \"%1\" wurde nicht gefunden."))
                                       .arg(path));
    if (fi.isDir())
        raise(DbErr::CannotOpen, tr2(QStringLiteral("\"%1\" is a folder, not a database file."),
                                     QStringLiteral("\"%1\" ist ein Ordner, keine Datenbankdatei."))
                                     .arg(path));
    // A named pipe or a device would keep the open waiting for a writer or
    // reading without end; stat() follows links, so a link to one is refused too.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        raise(DbErr::CannotOpen, tr2(QStringLiteral("\"%1\" is no regular file and so no database file."),
                                     QStringLiteral("\"%1\" ist keine gewöhnliche Datei und damit keine Datenbankdatei."))
                                     .arg(path));
    const QString notADb = tr2(QStringLiteral("The file \"%1\" is not a database or is damaged."),
                               QStringLiteral("Die Datei \"%1\" ist keine Datenbank oder ist beschädigt."))
                               .arg(path);
    {
        // SQLite would take an empty file as a new database: look at the header first.
        // Opened here and not by QFile, whose reason would be the system's English text.
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            const int err = errno;
            raise(DbErr::CannotOpen,
                  tr2(QStringLiteral("The file \"%1\" cannot be opened: %2"),
                      QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2"))
                      .arg(path, err == EACCES || err == EPERM ? tr2(QStringLiteral("no permission to read it"),
                                                                     QStringLiteral("keine Leseberechtigung"))
                                                               : WriteCheck::reasonFor(err)));
        }
        QFile f;
        f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        const QByteArray head = f.read(16);
        if (head.size() < 16 || std::memcmp(head.constData(), "SQLite format 3\0", 16) != 0)
            raise(DbErr::NotADatabase, notADb);
    }

    auto impl = std::make_unique<Impl>();
    impl->path = path;
    const QByteArray utf8 = QFile::encodeName(path);
    // Never CREATE. One connection is used by one thread only, so SQLite need not
    // lock its mutex on every call.
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(utf8.constData(), &impl->db, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(impl->db);
        impl->db = nullptr;
        raise(DbErr::CannotOpen, tr2(QStringLiteral("The file \"%1\" cannot be opened: %2"),
                                     QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2"))
                                     .arg(path, engine::reasonOf(rc)));
    }
    impl->open = true;
    struct stat opened {};
    if (::stat(utf8.constData(), &opened) == 0) {
        impl->device = opened.st_dev;
        impl->inode = opened.st_ino;
    }
    sqlite3_busy_handler(impl->db, &Impl::waitForLock, impl.get());
    sqlite3_extended_result_codes(impl->db, 1);
    // A damaged file shows itself on the first read of the schema.
    rc = sqlite3_exec(impl->db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const int primary = rc & 0xff;
        impl->closeAll();
        if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
            raise(DbErr::NotADatabase, notADb);
        raise(DbErr::CannotOpen, tr2(QStringLiteral("The file \"%1\" cannot be opened: %2"),
                                     QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2"))
                                     .arg(path, engine::reasonOf(rc)));
    }
    if (exclusive)
        sqlite3_exec(impl->db, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
    impl->readOnly = readOnly || sqlite3_db_readonly(impl->db, "main") == 1;
    Impl::releaseReadsWhenIdle(impl.get());
    return std::shared_ptr<Database>(new Database(std::move(impl)));
}

std::shared_ptr<Recordset> Database::OpenRecordset(const QString& sql, int /*type*/)
{
    d->checkOpen();
    auto r = std::make_unique<Recordset::Impl>();
    r->owner = shared_from_this();
    r->db = d.get();
    r->jetSql = sql;
    r->tr = jetsql::translate(sql, d->statementCache);
    engine::requireSelect(r->tr, sql);

    // A dynaset on one table keeps each row's rowid, so that it can be changed.
    if (!r->tr.singleTable.isEmpty() && !r->tr.distinct) {
        const QString withRowid = QStringLiteral("SELECT _rowid_, ") + r->tr.sql.mid(int(strlen("SELECT")));
        try {
            r->stmt = d->acquire(withRowid, sql, &r->prepared);
            r->key = withRowid;
            r->firstCol = 1;
            r->updatable = true;
            r->table = r->tr.singleTable;
        } catch (const AppError&) {
            r->stmt = nullptr; // a view or a table without rowid: read only
        }
    }
    if (!r->stmt) {
        r->stmt = d->acquire(r->tr.sql, sql, &r->prepared);
        r->key = r->tr.sql;
    }
    for (size_t i = 0; i < r->tr.binds.size(); ++i)
        engine::bindValue(r->stmt, int(i) + 1, r->tr.binds[i]);

    Recordset::Impl* raw = r.get();
    auto rs = std::make_shared<Recordset>(std::move(r));
    d->live.push_back(raw);
    // Like a freshly opened dynaset, the first row is current at once.
    if (raw->ensure(0)) {
        raw->cur = 0;
        raw->reached = 1;
    }
    return rs;
}

std::shared_ptr<TableDef> Database::TableDefs(const QString& tableName)
{
    d->checkOpen();
    sqlite3_stmt* s = d->acquire(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name=?1 COLLATE NOCASE"),
        tableName);
    engine::bindValue(s, 1, tableName);
    QString name;
    if (sqlite3_step(s) == SQLITE_ROW)
        name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    d->release(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name=?1 COLLATE NOCASE"),
               s);
    if (name.isEmpty())
        raise(DbErr::NoSuchTable, tr2(QStringLiteral("The table \"%1\" was not found."),
                                      QStringLiteral("Die Tabelle \"%1\" wurde nicht gefunden."))
                                      .arg(tableName));
    return std::make_shared<TableDef>(weak_from_this(), name);
}

bool Database::KeepsValuesAsStored(const QString& tableName, const QString& column)
{
    d->checkOpen();
    static const QString sql = QStringLiteral("SELECT type FROM pragma_table_info(?1) WHERE name=?2 COLLATE NOCASE");
    sqlite3_stmt* s = d->acquire(sql, sql);
    engine::bindValue(s, 1, tableName);
    engine::bindValue(s, 2, column);
    const bool found = sqlite3_step(s) == SQLITE_ROW;
    const QString type = found ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))).toUpper()
                               : QString();
    d->release(sql, s);
    // SQLite's rules for the type a declared column converts its values to.
    for (const char* typed : {"INT", "CHAR", "CLOB", "TEXT"})
        if (type.contains(QLatin1String(typed)))
            return false;
    return found && (type.isEmpty() || type.contains(QLatin1String("BLOB")));
}

void Database::RefreshTableDefs() { d->checkOpen(); }

void Database::Close()
{
    d->checkOpen();
    d->closeAll();
}

bool Database::isOpen() const { return d->open; }
QString Database::Name() const { return d->path; }
bool Database::isReadOnly() const { return d->readOnly; }

// ---- TableDef ---------------------------------------------------------------

TableDef::TableDef(std::weak_ptr<Database> db, QString name) : m_db(std::move(db)), m_name(std::move(name)) {}

QString TableDef::Name() const { return m_name; }

namespace {

void liveDb(const std::weak_ptr<Database>& weak, std::shared_ptr<Database>& hold)
{
    hold = weak.lock();
    if (!hold)
        raise(DbErr::ObjectClosed, tr2(QStringLiteral("Object invalid or no longer set."),
                                       QStringLiteral("Objekt ist ungültig oder nicht mehr festgelegt.")));
}

} // namespace

std::vector<Property> TableDef::Properties() const
{
    std::shared_ptr<Database> db;
    liveDb(m_db, db);
    Database::Impl* d = db->d.get();
    d->checkOpen();
    std::vector<Property> props;
    props.push_back({QStringLiteral("Name"), m_name});

    static const QString existsSql =
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
    sqlite3_stmt* s = d->acquire(existsSql, existsSql);
    engine::bindValue(s, 1, QString::fromLatin1(kPropertyTable));
    const bool hasTable = sqlite3_step(s) == SQLITE_ROW;
    d->release(existsSql, s);
    if (!hasTable)
        return props; // a file without the property table has no user-defined properties

    static const QString sql = QStringLiteral("SELECT Name, Value FROM \"%1\" WHERE TableName=?1 COLLATE NOCASE "
                                              "ORDER BY rowid")
                                   .arg(QLatin1String(kPropertyTable));
    s = d->acquire(sql, sql);
    engine::bindValue(s, 1, m_name);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        Property p;
        p.Name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        switch (sqlite3_column_type(s, 1)) {
        case SQLITE_INTEGER:
            p.Value = QVariant(qlonglong(sqlite3_column_int64(s, 1)));
            break;
        case SQLITE_FLOAT:
            p.Value = QVariant(sqlite3_column_double(s, 1));
            break;
        case SQLITE_NULL:
            break;
        default:
            p.Value =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)), sqlite3_column_bytes(s, 1));
        }
        props.push_back(p);
    }
    d->release(sql, s);
    if (rc != SQLITE_DONE)
        engine::raiseRead(d->db, rc, sql);
    return props;
}

QStringList TableDef::FieldNames() const
{
    std::shared_ptr<Database> db;
    liveDb(m_db, db);
    Database::Impl* d = db->d.get();
    d->checkOpen();
    static const QString sql = QStringLiteral("SELECT name FROM pragma_table_info(?1) ORDER BY cid");
    sqlite3_stmt* s = d->acquire(sql, sql);
    engine::bindValue(s, 1, m_name);
    QStringList names;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    d->release(sql, s);
    if (rc != SQLITE_DONE)
        engine::raiseRead(d->db, rc, sql);
    return names;
}

bool TableDef::IsView() const
{
    std::shared_ptr<Database> db;
    liveDb(m_db, db);
    db->d->checkOpen();
    return db->d->isView(m_name);
}

int TableDef::PropertiesCount() const { return int(Properties().size()); }

Property TableDef::PropertiesItem(int index) const
{
    const auto props = Properties();
    if (index < 0 || index >= int(props.size()))
        raise(DbErr::NoSuchField, tr2(QStringLiteral("Item %1 not found in this collection."),
                                      QStringLiteral("Element %1 ist in dieser Auflistung nicht vorhanden."))
                                      .arg(index));
    return props[size_t(index)];
}

void TableDef::AppendTextField(const QString& name, int size, const QString& defaultValue, bool /*allowZeroLength*/)
{
    // SQLite keeps empty texts anyway, so "zero length allowed" needs nothing.
    std::shared_ptr<Database> db;
    liveDb(m_db, db);
    Database::Impl* d = db->d.get();
    d->checkWritable();
    const QString info = QStringLiteral("SELECT name FROM pragma_table_info(?1)");
    sqlite3_stmt* s = d->acquire(info, info);
    engine::bindValue(s, 1, m_name);
    bool exists = false;
    while (sqlite3_step(s) == SQLITE_ROW)
        if (QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))).compare(name, Qt::CaseInsensitive)
            == 0)
            exists = true;
    d->release(info, s);
    if (exists)
        raise(DbErr::FieldExists, tr2(QStringLiteral("The field \"%1\" already exists in table \"%2\"."),
                                      QStringLiteral("Das Feld \"%1\" ist in der Tabelle \"%2\" bereits vorhanden."))
                                      .arg(name, m_name));
    const QString sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 VARCHAR(%3) DEFAULT %4")
                            .arg(jetsql::quoteIdent(m_name), jetsql::quoteIdent(name))
                            .arg(size > 0 ? size : 255)
                            .arg(jetsql::quoteText(defaultValue));
    d->checkWritable();
    d->finishPendingReads();
    d->dropIdleStatements(); // prepared before the change, they would describe the old columns
    const int rc = sqlite3_exec(d->db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        d->raiseWrite(rc);
}

void Database::Impl::begin(const char* statement)
{
    if (inTransaction)
        raise(DbErr::WriteFailed, tr2(QStringLiteral("A transaction is already open on \"%1\"."),
                                      QStringLiteral("Auf \"%1\" ist bereits eine Transaktion offen."))
                                      .arg(path));
    const int rc = sqlite3_exec(db, statement, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        raiseWrite(rc);
    inTransaction = true;
}

void Database::BeginTrans()
{
    d->checkOpen();
    // Deferred: a transaction that only reads needs no write access.
    d->begin("BEGIN");
}

void Database::BeginWriteTrans()
{
    d->checkWritable();
    // A read still pending would hold on to the file as it was before the lock.
    if (!d->inTransaction)
        d->finishPendingReads();
    d->begin("BEGIN IMMEDIATE");
}

void Database::CommitTrans()
{
    d->checkOpen();
    if (!d->inTransaction)
        return;
    const int rc = sqlite3_exec(d->db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        d->raiseWrite(rc); // still open: the caller rolls back
    d->endTransaction(true);
}

void Database::Rollback() noexcept
{
    if (!d->open || !d->inTransaction)
        return;
    // Some failures (a full disk, say) end the transaction in SQLite already.
    if (!sqlite3_get_autocommit(d->db)) {
        d->releaseReads();
        sqlite3_exec(d->db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    d->endTransaction(false);
}
