#pragma once
// Builds small vocabulary database files for tests, with the tables of
// database/Schema.h, through the SQLite C API (not through the program's
// engine, so a test of the engine or the handler does not depend on itself).
//
//   QTemporaryDir dir;
//   TestDatabase db(dir.filePath("t.lxt"));                 // Lang1_/Lang2_ columns
//   db.setLanguages("Sprache1=Französisch@Sprache2=Deutsch@").setDBVersion(2);
//   qint64 hund = db.addEntry({{}, "chien"}, {"der", "Hund"}, 3);
//   qint64 tiere = db.addArea("Tiere");
//   db.linkArea(hund, tiere);
//   db.close();                      // optional; the destructor closes too
//   ... open dir.filePath("t.lxt") with the program ...
//   TestDatabase check(path, TestDatabase::OpenExisting);   // read it back:
//   check.texts("SELECT Bereich_Text FROM Bereiche ORDER BY ID");
//
// Column names: the language columns are <prefix>Prefix, <prefix>Main,
// <prefix>Suffix, <prefix>Kommentar with the prefixes given to the
// constructor ("Lang1_"/"Lang2_" by default; a file of DBVersion below 2
// names them by language, e.g. "Spanisch_"/"Deutsch_").
//
// Properties of table "Vokabular" ("Languages", "DBVersion") are kept in the
// property table of the schema; a new file has none. Every failure of SQLite
// throws std::runtime_error with SQLite's message, so a broken test setup
// fails loudly.
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3;

class TestDatabase {
public:
    enum ExistingTag { OpenExisting };

    // One language side: prefix, main part, suffix, comment.
    // Built with what a test names ({{}, main}): the parts not named stay empty.
    struct Side {
        Side(QString prefix = {}, QString main = {}, QString suffix = {}, QString comment = {})
            : prefix(std::move(prefix)), main(std::move(main)), suffix(std::move(suffix)), comment(std::move(comment))
        {}
        QString prefix, main, suffix, comment;
    };

    // Creates a new file at path (an existing file is replaced) with all tables.
    explicit TestDatabase(const QString& path, const QString& lang1Prefix = QStringLiteral("Lang1_"),
                          const QString& lang2Prefix = QStringLiteral("Lang2_"));
    // Opens an existing file (for checking what the program wrote).
    TestDatabase(const QString& path, ExistingTag);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    QString path() const { return m_path; }
    void close();

    // Table properties of "Vokabular". A null QVariant stores the property
    // with an SQL NULL value.
    TestDatabase& setProperty(const QString& name, const QVariant& value);
    TestDatabase& removeProperty(const QString& name);
    TestDatabase& setLanguages(const QString& value) { return setProperty(QStringLiteral("Languages"), value); }
    TestDatabase& setDBVersion(const QVariant& value) { return setProperty(QStringLiteral("DBVersion"), value); }
    // Removes a whole table (for files that lack one).
    TestDatabase& dropTable(const QString& table);
    // Makes "Vokabular" anew, empty, with a text ID column, as a foreign file
    // may have it; add its entries with addEntryColumns and an "ID".
    TestDatabase& useTextIds();

    // One entry; returns its ID. score may be null (an SQL NULL).
    qint64 addEntry(const Side& lang1, const Side& lang2, const QVariant& score = 1);
    // One entry with any columns by name (values may be null); returns its ID.
    qint64 addEntryColumns(const QVariantMap& columns);

    qint64 addArea(const QVariant& text); // Bereiche; returns ID
    void linkArea(const QVariant& entryId, const QVariant& areaId);
    qint64 addGrammAttribute(const QVariant& text); // GrammatikalischeAttribute; returns IDA
    void linkGramm(const QVariant& entryId, const QVariant& attributeId);
    qint64 addFunktAttribute(const QVariant& text); // FunktionaleAttribute; returns IDA
    void linkFunkt(const QVariant& entryId, const QVariant& attributeId);
    // Synonyme; returns the synonym's ID.
    qint64 addSynonym(const QVariant& entryId, int sprache, const Side& side);
    void addReference(const QVariant& von, const QVariant& nach, const QString& typ, const QString& subTyp = QString());

    // Many rows at once: wrap the inserts in begin()/commit() for speed.
    void begin();
    void commit();

    // Runs any statement; binds args to ?1, ?2, ...
    void exec(const QString& sql, const QVariantList& args = {});
    // First column of the first row (null QVariant when there is none).
    QVariant scalar(const QString& sql, const QVariantList& args = {});
    // First column of every row, as text (NULL gives "<null>").
    QStringList texts(const QString& sql, const QVariantList& args = {});
    qint64 count(const QString& table);

private:
    void open(const QString& path);
    qint64 insert(const QString& sql, const QVariantList& args);

    sqlite3* m_db = nullptr;
    QString m_path;
};
