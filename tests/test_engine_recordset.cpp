// Dynasets: statements as the windows write them, joins with qualified names,
// fields, changes committed to the file at once, and a writer killed mid-work.
#include "engine_testdb.h"
#include "engine/Database.h"
#include "engine/QueryDef.h"
#include "engine/Recordset.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "selection/Form2.h"
#include "support/FakeMessageService.h"
#include "support/KillLoop.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/Trainer.h"
#include "support/OtherProgram.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <random>
#include <gtest/gtest.h>

using enginetest::buildDb;
using enginetest::errorOf;
using enginetest::scalar;

namespace {

std::vector<qlonglong> sortedIds(Recordset& rs, const QString& cond, int column = 0)
{
    std::vector<qlonglong> ids;
    rs.FindFirst(cond);
    while (!rs.NoMatch() && !rs.IsEOF()) {
        ids.push_back(rs.Fields(column).toLongLong());
        rs.FindNext(cond);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QStringList texts(Recordset& rs, const QString& cond, const QString& field)
{
    QStringList out;
    rs.FindFirst(cond);
    while (!rs.NoMatch() && !rs.IsEOF()) {
        out << rs.Fields(field).toString();
        rs.FindNext(cond);
    }
    out.sort();
    return out;
}

class EngineRecordset : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = buildDb(dir);
        db = Database::OpenDatabase(path);
    }
    QTemporaryDir dir;
    QString path;
    std::shared_ptr<Database> db;
};

} // namespace

TEST_F(EngineRecordset, AreaJoinWithQualifiedNames)
{
    auto rs = db->OpenRecordset(QStringLiteral(
        "SELECT DISTINCT * FROM Vokabular, Bereiche, Bereiche_Zwischen WHERE (Bereich_Text='Essen' OR "
        "Bereich_Text='Reisen') AND Bereiche.ID=Bereiche_Zwischen.ID AND Bereiche_Zwischen.IDV=Vokabular.ID"));
    EXPECT_FALSE(rs->Updatable());
    EXPECT_EQ(sortedIds(*rs, QStringLiteral("Vokabular.ID LIKE '*'")), (std::vector<qlonglong>{1, 1, 2, 120}));
    rs->FindFirst(QStringLiteral("Vokabular.ID = 2"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Fields(0).toInt(), 2);
    EXPECT_EQ(rs->Fields(QStringLiteral("ID")).toInt(), 2); // a plain name takes the first such column
    EXPECT_EQ(rs->Fields(QStringLiteral("Vokabular.ID")).toInt(), 2);
    EXPECT_EQ(rs->Fields(QStringLiteral("Bereiche.ID")).toInt(), 2);
    EXPECT_EQ(rs->Fields(QStringLiteral("Bereiche_Zwischen.IDV")).toInt(), 2);
    EXPECT_EQ(rs->Fields(QStringLiteral("[Bereich_Text]")).toString(), QStringLiteral("Reisen"));
    EXPECT_EQ(rs->FieldName(0), QStringLiteral("ID"));
    // Conditions on the other table's columns.
    EXPECT_EQ(sortedIds(*rs, QStringLiteral("Bereiche.ID = 1")), (std::vector<qlonglong>{1, 120}));
    EXPECT_EQ(errorOf([&] { rs->Edit(); }), DbErr::NotUpdatable);
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), DbErr::NotUpdatable);
    EXPECT_EQ(errorOf([&] { rs->AddNew(); }), DbErr::NotUpdatable);
}

TEST_F(EngineRecordset, BracketedAttributeJoin)
{
    auto rs = db->OpenRecordset(QStringLiteral(
        "SELECT DISTINCT * FROM Vokabular, GrammatikalischeAttribute, [GrammatikalischeAttribute_Zwischen] WHERE "
        "(GrammatikalischeAttribute.[Attribut_Text]='Plural') AND "
        "GrammatikalischeAttribute.IDA=GrammatikalischeAttribute_Zwischen.ID AND "
        "GrammatikalischeAttribute_Zwischen.IDV=Vokabular.ID"));
    EXPECT_EQ(sortedIds(*rs, QStringLiteral("Vokabular.ID LIKE '*'")), (std::vector<qlonglong>{1, 12}));
    EXPECT_EQ(texts(*rs, QStringLiteral("GrammatikalischeAttribute.[Attribut_Text] LIKE 'plu*'"),
                    QStringLiteral("GrammatikalischeAttribute.[Attribut_Text]")),
              (QStringList{QStringLiteral("Plural"), QStringLiteral("Plural")}));
}

