// Figures of the database engine on a 100,000-entry vocabulary database, each
// beside the same work done with plain SQLite calls (values read into
// QVariants on both sides, as the windows need them; both connections opened
// without SQLite's per-call mutex). Each step runs several times; the figures
// are the fastest and the median, the ratio is between the fastest times.
//   bench_engine [entries=100000]
#include "ProcessMemory.h"
#include "Timing.h"
#include "largedb/LargeDbGenerator.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {

const char* const kStatements[] = {
    "SELECT * FROM Vokabular",
    "SELECT * FROM Vokabular",
    "SELECT * FROM Vokabular",
    "SELECT * FROM Referenzen",
    "SELECT * FROM GrammatikalischeAttribute",
    "SELECT * FROM GrammatikalischeAttribute_Zwischen",
    "SELECT * FROM FunktionaleAttribute",
    "SELECT * FROM FunktionaleAttribute_Zwischen",
    "SELECT * FROM Bereiche",
    "SELECT * FROM Bereiche_Zwischen",
    "SELECT * FROM Synonyme",
};

QVariant plainValue(sqlite3_stmt* s, int c)
{
    switch (sqlite3_column_type(s, c)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(s, c)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(s, c));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, c)),
                                          sqlite3_column_bytes(s, c)));
    }
}

// Steps a plain statement to its end, reading every column of every row.
long plainWalk(sqlite3* db, const char* sql)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    long rows = 0;
    qsizetype sink = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        const int n = sqlite3_column_count(s);
        for (int c = 0; c < n; ++c)
            sink += plainValue(s, c).toString().size();
        ++rows;
    }
    sqlite3_finalize(s);
    return rows + (sink < 0 ? 1 : 0);
}

long engineWalk(Database& db, const QString& cond)
{
    auto rs = db.OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
    long rows = 0;
    qsizetype sink = 0;
    rs->FindFirst(cond);
    while (!rs->NoMatch()) {
        const int n = rs->FieldCount();
        for (int c = 0; c < n; ++c)
            sink += rs->Fields(c).toString().size();
        ++rows;
        rs->FindNext(cond);
    }
    rs->Close();
    return rows + (sink < 0 ? 1 : 0);
}

// Milliseconds from `since` until another connection that never waits for a
// lock commits a write, the event loop running between tries as when the
// program waits for the user; -1 when that took more than two seconds.
double untilLockFree(sqlite3* other, const QElapsedTimer& since)
{
    while (sqlite3_exec(other, "UPDATE Vokabular SET Zusatzinfo=Zusatzinfo WHERE ID=1", nullptr, nullptr, nullptr)
           != SQLITE_OK) {
        if (since.elapsed() > 2000)
            return -1;
        QEventLoop idle;
        QTimer::singleShot(1, &idle, &QEventLoop::quit);
        idle.exec();
    }
    return since.nsecsElapsed() / 1e6;
}

