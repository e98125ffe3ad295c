#include "support/TestDatabase.h"

#include "database/Schema.h"

#include <QFile>
#include <sqlite3.h>
#include <stdexcept>

namespace {

void check(int rc, sqlite3* db, const QString& what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error((what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db))).toStdString());
}

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql, const QVariantList& args) : m_db(db)
    {
        const QByteArray text = sql.toUtf8();
        check(sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr), db, sql);
        for (int i = 0; i < args.size(); ++i)
            bind(i + 1, args[i]);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        check(rc, m_db, QString::fromUtf8(sqlite3_sql(m_stmt)));
        return rc == SQLITE_ROW;
    }
    QVariant column(int i) const
    {
        switch (sqlite3_column_type(m_stmt, i)) {
        case SQLITE_NULL:
            return QVariant();
        case SQLITE_INTEGER:
            return QVariant(qint64(sqlite3_column_int64(m_stmt, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_stmt, i));
        default:
            return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i)),
                                              sqlite3_column_bytes(m_stmt, i)));
        }
    }

private:
    void bind(int index, const QVariant& v)
    {
        int rc;
        if (!v.isValid() || v.isNull())
            rc = sqlite3_bind_null(m_stmt, index);
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Short
                 || v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::Bool)
            rc = sqlite3_bind_int64(m_stmt, index, v.toLongLong());
        else if (v.typeId() == QMetaType::Double)
            rc = sqlite3_bind_double(m_stmt, index, v.toDouble());
        else {
            const QByteArray t = v.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        check(rc, m_db, QStringLiteral("bind"));
    }

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace

TestDatabase::TestDatabase(const QString& path, const QString& lang1Prefix, const QString& lang2Prefix)
{
    QFile::remove(path);
    open(path);
    for (const QString& sql : Schema::createStatements(lang1Prefix, lang2Prefix))
        exec(sql);
}

TestDatabase::TestDatabase(const QString& path, ExistingTag)
{
    if (!QFile::exists(path))
        throw std::runtime_error(("no such file: " + path).toStdString());
    open(path);
}

TestDatabase::~TestDatabase() { close(); }

void TestDatabase::open(const QString& path)
{
    m_path = path;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    check(rc, m_db, QStringLiteral("open ") + path);
    sqlite3_busy_timeout(m_db, 2000);
}

void TestDatabase::close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

TestDatabase& TestDatabase::setProperty(const QString& name, const QVariant& value)
{
    exec(Schema::propertyInsertSql(), {QStringLiteral("Vokabular"), name, value});
    return *this;
}

TestDatabase& TestDatabase::removeProperty(const QString& name)
{
    exec(QStringLiteral("DELETE FROM %1 WHERE TableName = 'Vokabular' AND Name = ?1").arg(QLatin1String(Schema::kPropertyTable)),
         {name});
    return *this;
}

TestDatabase& TestDatabase::dropTable(const QString& table)
{
    exec(QStringLiteral("DROP TABLE \"%1\"").arg(table));
    return *this;
}

TestDatabase& TestDatabase::useTextIds()
{
    QString sql = scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'Vokabular'")).toString();
    sql.replace(QStringLiteral("ID INTEGER PRIMARY KEY AUTOINCREMENT"), QStringLiteral("ID TEXT"));
    dropTable(QStringLiteral("Vokabular"));
    exec(sql);
    return *this;
}

qint64 TestDatabase::addEntry(const Side& lang1, const Side& lang2, const QVariant& score)
{
    // The language columns are the ones at positions 1..8, whatever their names.
    QStringList names;
    {
        Statement st(m_db, QStringLiteral("SELECT name FROM pragma_table_info('Vokabular') ORDER BY cid"), {});
        while (st.step())
            names << st.column(0).toString();
    }
    QVariantMap cols;
    const QString values[8] = {lang1.prefix, lang1.main, lang1.suffix, lang1.comment,
                               lang2.prefix, lang2.main, lang2.suffix, lang2.comment};
    for (int i = 0; i < 8 && i + 1 < names.size(); ++i)
        cols.insert(names[i + 1], values[i]);
    cols.insert(QStringLiteral("Score"), score);
    return addEntryColumns(cols);
}