TEST_F(EngineRecordset, PerEntryStatementsShareOnePreparedStatement)
{
    auto areas = [&](int vid) {
        const QString id = QString::number(vid);
        return db->OpenRecordset(QStringLiteral("SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, "
                                                "Bereiche WHERE Bereiche_Zwischen.IDV=")
                                 + id + QStringLiteral(" AND Bereiche_Zwischen.ID=Bereiche.ID"));
    };
    // Two open at once, both still reading: each keeps its own values.
    auto a = areas(1);
    auto b = areas(12);
    EXPECT_EQ(a->FieldName(1), QStringLiteral("IDV"));
    EXPECT_EQ(texts(*b, QStringLiteral("Bereiche_Zwischen.IDV=12"), QStringLiteral("Bereich_Text")),
              QStringList{QStringLiteral("Zahlen")});
    EXPECT_EQ(texts(*a, QStringLiteral("Bereiche_Zwischen.IDV=1"), QStringLiteral("Bereich_Text")),
              (QStringList{QStringLiteral("Essen"), QStringLiteral("Reisen")}));
    a->Close();
    b->Close();
    for (int round = 0; round < 3; ++round) {
        auto c = areas(120);
        EXPECT_EQ(texts(*c, QStringLiteral("Bereiche_Zwischen.IDV=120"), QStringLiteral("Bereich_Text")),
                  QStringList{QStringLiteral("Essen")});
        auto e = areas(3);
        EXPECT_TRUE(e->IsEOF());
        c->Close();
        e->Close();
    }
    auto g = db->OpenRecordset(QStringLiteral("SELECT Attribut_Text FROM GrammatikalischeAttribute_Zwischen, "
                                              "GrammatikalischeAttribute WHERE GrammatikalischeAttribute_Zwischen.IDV=12"
                                              " AND GrammatikalischeAttribute_Zwischen.ID=GrammatikalischeAttribute.IDA"));
    EXPECT_EQ(texts(*g, QStringLiteral("Attribut_Text LIKE '*'"), QStringLiteral("Attribut_Text")),
              (QStringList{QStringLiteral("Plural"), QStringLiteral("unregelmäßig")}));
}

// A statement run once per entry with the entry's ID as its parameter: the
// rows of a dynaset with the ID written in, in the same order; and no read
// stays open after a run, even one that the caller's code breaks off.
TEST_F(EngineRecordset, QueryDefRunsLikeADynasetAndLeavesNoReadOpen)
{
    const QString select = QStringLiteral("SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, Bereiche "
                                          "WHERE Bereiche_Zwischen.IDV=%1 AND Bereiche_Zwischen.ID=Bereiche.ID");
    QueryDef query(db, select.arg(QStringLiteral("[vid]")), {QStringLiteral("vid")});
    auto run = [&](const QVariant& vid, const QString& condition) {
        query.setParameter(0, vid);
        QStringList out;
        query.findAll(condition,
                      [&](const QueryRow& row) { out << row.Fields(QStringLiteral("Bereich_Text")).toString(); });
        return out;
    };
    auto walk = [&](const QString& written, const QString& condition) {
        auto rs = db->OpenRecordset(select.arg(written));
        QStringList out;
        for (rs->FindFirst(condition); !rs->NoMatch(); rs->FindNext(condition))
            out << rs->Fields(QStringLiteral("Bereich_Text")).toString();
        return out;
    };
    const std::pair<QVariant, QString> ids[] = {{qlonglong(1), QStringLiteral("1")},
                                                {qlonglong(120), QStringLiteral("120")},
                                                {qlonglong(3), QStringLiteral("3")},
                                                {QStringLiteral("12"), QStringLiteral("'12'")}};
    for (const auto& [value, written] : ids) {
        SCOPED_TRACE(written.toStdString());
        for (const QString& condition :
             {QStringLiteral("Bereiche_Zwischen.IDV=%1"), QStringLiteral("Bereich_Text LIKE 'R*'")})
            EXPECT_EQ(run(value, condition.arg(QStringLiteral("[vid]"))), walk(written, condition.arg(written)));
    }
    EXPECT_EQ(run(qlonglong(1), QStringLiteral("Bereiche_Zwischen.IDV=[vid]")),
              (QStringList{QStringLiteral("Essen"), QStringLiteral("Reisen")}));

    query.setParameter(0, qlonglong(1));
    EXPECT_THROW(query.findAll(QStringLiteral("IDV=[vid]"),
                               [](const QueryRow&) { throw AppError(1, QStringLiteral("x")); }),
                 AppError);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "UPDATE Bereiche SET Bereich_Text='Speisen' WHERE ID=1", nullptr, nullptr, nullptr),
              SQLITE_OK)
        << "the file is still read-locked";
    sqlite3_close(other);
    EXPECT_EQ(run(qlonglong(1), QStringLiteral("IDV=[vid]")),
              (QStringList{QStringLiteral("Speisen"), QStringLiteral("Reisen")}));

    db->Close();
    EXPECT_EQ(errorOf([&] { run(qlonglong(1), QStringLiteral("IDV=[vid]")); }), DbErr::ObjectClosed);
}

