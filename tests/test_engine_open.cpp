// Opening database files, table definitions and their properties, read-only
// files and closed objects.
#include "engine_testdb.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "support/AsNobody.h"
#include "support/TestFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

using enginetest::buildDb;
using enginetest::errorOf;
using enginetest::scalar;

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

TEST(EngineOpen, RejectsFilesThatAreNoDatabase)
{
    QTemporaryDir dir;
    QByteArray random(4096, '\0');
    QRandomGenerator gen(7);
    for (char& c : random)
        c = char(gen.bounded(256));
    QByteArray damaged = QByteArray("SQLite format 3", 16) + random;
    struct Case {
        const char* name;
        QByteArray bytes;
        int expected;
    } cases[] = {
        {"random.lxt", random, DbErr::NotADatabase},
        {"text.lxt", QByteArray("Sprache1=Deutsch@Sprache2=Englisch@\nnot a database\n"), DbErr::NotADatabase},
        {"empty.lxt", QByteArray(), DbErr::NotADatabase},
        {"short.lxt", QByteArray("SQLite"), DbErr::NotADatabase},
        {"damaged.lxt", damaged, DbErr::NotADatabase},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = TestFiles::writeFile(dir, QString::fromLatin1(c.name), c.bytes);
        QString desc;
        EXPECT_EQ(errorOf([&] { Database::OpenDatabase(path); }, &desc), c.expected);
        EXPECT_TRUE(desc.contains(path)) << desc.toStdString();
        // The file is left as it was (an empty file is not turned into a database).
        EXPECT_EQ(QFileInfo(path).size(), c.bytes.size());
    }
}

TEST(EngineOpen, MissingFileIsNotCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fehlt.lxt"));
    EXPECT_EQ(errorOf([&] { Database::OpenDatabase(path); }), DbErr::FileNotFound);
    EXPECT_EQ(errorOf([&] { Database::OpenDatabase(path, false, true); }), DbErr::FileNotFound);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(errorOf([&] { Database::OpenDatabase(QString()); }), DbErr::FileNotFound);
    EXPECT_EQ(errorOf([&] { Database::OpenDatabase(dir.path()); }), DbErr::CannotOpen);
}

TEST(EngineOpen, TablePropertiesInStoredOrder)
{
    QTemporaryDir dir;
    auto db = Database::OpenDatabase(buildDb(dir));
    auto td = db->TableDefs(QStringLiteral("vokabular")); // names are found ignoring case
    EXPECT_EQ(td->Name(), QStringLiteral("Vokabular"));
    ASSERT_EQ(td->PropertiesCount(), 3);
    EXPECT_EQ(td->PropertiesItem(0).Name, QStringLiteral("Name"));
    EXPECT_EQ(td->PropertiesItem(0).Value.toString(), QStringLiteral("Vokabular"));
    EXPECT_EQ(td->PropertiesItem(1).Name, QStringLiteral("Languages"));
    EXPECT_EQ(td->PropertiesItem(1).Value.toString(), QStringLiteral("Sprache1=Deutsch@Sprache2=Englisch@"));
    EXPECT_EQ(td->PropertiesItem(2).Name, QStringLiteral("DBVersion"));
    EXPECT_EQ(td->PropertiesItem(2).Value.toInt(), 2);
    EXPECT_EQ(errorOf([&] { td->PropertiesItem(3); }), DbErr::NoSuchField);
    // Another table's properties are its own.
    EXPECT_EQ(db->TableDefs(QStringLiteral("Bereiche"))->PropertiesCount(), 2);
    EXPECT_EQ(errorOf([&] { db->TableDefs(QStringLiteral("Vokabeln")); }), DbErr::NoSuchTable);
}

TEST(EngineOpen, FileWithoutPropertyTableHasOnlyTheName)
{
    QTemporaryDir dir;
    auto db = Database::OpenDatabase(buildDb(dir, QStringLiteral("plain.lxt"), false));
    auto props = db->TableDefs(QStringLiteral("Vokabular"))->Properties();
    ASSERT_EQ(props.size(), 1u);
    EXPECT_EQ(props[0].Name, QStringLiteral("Name"));
}