void line(const char* what, const Timing& ours, const Timing& plain, const char* target)
{
    std::printf("%-46s %s   plain %s   ratio %5.2f   (target %s)\n", what, ours.text(2).c_str(), plain.text(2).c_str(),
                ours.fastestMs / plain.fastestMs, target);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.lxt"));
    QElapsedTimer gen;
    gen.start();
    QString error;
    if (!LargeDb::generate(path, entries, &error)) {
        std::fprintf(stderr, "cannot write the database: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("database: %d entries, %lld bytes, written in %lld ms\n", entries,
                static_cast<long long>(QFile(path).size()), static_cast<long long>(gen.elapsed()));
    std::printf("peak memory before the runs: %ld kB\n\n", peakMemoryKb());
    const QByteArray cpath = QFile::encodeName(path);

    // (1) Opening the database and its eleven record sets.
    const Timing openOurs = timeRuns(20, [&] {
        auto db = Database::OpenDatabase(path);
        std::vector<std::shared_ptr<Recordset>> sets;
        for (const char* sql : kStatements)
            sets.push_back(db->OpenRecordset(QString::fromLatin1(sql), 2));
        db->Close();
    });
    const Timing openPlain = timeRuns(20, [&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(cpath.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        std::vector<sqlite3_stmt*> stmts;
        for (const char* sql : kStatements) {
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
            sqlite3_step(s);
            stmts.push_back(s);
        }
        for (sqlite3_stmt* s : stmts)
            sqlite3_finalize(s);
        sqlite3_close(db);
    });
    line("open database + 11 record sets", openOurs, openPlain, "within 3x");

    auto db = Database::OpenDatabase(path);
    sqlite3* plain = nullptr;
    sqlite3_open_v2(cpath.constData(), &plain, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);

    // (2) Walking the whole table, every column read.
    long n1 = 0, n2 = 0;
    const Timing walkOurs = timeRuns(5, [&] { n1 = engineWalk(*db, QStringLiteral("Vokabular.ID LIKE '*'")); });
    const Timing walkPlain = timeRuns(5, [&] { n2 = plainWalk(plain, "SELECT * FROM Vokabular"); });
    line("walk \"Vokabular.ID LIKE '*'\"", walkOurs, walkPlain, "within 2x");
    std::printf("%-46s %ld rows (plain %ld)\n", "", n1, n2);

    // (3) The score range.
    const Timing rangeOurs = timeRuns(5, [&] { n1 = engineWalk(*db, QStringLiteral("(Score >=2 AND Score <=5)")); });
    const Timing rangePlain =
        timeRuns(5, [&] { n2 = plainWalk(plain, "SELECT * FROM Vokabular WHERE Score BETWEEN 2 AND 5"); });
    line("walk \"(Score >=2 AND Score <=5)\"", rangeOurs, rangePlain, "within 2x");
    std::printf("%-46s %ld rows (plain %ld)\n", "", n1, n2);

    // (4) The list build's three small dynasets per entry (areas and attributes).
    const int listEntries = std::min(entries, 20000);
    const QString parts[3][2] = {
        {QStringLiteral("SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, Bereiche WHERE "
                        "Bereiche_Zwischen.IDV=%1 AND Bereiche_Zwischen.ID=Bereiche.ID"),
         QStringLiteral("Bereiche_Zwischen.IDV=%1")},
        {QStringLiteral("SELECT Attribut_Text FROM GrammatikalischeAttribute_Zwischen, GrammatikalischeAttribute WHERE "
                        "GrammatikalischeAttribute_Zwischen.IDV=%1 AND "
                        "GrammatikalischeAttribute_Zwischen.ID=GrammatikalischeAttribute.IDA"),
         QStringLiteral("Attribut_Text LIKE '*'")},
        {QStringLiteral("SELECT Attribut_Text FROM FunktionaleAttribute_Zwischen, FunktionaleAttribute WHERE "
                        "FunktionaleAttribute_Zwischen.IDV=%1 AND "
                        "FunktionaleAttribute_Zwischen.ID=FunktionaleAttribute.IDA"),
         QStringLiteral("Attribut_Text LIKE '*'")},
    };
    const Timing cellsOurs = timeRuns(5, [&] {
        for (int id = 1; id <= listEntries; ++id) {
            for (const auto& p : parts) {
                auto rs = db->OpenRecordset(p[0].arg(id), 2);
                const QString cond = p[1].contains(QLatin1String("%1")) ? p[1].arg(id) : p[1];
                rs->FindFirst(cond);
                while (!rs->NoMatch()) {
                    rs->Fields(0).toString();
                    rs->FindNext(cond);
                }
                rs->Close();
            }
        }
    });
    const Timing cellsPlain = timeRuns(5, [&] {
        for (int id = 1; id <= listEntries; ++id)
            for (const auto& p : parts)
                plainWalk(plain, p[0].arg(id).toUtf8().constData());
    });
    char what[80];
    std::snprintf(what, sizeof what, "area/attribute cells of %d entries", listEntries);
    line(what, cellsOurs, cellsPlain, "none; prepared statements are reused");
    sqlite3_close(plain);

    // The trainer's step: find the entry by its ID as text, write its score.
    {
        auto rsKopieren = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
        auto rsVokabular = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
        auto rsSuche = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
        rsKopieren->MoveLast();
        const int answers = 200;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < answers; ++i) {
            const int id = 1 + (i * 7919) % entries;
            rsVokabular->FindFirst(QStringLiteral("ID LIKE '%1'").arg(id));
            rsVokabular->Edit();
            rsVokabular->SetField(QStringLiteral("Score"), 1 + i % 6);
            rsVokabular->Update();
        }
        std::printf("\n%-46s %10.3f ms per answer (%d answers, each committed)\n", "trainer: find by ID + Edit/Update",
                    t.nsecsElapsed() / 1e6 / answers, answers);
        // How soon another program may write: after an answer, and after
        // opening the database with its record sets.
        sqlite3* other = nullptr;
        sqlite3_open_v2(cpath.constData(), &other, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        QElapsedTimer answer;
        answer.start();
        rsVokabular->FindFirst(QStringLiteral("ID LIKE '%1'").arg(entries / 2));
        rsVokabular->Edit();
        rsVokabular->SetField(QStringLiteral("Score"), 3);
        rsVokabular->Update();
        const double answered = answer.nsecsElapsed() / 1e6;
        std::printf("%-46s %10.3f ms (the answer's own commit: %.3f ms; -1 = still locked after 2 s)\n",
                    "answer -> file free for another writer", untilLockFree(other, answer), answered);
        QElapsedTimer opening;
        opening.start();
        auto second = Database::OpenDatabase(path);
        std::vector<std::shared_ptr<Recordset>> sets;
        for (const char* sql : kStatements)
            sets.push_back(second->OpenRecordset(QString::fromLatin1(sql), 2));
        const double opened = opening.nsecsElapsed() / 1e6;
        std::printf("%-46s %10.3f ms (the open itself: %.3f ms)\n", "open + 11 sets -> file free once idle",
                    untilLockFree(other, opening), opened);
        second->Close();
        sqlite3_close(other);
        std::printf("%-46s %ld kB peak (VmHWM), target under 150 MB\n", "three dynasets on Vokabular, all rows",
                    peakMemoryKb());
    }
    db->Close();
    return 0;
}