TEST_F(EngineRecordset, StatementsTheEngineRejects)
{
    struct Case {
        const char* sql;
        int expected;
    } cases[] = {
        {"SELECT * FROM Fehlt", DbErr::NoSuchTable},
        {"SELECT DISTINCT * FROM Vokabular, Bereiche, Bereiche_Zwischen WHERE (Bereich_Text='Kinder's') AND "
         "Bereiche.ID=Bereiche_Zwischen.ID",
         DbErr::SqlSyntax},
        {"SELECT * FROM Vokabular WHERE", DbErr::SqlSyntax},
        {"SELECT Unbekannt FROM Vokabular", DbErr::SqlSyntax},
        {"DELETE FROM Vokabular", DbErr::SqlSyntax},
        {"SELECT * FROM [Vokabular", DbErr::SqlSyntax},
        {"SELECT * FROM Vokabular; DELETE FROM Vokabular", DbErr::SqlSyntax},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        QString desc;
        EXPECT_EQ(errorOf([&] { db->OpenRecordset(QString::fromUtf8(c.sql)); }, &desc), c.expected);
        if (c.expected == DbErr::NoSuchTable) {
            EXPECT_TRUE(desc.contains(QStringLiteral("Fehlt"))) << desc.toStdString();
        }
        // Only a statement that is no SELECT is told it is none.
        EXPECT_EQ(desc.startsWith(QStringLiteral("Nur SELECT")), QByteArray(c.sql).startsWith("DELETE"))
            << desc.toStdString();
    }
    // A long statement is repeated only in part.
    QString desc;
    const QString longSql = QStringLiteral("SELECT * FROM Vokabular WHERE Lang1_Main = '") + QString(5000, u'x');
    EXPECT_EQ(errorOf([&] { db->OpenRecordset(longSql); }, &desc), DbErr::SqlSyntax);
    EXPECT_LT(desc.size(), 400) << desc.toStdString();
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT count(*) FROM Vokabular")), QStringLiteral("6"));
    // Doubled quotes are one quote.
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular WHERE Lang1_Main='Kinder''s'"));
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields(0).toInt(), 2);
}

