#pragma once
// A dynaset: the rows of one SELECT statement, walked with FindFirst/FindNext
// on Jet conditions. Rows are fetched from SQLite as the walk reaches them, so
// RecordCount is the number of rows reached so far. Dynasets on one table can
// be changed (Edit/Update/Delete/AddNew); each Update or Delete is committed to
// the file at once, or at CommitTrans inside a transaction of the database.
// Dynasets on joins are read-only.
//
// Conditions: comparisons (=, <>, <, >, <=, >=, LIKE with * ? # [..]) on
// column names (plain, qualified "T.C", bracketed "[C]", "T.[C]"), joined by
// AND, OR, NOT and parentheses. Text comparison ignores case (umlauts too);
// a number compared with a text is compared by its text; Null never matches.
//
// Positions: a search without a match leaves the current row where it was.
// After Delete there is no current row (Fields raises NoCurrentRecord,
// AbsolutePosition is -1) while IsEOF stays false; the next FindNext/MoveNext
// starts with the row that followed the deleted one. Any Find or Move drops
// an Edit/AddNew that was not written with Update.
//
// No lock is kept between commands: whenever the event loop is about to wait
// for input, and before the engine writes, a dynaset on one table that has
// rows left stops reading and later reads on by running its statement again,
// taking only the rows it does not hold (so rows that other programs changed
// meanwhile come as they are now); other dynasets read their rows to the end.
// Inside a transaction, the dynasets that may read the table written read
// their rows to the end before the write, so that they keep the rows they
// would have had. Edit reads the current row from the file again, and Update
// writes only the fields that were set.
#include "engine/AppError.h"

#include <QString>
#include <QVariant>
#include <memory>

class Database;

class Recordset {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Positions on the first / next row after the current one that satisfies
    // the condition; NoMatch() tells when none does (the position then stays).
    void FindFirst(const QString& condition);
    void FindNext(const QString& condition);
    bool NoMatch() const;
    bool IsEOF() const; // no current row (empty set, or moved past the end)
    bool IsBOF() const;

    void MoveFirst();
    void MoveNext();
    void MoveLast();

    // Field values of the current row; a Null value is an invalid QVariant.
    QVariant Fields(const QString& name) const; // "Score", "Vokabular.ID", "[Attribut_Text]"
    QVariant Fields(int index) const;           // position 0 = first column
    QString FieldName(int index) const;
    int FieldCount() const;
    bool HasField(const QString& name) const;

    // Changing the current row (single-table dynasets only; others raise
    // NotUpdatable, a read-only database raises ReadOnly at Edit/AddNew/Delete).
    void Edit();
    void AddNew();
    void SetField(const QString& name, const QVariant& value);
    void SetField(int index, const QVariant& value);
    void Update(); // writes and commits; after AddNew the new row is current via LastModified
    void CancelUpdate();
    void Delete();             // removes the current row at once; FindNext continues after it
    void MoveToLastModified(); // Bookmark := LastModified

    long RecordCount() const; // rows reached so far (>= 1 when not empty)
    // All rows of the result: fetches the rows not reached yet; the position
    // and RecordCount stay as they are.
    long RowsInResult();
    long AbsolutePosition() const; // position of the current row from 0; -1 when none
    bool Updatable() const;

    void Close();
    bool isOpen() const;

    struct Impl;
    explicit Recordset(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> d;
    friend class Database;
};