qint64 TestDatabase::addEntryColumns(const QVariantMap& columns)
{
    if (columns.isEmpty())
        return insert(QStringLiteral("INSERT INTO Vokabular DEFAULT VALUES"), {});
    QStringList names, marks;
    QVariantList args;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        names << QLatin1Char('"') + it.key() + QLatin1Char('"');
        args << it.value();
        marks << QStringLiteral("?%1").arg(args.size());
    }
    return insert(QStringLiteral("INSERT INTO Vokabular (%1) VALUES (%2)")
                      .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                  args);
}

qint64 TestDatabase::addArea(const QVariant& text)
{
    return insert(QStringLiteral("INSERT INTO Bereiche (Bereich_Text) VALUES (?1)"), {text});
}

void TestDatabase::linkArea(const QVariant& entryId, const QVariant& areaId)
{
    exec(QStringLiteral("INSERT INTO Bereiche_Zwischen (IDV, ID) VALUES (?1, ?2)"), {entryId, areaId});
}

qint64 TestDatabase::addGrammAttribute(const QVariant& text)
{
    return insert(QStringLiteral("INSERT INTO GrammatikalischeAttribute (Attribut_Text) VALUES (?1)"), {text});
}

void TestDatabase::linkGramm(const QVariant& entryId, const QVariant& attributeId)
{
    exec(QStringLiteral("INSERT INTO GrammatikalischeAttribute_Zwischen (IDV, ID) VALUES (?1, ?2)"),
         {entryId, attributeId});
}

qint64 TestDatabase::addFunktAttribute(const QVariant& text)
{
    return insert(QStringLiteral("INSERT INTO FunktionaleAttribute (Attribut_Text) VALUES (?1)"), {text});
}

void TestDatabase::linkFunkt(const QVariant& entryId, const QVariant& attributeId)
{
    exec(QStringLiteral("INSERT INTO FunktionaleAttribute_Zwischen (IDV, ID) VALUES (?1, ?2)"), {entryId, attributeId});
}

qint64 TestDatabase::addSynonym(const QVariant& entryId, int sprache, const Side& side)
{
    return insert(QStringLiteral("INSERT INTO Synonyme (VID, Sprache, Prefix, Main, Suffix, Kommentar) "
                                 "VALUES (?1, ?2, ?3, ?4, ?5, ?6)"),
                  {entryId, sprache, side.prefix, side.main, side.suffix, side.comment});
}

void TestDatabase::addReference(const QVariant& von, const QVariant& nach, const QString& typ, const QString& subTyp)
{
    exec(QStringLiteral("INSERT INTO Referenzen (von, nach, Typ, SubTyp) VALUES (?1, ?2, ?3, ?4)"),
         {von, nach, typ, subTyp});
}

void TestDatabase::begin() { exec(QStringLiteral("BEGIN")); }
void TestDatabase::commit() { exec(QStringLiteral("COMMIT")); }

void TestDatabase::exec(const QString& sql, const QVariantList& args)
{
    if (!m_db)
        throw std::runtime_error("TestDatabase is closed");
    Statement st(m_db, sql, args);
    while (st.step()) {
    }
}

qint64 TestDatabase::insert(const QString& sql, const QVariantList& args)
{
    exec(sql, args);
    return sqlite3_last_insert_rowid(m_db);
}

QVariant TestDatabase::scalar(const QString& sql, const QVariantList& args)
{
    if (!m_db)
        throw std::runtime_error("TestDatabase is closed");
    Statement st(m_db, sql, args);
    return st.step() ? st.column(0) : QVariant();
}

QStringList TestDatabase::texts(const QString& sql, const QVariantList& args)
{
    if (!m_db)
        throw std::runtime_error("TestDatabase is closed");
    Statement st(m_db, sql, args);
    QStringList out;
    while (st.step()) {
        const QVariant v = st.column(0);
        out << (v.isNull() ? QStringLiteral("<null>") : v.toString());
    }
    return out;
}

qint64 TestDatabase::count(const QString& table)
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)).toLongLong();
}