TEST_F(EngineRecordset, FieldValuesByNameAndPosition)
{
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    rs->FindFirst(QStringLiteral("ID LIKE '3'"));
    EXPECT_EQ(rs->FieldName(0), QStringLiteral("ID"));
    EXPECT_EQ(rs->FieldCount(), 16);
    EXPECT_EQ(rs->Fields(0).typeId(), QMetaType::LongLong);
    EXPECT_EQ(rs->Fields(QStringLiteral("lang1_main")).toString(), QStringLiteral("Straße"));
    EXPECT_EQ(rs->Fields(QStringLiteral("[Lang2_Main]")).toString(), QStringLiteral("street"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Lang2_Main")).typeId(), QMetaType::QString);
    EXPECT_FALSE(rs->Fields(QStringLiteral("Score")).isValid()); // Null
    EXPECT_FALSE(rs->HasField(QStringLiteral("Fehlt")));
    EXPECT_EQ(errorOf([&] { rs->Fields(QStringLiteral("Fehlt")); }), DbErr::NoSuchField);
    EXPECT_EQ(errorOf([&] { rs->Fields(16); }), DbErr::NoSuchField);
    rs->MoveLast();
    EXPECT_EQ(rs->Fields(0).toInt(), 120);
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_EQ(errorOf([&] { rs->Fields(0); }), DbErr::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), DbErr::NoCurrentRecord);
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields(0).toInt(), 1);
}

TEST_F(EngineRecordset, UpdateIsCommittedAtOnceWhileOtherSetsAreReading)
{
    // As after opening: three dynasets on the table, each with only its first row read.
    auto rsKopieren = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    auto rsVokabular = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    auto rsSuche = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    rsVokabular->FindFirst(QStringLiteral("ID LIKE '12'"));
    rsVokabular->Edit();
    rsVokabular->SetField(QStringLiteral("Score"), QVariant(short(4)));
    EXPECT_EQ(rsVokabular->Fields(QStringLiteral("Score")).toInt(), 4); // the edited value while editing
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT Score FROM Vokabular WHERE ID=12")), QStringLiteral("3"));
    rsVokabular->Update();
    EXPECT_EQ(rsVokabular->Fields(QStringLiteral("Score")).toInt(), 4);
    // Another connection sees the change at once.
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT Score FROM Vokabular WHERE ID=12")), QStringLiteral("4"));
    // The other sets go on walking where they were.
    EXPECT_EQ(rsKopieren->Fields(0).toInt(), 1);
    rsKopieren->FindNext(QStringLiteral("Vokabular.ID LIKE '*'"));
    EXPECT_EQ(rsKopieren->Fields(0).toInt(), 2);

    // A text with an apostrophe goes in unchanged; CancelUpdate writes nothing.
    rsVokabular->Edit();
    rsVokabular->SetField(QStringLiteral("Lang1_Main"), QStringLiteral("Kinder's Buch"));
    rsVokabular->Update();
    rsVokabular->Edit();
    rsVokabular->SetField(QStringLiteral("Score"), 1);
    rsVokabular->CancelUpdate();
    EXPECT_EQ(rsVokabular->Fields(QStringLiteral("Score")).toInt(), 4);
    db->Close();

    auto again = Database::OpenDatabase(path);
    auto rs = again->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    rs->FindFirst(QStringLiteral("ID LIKE '12'"));
    EXPECT_EQ(rs->Fields(QStringLiteral("Score")).toInt(), 4);
    EXPECT_EQ(rs->Fields(QStringLiteral("Lang1_Main")).toString(), QStringLiteral("Kinder's Buch"));
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT count(*) FROM Vokabular")), QStringLiteral("6"));
}

