// The large-database generator used by the benchmarks: a valid vocabulary
// database, the same bytes for the same size.
#include "engine_testdb.h"
#include "engine/Database.h"
#include "largedb/LargeDbGenerator.h"
#include "engine/Recordset.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

using enginetest::scalar;

TEST(EngineGenerator, WritesAValidDeterministicVocabularyDatabase)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.lxt"));
    const QString b = dir.filePath(QStringLiteral("b.lxt"));
    QString error;
    ASSERT_TRUE(LargeDb::generate(a, 600, &error)) << error.toStdString();
    ASSERT_TRUE(LargeDb::generate(b, 600, &error)) << error.toStdString();
    auto hash = [](const QString& p) {
        QFile f(p);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    };
    EXPECT_EQ(hash(a), hash(b));

    struct Check {
        const char* sql;
        const char* expected;
    } checks[] = {
        {"SELECT count(*) FROM Vokabular", "600"},
        {"SELECT count(*) FROM Bereiche", "8"},
        {"SELECT group_concat(Bereich_Text, ',') FROM Bereiche",
         "Basiskommunikation,Einkaufen,Essen,Orte,Reisen,Richtungen,Zahlen,Zeiten"},
        // each entry in one or two different areas
        {"SELECT count(*) FROM (SELECT IDV, count(*) c, count(DISTINCT ID) d FROM Bereiche_Zwischen GROUP BY IDV) "
         "WHERE c NOT IN (1, 2) OR c <> d",
         "0"},
        {"SELECT count(DISTINCT IDV) FROM Bereiche_Zwischen", "600"},
        {"SELECT count(*) FROM Vokabular WHERE Score NOT BETWEEN 1 AND 6 OR Score IS NULL", "0"},
        {"SELECT count(*) FROM Vokabular WHERE length(Eingabedatum) <> 8 OR length(Aenderungsdatum) <> 8", "0"},
        {"SELECT count(*) > 0 FROM Synonyme WHERE VID NOT IN (SELECT ID FROM Vokabular)", "1"},
        {"SELECT count(*) > 0 FROM Synonyme WHERE VID IN (SELECT ID FROM Vokabular)", "1"},
        {"SELECT count(*) >= 200 FROM GrammatikalischeAttribute", "1"},
        {"SELECT count(*) > 0 FROM GrammatikalischeAttribute_Zwischen", "1"},
        {"SELECT count(*) > 0 FROM FunktionaleAttribute_Zwischen", "1"},
        {"PRAGMA integrity_check", "ok"},
    };
    for (const Check& c : checks) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(scalar(a, QString::fromUtf8(c.sql)), QString::fromUtf8(c.expected));
    }

    auto db = Database::OpenDatabase(a);
    const auto props = db->TableDefs(QStringLiteral("Vokabular"))->Properties();
    ASSERT_EQ(props.size(), 3u);
    EXPECT_EQ(props[1].Value.toString(), QStringLiteral("Sprache1=Deutsch@Sprache2=Englisch@"));
    EXPECT_EQ(props[2].Value.toInt(), 2);
    auto rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"));
    EXPECT_TRUE(rs->HasField(QStringLiteral("Lang1_Main")));
    EXPECT_TRUE(rs->HasField(QStringLiteral("Lang2_Kommentar")));
    EXPECT_FALSE(rs->Fields(QStringLiteral("Lang1_Main")).toString().isEmpty());

    // A folder that does not exist: a clear failure, no crash.
    EXPECT_FALSE(LargeDb::generate(dir.filePath(QStringLiteral("no/such/dir/x.lxt")), 10, &error));
    EXPECT_FALSE(error.isEmpty());
}