TEST(EngineOpen, AppendTextFieldAddsColumnOnce)
{
    QTemporaryDir dir;
    const QString path = buildDb(dir);
    auto db = Database::OpenDatabase(path);
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2); // a pending read
    auto td = db->TableDefs(QStringLiteral("Vokabular"));
    td->AppendTextField(QStringLiteral("Notiz"), 200, QStringLiteral(""), true);
    db->RefreshTableDefs();
    EXPECT_EQ(enginetest::scalar(path, QStringLiteral("SELECT Notiz FROM Vokabular WHERE ID=12")), QString());
    auto rs2 = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
    EXPECT_TRUE(rs2->HasField(QStringLiteral("Notiz")));
    EXPECT_EQ(rs2->Fields(QStringLiteral("Notiz")).toString(), QString());
    // The record set opened before keeps working with its columns.
    rs->FindFirst(QStringLiteral("ID=12"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Lang1_Main")).toString(), QStringLiteral("zwölf"));

    EXPECT_EQ(errorOf([&] { td->AppendTextField(QStringLiteral("zusatzinfo"), 200, QString(), true); }),
              DbErr::FieldExists);
}

TEST(EngineOpen, ReadOnlyRefusesEveryWriteAndLeavesFileUnchanged)
{
    QTemporaryDir dir;
    const QString path = buildDb(dir);
    const QByteArray before = fileHash(path);
    auto check = [&](const std::shared_ptr<Database>& db) {
        EXPECT_TRUE(db->isReadOnly());
        auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
        rs->FindFirst(QStringLiteral("ID LIKE '12'"));
        ASSERT_FALSE(rs->NoMatch());
        EXPECT_EQ(rs->Fields(QStringLiteral("Score")).toInt(), 3);
        QString desc;
        EXPECT_EQ(errorOf([&] { rs->Edit(); }, &desc), DbErr::ReadOnly);
        EXPECT_TRUE(desc.contains(QStringLiteral("schreibgeschützt"))) << desc.toStdString();
        EXPECT_EQ(errorOf([&] { rs->Delete(); }), DbErr::ReadOnly);
        EXPECT_EQ(errorOf([&] { rs->AddNew(); }), DbErr::ReadOnly);
        EXPECT_EQ(errorOf([&] { rs->Update(); }), DbErr::UpdateWithoutEdit);
        EXPECT_EQ(errorOf([&] {
                      db->TableDefs(QStringLiteral("Vokabular"))->AppendTextField(QStringLiteral("Neu"), 10, QString(), true);
                  }),
                  DbErr::ReadOnly);
        EXPECT_EQ(rs->Fields(QStringLiteral("Score")).toInt(), 3);
        db->Close();
    };
    check(Database::OpenDatabase(path, false, true));
    if (getuid() != 0) { // root may write whatever the mode says
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        check(Database::OpenDatabase(path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    EXPECT_EQ(fileHash(path), before);
    EXPECT_EQ(enginetest::scalar(path, QStringLiteral("SELECT Score FROM Vokabular WHERE ID=12")), QStringLiteral("3"));
}

TEST(EngineOpen, ClosedObjectsRefuseUse)
{
    QTemporaryDir dir;
    auto db = Database::OpenDatabase(buildDb(dir));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
    auto other = db->OpenRecordset(QStringLiteral("SELECT * FROM Bereiche"), 2);
    auto td = db->TableDefs(QStringLiteral("Vokabular"));
    rs->Close();
    EXPECT_FALSE(rs->isOpen());
    QString desc;
    EXPECT_EQ(errorOf([&] { rs->Fields(0); }, &desc), DbErr::ObjectClosed);
    EXPECT_TRUE(desc.contains(QStringLiteral("nicht mehr festgelegt")));
    EXPECT_EQ(errorOf([&] { rs->FindFirst(QStringLiteral("ID=1")); }), DbErr::ObjectClosed);
    EXPECT_EQ(errorOf([&] { rs->RecordCount(); }), DbErr::ObjectClosed);
    EXPECT_EQ(errorOf([&] { rs->Close(); }), DbErr::ObjectClosed);

    // Closing the database closes the record sets still open on it.
    EXPECT_TRUE(other->isOpen());
    db->Close();
    EXPECT_FALSE(db->isOpen());
    EXPECT_FALSE(other->isOpen());
    EXPECT_EQ(errorOf([&] { other->Fields(QStringLiteral("Bereich_Text")); }), DbErr::ObjectClosed);
    EXPECT_EQ(errorOf([&] { other->IsEOF(); }), DbErr::ObjectClosed);
    EXPECT_EQ(errorOf([&] { db->OpenRecordset(QStringLiteral("SELECT * FROM Bereiche"), 2); }), DbErr::ObjectClosed);
    EXPECT_EQ(errorOf([&] { db->TableDefs(QStringLiteral("Vokabular")); }), DbErr::ObjectClosed);
    EXPECT_EQ(errorOf([&] { td->PropertiesCount(); }), DbErr::ObjectClosed);
    EXPECT_EQ(errorOf([&] { db->Close(); }), DbErr::ObjectClosed);
}

// A table damaged inside an intact file shows itself only when its rows are
// read: the box names the file and says it is damaged, in German.
TEST(EngineOpen, DamagedTableFoundWhileReadingNamesTheFile)
{
    QTemporaryDir dir;
    const QString path = buildDb(dir);
    const int page = scalar(path, QStringLiteral("PRAGMA page_size")).toInt();
    const int root = scalar(path, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name='Vokabular'")).toInt();
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(qint64(root - 1) * page);
        f.write(QByteArray(page, '\x5a'));
    }
    auto db = Database::OpenDatabase(path);
    QString desc;
    EXPECT_EQ(errorOf([&] { db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2)->MoveLast(); }, &desc),
              DbErr::NotADatabase);
    EXPECT_TRUE(desc.contains(QStringLiteral("Die Datenbankdatei \"") + path + QStringLiteral("\" ist beschädigt")))
        << desc.toStdString();
}

// A file the user may not read: the box names it and says why in German.
TEST(EngineOpen, UnreadableFileIsNamedWithTheReason)
{
    QTemporaryDir dir;
    const QString path = buildDb(dir);
    QFile::setPermissions(path, QFileDevice::Permissions());
    AsNobody::openPath(dir.path());
    AsNobody::run([&] {
        QString desc;
        EXPECT_EQ(errorOf([&] { Database::OpenDatabase(path); }, &desc), DbErr::CannotOpen);
        EXPECT_TRUE(desc.contains(QStringLiteral("\"") + path
                                  + QStringLiteral("\" kann nicht geöffnet werden: keine "
                                                   "Leseberechtigung")))
            << desc.toStdString();
    });
}

// The open file deleted, moved or replaced by another program: the change
// that cannot be written says so instead of calling the file read-only.
TEST(EngineOpen, ChangeToAFileDeletedMovedOrReplacedNamesTheCause)
{
    const std::function<void(const QString&, const QString&)> ways[] = {
        [](const QString& path, const QString&) { QFile::remove(path); },
        [](const QString& path, const QString&) { QFile::rename(path, path + QStringLiteral(".alt")); },
        [](const QString& path, const QString& other) {
            ::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData());
        },
        [](const QString& path, const QString& other) {
            QFile::remove(path);
            QFile::copy(other, path);
        },
    };
    for (const auto& way : ways) {
        QTemporaryDir dir;
        const QString path = buildDb(dir);
        const QString other = buildDb(dir, QStringLiteral("other.lxt"));
        auto db = Database::OpenDatabase(path);
        auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
        way(path, other);
        rs->Edit();
        rs->SetField(QStringLiteral("Score"), 1);
        QString desc;
        EXPECT_EQ(errorOf([&] { rs->Update(); }, &desc), DbErr::FileReplaced);
        EXPECT_TRUE(desc.contains(QStringLiteral("ist nicht mehr die Datei, die geöffnet wurde"))) << desc.toStdString();
    }
}