// Between commands the engine holds no lock on the file, however far its
// record sets were walked; they read on afterwards, each row once, and an
// Update writes only the fields it was given.
TEST_F(EngineRecordset, WaitingHoldsNoLockAndSetsReadOnAfterAnotherProgramWrote)
{
    auto all = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    auto walked = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    auto join = db->OpenRecordset(
        QStringLiteral("SELECT Bereich_Text FROM Bereiche_Zwischen, Bereiche WHERE Bereiche_Zwischen.ID=Bereiche.ID"));
    walked->FindFirst(QStringLiteral("ID LIKE '2'"));
    OtherProgram::waitForUser();
    EXPECT_EQ(OtherProgram::write(
                  path, QStringLiteral("UPDATE Vokabular SET Lang2_Main='kids', Score=1 WHERE ID=2;"
                                       "UPDATE Vokabular SET Lang2_Main='twelve!' WHERE ID=12; DELETE FROM Vokabular WHERE ID=4;"
                                       "INSERT INTO Vokabular (ID, Lang1_Main, Score) VALUES (200, 'neu', 2)"))
                  .toStdString(),
              "");

    const QString any = QStringLiteral("ID LIKE '*'");
    QList<qlonglong> ids;
    for (walked->FindNext(any); !walked->NoMatch(); walked->FindNext(any))
        ids << walked->Fields(0).toLongLong();
    EXPECT_EQ(ids, QList<qlonglong>({3, 12, 120, 200}));
    EXPECT_EQ(walked->RecordCount(), 6);
    walked->FindFirst(QStringLiteral("ID = 12"));
    EXPECT_EQ(walked->Fields(QStringLiteral("Lang2_Main")).toString(), QStringLiteral("twelve!"));
    EXPECT_EQ(all->RowsInResult(), 6);
    EXPECT_EQ(join->RowsInResult(), 5);

    // The score stored now is what Edit offers; the other program's text stays.
    walked->FindFirst(QStringLiteral("ID LIKE '2'"));
    walked->Edit();
    EXPECT_EQ(walked->Fields(QStringLiteral("Score")).toInt(), 1);
    walked->SetField(QStringLiteral("Score"), 6);
    walked->Update();
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT Lang2_Main || Score FROM Vokabular WHERE ID=2")),
              QStringLiteral("kids6"));
    OtherProgram::waitForUser();
    EXPECT_EQ(OtherProgram::write(path, QStringLiteral("UPDATE Vokabular SET Score=Score WHERE ID=1")).toStdString(), "");
}

TEST_F(EngineRecordset, EditRulesAreEnforced)
{
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular WHERE Score > 1"));
    EXPECT_TRUE(rs->Updatable());
    EXPECT_EQ(errorOf([&] { rs->Update(); }), DbErr::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { rs->SetField(QStringLiteral("Score"), 3); }), DbErr::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { rs->CancelUpdate(); }), DbErr::UpdateWithoutEdit);
    rs->Edit();
    EXPECT_EQ(errorOf([&] { rs->SetField(QStringLiteral("Fehlt"), 3); }), DbErr::NoSuchField);
    rs->Update(); // nothing changed, nothing written
    EXPECT_EQ(errorOf([&] { rs->Update(); }), DbErr::UpdateWithoutEdit);

    // An edit left behind by a move is dropped, never written into the next row.
    rs->FindFirst(QStringLiteral("ID = 1"));
    rs->Edit();
    rs->SetField(QStringLiteral("Score"), 6);
    rs->FindNext(QStringLiteral("ID LIKE '*'"));
    EXPECT_EQ(rs->Fields(0).toInt(), 2);
    EXPECT_EQ(errorOf([&] { rs->Update(); }), DbErr::UpdateWithoutEdit);
    rs->Edit();
    rs->SetField(QStringLiteral("Score"), 6);
    rs->MoveNext();
    EXPECT_EQ(errorOf([&] { rs->Update(); }), DbErr::UpdateWithoutEdit);
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT group_concat(Score) FROM Vokabular")), QStringLiteral("2,5,6,3,1"));
}

TEST_F(EngineRecordset, DeleteThenFindNextContinuesWithTheFollowingRow)
{
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Bereiche"));
    auto links = db->OpenRecordset(QStringLiteral("SELECT * FROM Bereiche_Zwischen"));
    const QString all = QStringLiteral("ID LIKE '*'");
    QStringList seen;
    rs->FindFirst(all);
    while (!rs->IsEOF() && !rs->NoMatch()) {
        seen << rs->Fields(1).toString();
        if (rs->Fields(1).toString() == QLatin1String("Reisen")) {
            rs->Delete();
            EXPECT_EQ(errorOf([&] { rs->Fields(0); }), DbErr::NoCurrentRecord);
            EXPECT_EQ(rs->AbsolutePosition(), -1);
        }
        rs->FindNext(all);
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Essen"), QStringLiteral("Reisen"), QStringLiteral("Zahlen")}));
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT count(*) FROM Bereiche WHERE ID=2")), QStringLiteral("0"));
    EXPECT_EQ(texts(*rs, all, QStringLiteral("Bereich_Text")),
              (QStringList{QStringLiteral("Essen"), QStringLiteral("Zahlen")}));
    // Moves and positions step over the deleted row.
    rs->MoveFirst();
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(1).toString(), QStringLiteral("Zahlen"));
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->MoveLast();
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_EQ(rs->RecordCount(), 2);
    // Deleting the last row: FindNext finds nothing.
    rs->FindFirst(QStringLiteral("Bereich_Text = 'Zahlen'"));
    rs->Delete();
    rs->FindNext(all);
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->RecordCount(), 1);
    // Link rows are untouched; rows deleted through a set that was mid-walk.
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT count(*) FROM Bereiche_Zwischen")), QStringLiteral("5"));
    links->FindFirst(QStringLiteral("IDV LIKE '1'"));
    links->Delete();
    links->FindNext(QStringLiteral("IDV LIKE '1'"));
    ASSERT_FALSE(links->NoMatch());
    links->Delete();
    links->FindNext(QStringLiteral("IDV LIKE '1'"));
    EXPECT_TRUE(links->NoMatch());
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT count(*) FROM Bereiche_Zwischen WHERE IDV=1")), QStringLiteral("0"));
}

