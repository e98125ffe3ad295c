// The clean-up at quit on a 100,000-entry database with thousands of
// attributes and synonyms: the time of BereinigeDB and what it removed, once
// with the generated file's orphans and once with 22,000 orphaned synonyms more.
//   bench_cleanup [entries=100000]
#include "common/Global.h"
#include "database/CDBHandler.h"
#include "largedb/LargeDbGenerator.h"

#include "ProcessMemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

long long count(const QString& path, const char* table)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, QByteArray("SELECT COUNT(*) FROM ").append(table).constData(), -1, &s, nullptr);
    long long n = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
    sqlite3_finalize(s);
    sqlite3_close(db);
    return n;
}

// Synonyms of entries that do not exist, as a file edited elsewhere leaves them.
bool addOrphans(const QString& path, int entries, int n)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return false;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Synonyme (VID, Sprache, Main) VALUES (?1, 1, 'verwaist')", -1, &s, nullptr);
    for (int i = 0; i < n; ++i) {
        sqlite3_bind_int(s, 1, entries + 2000 + i);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Cleans the file up and prints the time and the rows of the four tables before and after.
bool measure(const QString& path, int entries)
{
    const char* tables[] = {"Bereiche", "GrammatikalischeAttribute", "FunktionaleAttribute", "Synonyme"};
    long long before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = count(path, tables[i]);

    CDBHandler handler;
    handler.dbKopieren = Database::OpenDatabase(path);
    if (!handler.GetLanguages() || !handler.OpenAllRecordsets())
        return false;
    QElapsedTimer t;
    t.start();
    handler.BereinigeDB();
    const double ms = t.nsecsElapsed() / 1e6;
    handler.CloseAllDBObjects();

    std::printf("clean-up at quit, %d entries, %lld orphaned synonyms: %.1f ms\n", entries,
                before[3] - count(path, tables[3]), ms);
    for (int i = 0; i < 4; ++i)
        std::printf("  %-26s %lld -> %lld rows\n", tables[i], before[i], count(path, tables[i]));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InitGlobals();
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("large.lxt"));
    const QString many = QDir(dir.path()).filePath(QStringLiteral("orphans.lxt"));
    QString error;
    if (!LargeDb::generate(path, entries, &error)) {
        std::fprintf(stderr, "cannot generate: %s\n", qPrintable(error));
        return 1;
    }
    if (!QFile::copy(path, many) || !addOrphans(many, entries, 22000)) {
        std::fprintf(stderr, "cannot add orphans\n");
        return 1;
    }
    if (!measure(path, entries) || !measure(many, entries))
        return 1;
    std::printf("peak memory: %.1f MB\n", peakMemoryKb() / 1024.0);
    return 0;
}
