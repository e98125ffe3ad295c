#pragma once
// The database engine of the program: vocabulary database files (".lxt") are
// SQLite files; this layer offers the operations the windows and the database
// handler use (open, table properties, dynasets on SELECT statements, find with
// conditions, edit, update, delete). See README.md, "Vocabulary database files".
//
// Errors are AppErrors with numbers 3000-3999 and a clear description.
#include "engine/AppError.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

class Recordset;
class TableDef;

// Error numbers raised by the engine.
namespace DbErr {
constexpr int FileNotFound = 3024; // the file does not exist
constexpr int NotADatabase = 3343; // unrecognised / corrupt file
constexpr int CannotOpen = 3051;   // cannot open (permissions, locked, ...)
constexpr int NoSuchTable = 3078;  // table or query not found
constexpr int SqlSyntax = 3075;    // statement the engine rejects
constexpr int BadCondition = 3077; // FindFirst/FindNext condition cannot be parsed
constexpr int NoSuchField = 3265;  // item not found in this collection
constexpr int NoCurrentRecord = 3021;
constexpr int ReadOnly = 3027;     // database or object is read-only
constexpr int NotUpdatable = 3326; // record set not updatable (joins)
constexpr int UpdateWithoutEdit = 3020;
constexpr int ObjectClosed = 3420; // object invalid or no longer set
constexpr int WriteFailed = 3197;  // the engine could not write the change
constexpr int FieldExists = 3191;  // a field of that name exists already
constexpr int FileReplaced = 3045; // the open file was deleted, moved or replaced
constexpr int Locked = 3260;       // another program held the file locked longer than the wait
} // namespace DbErr

struct Property {
    QString Name;
    QVariant Value;
};

// The table of a database file in which the engine keeps user-defined table
// properties (such as "Languages" and "DBVersion" of table "Vokabular"); a
// file without it has none.
inline constexpr const char* kPropertyTable = "LxtProperties";

class Database : public std::enable_shared_from_this<Database> {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // DBEngine.OpenDatabase(path, exclusive, readOnly). A missing file, a file
    // that is not an SQLite database (random bytes, text, empty) raises an error;
    // a missing file is never created.
    static std::shared_ptr<Database> OpenDatabase(const QString& path, bool exclusive = false, bool readOnly = false);

    // A dynaset on a SELECT statement written in the Jet dialect the windows use
    // (bracketed names, "SELECT DISTINCT * FROM a, b WHERE ..."). type is 2.
    std::shared_ptr<Recordset> OpenRecordset(const QString& sql, int type = 2);

    // The definition of one table; a missing table raises NoSuchTable.
    std::shared_ptr<TableDef> TableDefs(const QString& tableName);
    // True when the column is declared without a type (or as BLOB): it keeps
    // each value as it was stored, so the number 7 and the text '7' are two
    // values to it. False for a typed, missing or unknown column.
    bool KeepsValuesAsStored(const QString& tableName, const QString& column);
    void RefreshTableDefs();

    // One transaction at a time: the writes in between reach the file together
    // at CommitTrans, or not at all after Rollback, which also brings the rows
    // of the record sets back as they were. Rollback never raises. While a
    // transaction is open, the record sets keep reading as they are.
    void BeginTrans();
    // A transaction that holds the write lock from its start, so that what it
    // reads stays as read until its writes are committed: a value read to
    // compute a write is the value committed just before that write.
    void BeginWriteTrans();
    void CommitTrans();
    void Rollback() noexcept;

    // Closes the database and every record set still open on it.
    void Close();
    bool isOpen() const;
    QString Name() const; // the path it was opened with
    bool isReadOnly() const;

private:
    struct Impl;
    explicit Database(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
    friend class Recordset;
    friend class TableDef;
    friend class QueryDef;
};

class TableDef {
public:
    QString Name() const;
    // Properties in order: the built-in ones first ("Name"), then the
    // user-defined ones (e.g. "Languages", "DBVersion") in the order stored.
    int PropertiesCount() const;
    Property PropertiesItem(int index) const;
    std::vector<Property> Properties() const;
    // The names of its columns in stored order (position 0 first).
    QStringList FieldNames() const;
    // A view (a stored query) is found by TableDefs as well, but takes no changes.
    bool IsView() const;
    // Appends a Text column (Fields.Append of a new field).
    void AppendTextField(const QString& name, int size, const QString& defaultValue, bool allowZeroLength);

    TableDef(std::weak_ptr<Database> db, QString name);

private:
    std::weak_ptr<Database> m_db;
    QString m_name;
};