// Writes inside a transaction reach the file together, also while another
// set is still reading; a rollback restores the file and the set's rows.
TEST_F(EngineRecordset, TransactionCommitsTogetherOrRollsBackFileAndRows)
{
    auto reading = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    reading->FindFirst(QStringLiteral("ID LIKE '*'"));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Bereiche"));
    const QString all = QStringLiteral("ID LIKE '*'");
    auto deleteTwo = [&] {
        db->BeginTrans();
        for (const char* name : {"Reisen", "Zahlen"}) {
            rs->FindFirst(QStringLiteral("Bereich_Text = '%1'").arg(QLatin1String(name)));
            ASSERT_FALSE(rs->NoMatch()) << name;
            rs->Delete();
        }
        EXPECT_EQ(rs->RecordCount(), 1);
    };
    deleteTwo();
    db->Rollback();
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT count(*) FROM Bereiche")), QStringLiteral("3"));
    EXPECT_EQ(texts(*rs, all, QStringLiteral("Bereich_Text")),
              (QStringList{QStringLiteral("Essen"), QStringLiteral("Reisen"), QStringLiteral("Zahlen")}));
    EXPECT_EQ(rs->RecordCount(), 3);

    deleteTwo();
    db->CommitTrans();
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT group_concat(Bereich_Text) FROM Bereiche")), QStringLiteral("Essen"));
    EXPECT_EQ(long(sortedIds(*reading, all).size()),
              scalar(path, QStringLiteral("SELECT count(*) FROM Vokabular")).toLong());
}

TEST_F(EngineRecordset, AddNewAppendsAReachableRow)
{
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Bereiche"));
    rs->FindFirst(QStringLiteral("ID = 2"));
    rs->AddNew();
    EXPECT_FALSE(rs->Fields(QStringLiteral("Bereich_Text")).isValid());
    rs->SetField(QStringLiteral("Bereich_Text"), QStringLiteral("Wetter's"));
    rs->Update();
    EXPECT_EQ(rs->Fields(0).toInt(), 2); // the current row stays
    rs->MoveToLastModified();
    EXPECT_EQ(rs->Fields(QStringLiteral("Bereich_Text")).toString(), QStringLiteral("Wetter's"));
    EXPECT_EQ(rs->Fields(0).toInt(), 4);
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT Bereich_Text FROM Bereiche WHERE ID=4")), QStringLiteral("Wetter's"));
    // Reached by searches, the lookup by key included.
    for (int i = 0; i < 3; ++i) {
        rs->FindFirst(QStringLiteral("ID LIKE '4'"));
        EXPECT_FALSE(rs->NoMatch());
    }
    rs->AddNew();
    rs->Update(); // a row of defaults
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT count(*) FROM Bereiche")), QStringLiteral("5"));
    rs->FindFirst(QStringLiteral("ID = 5"));
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_FALSE(rs->Fields(1).isValid());
}

const QStringList kWriterArgs = {QStringLiteral("--gtest_filter=KillTest.DISABLED_Writer"),
                                 QStringLiteral("--gtest_also_run_disabled_tests")};

TEST(KillTest, KilledWriterLosesNoCommittedWrite)
{
    // A handful of kills here; bench/kill_stress does hundreds.
    const unsigned seed = std::random_device{}();
    for (auto writer : {KillLoop::Writer::Engine, KillLoop::Writer::Trainer}) {
        QTemporaryDir dir;
        const KillLoop::Summary sum = KillLoop::run(writer, 4, dir.path(), kWriterArgs, seed);
        EXPECT_EQ(sum.kills, 4);
        EXPECT_TRUE(sum.problems.isEmpty()) << sum.problems.join(u'\n').toStdString();
    }
}

// A second copy of the program answers while this one shows an entry and
// waits for the user; then this one answers too. No box, every answer saved.
TEST(KillTest, TwoCopiesAnsweringOnOneFileSaveEveryAnswer)
{
    QTemporaryDir dir;
    const QString path = KillLoop::makeFile(dir.path());
    ScopedFakeMessages msgs;
    AppPaths::setAppPath(dir.path());
    Forms::form1().Open_DB(QFileInfo(path).fileName());
    Forms::form2().Command4_Click();
    Trainer& t = Forms::trainer();
    t.OptTest = true;
    t.OptionsToUI();
    t.Command3_Click();
    long reported = 0;
    const QStringList problems = KillLoop::answerBeside(path, 20, kWriterArgs, OtherProgram::waitForUser, &reported);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    msgs->queueDialog([](QDialog* d) {
        qobject_cast<ConfirmDlg*>(d)->JaButton->click();
        return int(QDialog::Accepted);
    });
    t.Command3_Click();
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
    const long saved = scalar(path, QStringLiteral("SELECT count(*) FROM WriteLog")).toLong();
    EXPECT_TRUE(saved == reported + 1 || saved == reported + 2) << reported << " + 1 answers, " << saved << " saved";
    Forms::unloadAll();
    AppPaths::setAppPath(QString());
}

// Three copies answer the same entry at once: each answer steps from the
// score committed just before it, and none is lost or refused.
TEST(KillTest, CopiesAnsweringTogetherStepFromTheCommittedScore)
{
    QTemporaryDir dir;
    const KillLoop::Together t = KillLoop::answerTogether(KillLoop::makeFile(dir.path()), 3, 300, kWriterArgs);
    std::printf("%ld answers reported, %ld written, %ld stale steps\n", t.reported, t.written, t.stale);
    EXPECT_GE(t.reported, 300);
    EXPECT_TRUE(t.problems.isEmpty()) << t.problems.join(u'\n').toStdString();
}

// The writer the tests above start and kill.
TEST(KillTest, DISABLED_Writer) { KillLoop::writerFromEnvironment(); }

TEST_F(EngineRecordset, LookupByKeyStaysRightThroughDeletesAndAdds)
{
    {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        enginetest::execOrThrow(raw, QStringLiteral("DELETE FROM Bereiche_Zwischen"));
        enginetest::execOrThrow(raw,
                                QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                               "WHERE i < 299) INSERT INTO Bereiche_Zwischen SELECT i % 10, i FROM n"));
        sqlite3_close(raw);
    }
    auto links = db->OpenRecordset(QStringLiteral("SELECT * FROM Bereiche_Zwischen"));
    auto countAll = [&](int v) {
        // Walks as the handler does: FindFirst, then FindNext until no match.
        const QString cond = QStringLiteral("IDV LIKE '%1'").arg(v);
        long n = 0;
        links->FindFirst(cond);
        while (!links->NoMatch()) {
            EXPECT_EQ(links->Fields(0).toInt(), v);
            ++n;
            links->FindNext(cond);
        }
        return n;
    };
    auto sqlCount = [&](int v) {
        return scalar(path, QStringLiteral("SELECT count(*) FROM Bereiche_Zwischen WHERE IDV=%1").arg(v)).toLong();
    };
    for (int round = 0; round < 2; ++round) // the second round goes through the lookup table
        for (int v = 0; v < 10; ++v)
            EXPECT_EQ(countAll(v), 30) << "IDV " << v;
    // Delete every link of entry 3 through the lookup, as when an entry's links are removed.
    links->FindFirst(QStringLiteral("IDV LIKE '3'"));
    while (!links->NoMatch()) {
        links->Delete();
        links->FindNext(QStringLiteral("IDV LIKE '3'"));
    }
    links->AddNew();
    links->SetField(0, 7);
    links->SetField(1, 999);
    links->Update();
    for (int v = 0; v < 10; ++v)
        EXPECT_EQ(countAll(v), sqlCount(v)) << "IDV " << v;
    EXPECT_EQ(sqlCount(3), 0);
    EXPECT_EQ(sqlCount(7), 31);
    // A number written with a leading zero finds its row by value, also once
    // the search goes through the lookup table.
    for (int round = 0; round < 3; ++round) {
        links->FindFirst(QStringLiteral("ID = 0999"));
        ASSERT_FALSE(links->NoMatch()) << round;
        EXPECT_EQ(links->Fields(0).toInt(), 7);
    }
}

TEST_F(EngineRecordset, FailedWritesAreReportedAndKeepTheEdit)
{
    // A constraint of the file refuses the row: reported, nothing written,
    // the edit stays open so that it can be mended or cancelled.
    auto props = db->OpenRecordset(QStringLiteral("SELECT * FROM LxtProperties"));
    props->AddNew();
    props->SetField(QStringLiteral("Name"), QStringLiteral("Ohne Tabelle"));
    QString desc;
    EXPECT_EQ(errorOf([&] { props->Update(); }, &desc), DbErr::WriteFailed);
    // Named in German with the file, not in SQLite's English.
    EXPECT_TRUE(desc.contains(QStringLiteral("Die Änderung an \"") + path)) << desc.toStdString();
    EXPECT_TRUE(desc.contains(QStringLiteral("eine Regel der Datenbank lässt den Wert nicht zu"))) << desc.toStdString();
    EXPECT_FALSE(desc.contains(QStringLiteral("constraint"), Qt::CaseInsensitive)) << desc.toStdString();
    props->SetField(QStringLiteral("TableName"), QStringLiteral("Vokabular"));
    props->Update();
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT TableName FROM LxtProperties WHERE Name='Ohne Tabelle'")),
              QStringLiteral("Vokabular"));

    // A table of a foreign file that is a view: refused in German, naming the file.
    {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        enginetest::execOrThrow(raw, QStringLiteral("CREATE VIEW Vokabelsicht AS SELECT * FROM Vokabular"));
        sqlite3_close(raw);
        auto view = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabelsicht"));
        view->FindFirst(QStringLiteral("ID = 12"));
        const int number = errorOf(
            [&] {
                view->Edit();
                view->SetField(QStringLiteral("Score"), 6);
                view->Update();
            },
            &desc);
        EXPECT_EQ(number, DbErr::NotUpdatable);
        EXPECT_TRUE(desc.contains(path)) << desc.toStdString();
        EXPECT_FALSE(desc.contains(QStringLiteral("cannot"))) << desc.toStdString();
    }

    // Another program holds the file locked: the score is not written and the
    // failure says so (after the engine's wait for the lock).
    sqlite3* other = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &other, SQLITE_OPEN_READWRITE, nullptr);
    enginetest::execOrThrow(other, QStringLiteral("BEGIN IMMEDIATE"));
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    rs->FindFirst(QStringLiteral("ID LIKE '12'"));
    rs->Edit();
    rs->SetField(QStringLiteral("Score"), 6);
    EXPECT_EQ(errorOf([&] { rs->Update(); }, &desc), DbErr::Locked);
    EXPECT_TRUE(desc.contains(QStringLiteral("gesperrt"))) << desc.toStdString();
    EXPECT_EQ(rs->Fields(QStringLiteral("Score")).toInt(), 6); // still the edited value
    rs->CancelUpdate();
    EXPECT_EQ(rs->Fields(QStringLiteral("Score")).toInt(), 3);
    enginetest::execOrThrow(other, QStringLiteral("ROLLBACK"));
    sqlite3_close(other);
    EXPECT_EQ(scalar(path, QStringLiteral("SELECT Score FROM Vokabular WHERE ID=12")), QStringLiteral("3"));
}
