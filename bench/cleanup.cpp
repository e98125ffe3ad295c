// The clean-up at quit on a 100,000-entry database with thousands of
// attributes and synonyms: the time of BereinigeDB and what it removed.
//   bench_cleanup [entries=100000]
#include "common/Global.h"
#include "database/CDBHandler.h"
#include "platform/LargeDbGenerator.h"

#include "platform/ProcessMemory.h"

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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    InitGlobals();
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("large.lxt"));
    QString error;
    if (!LargeDb::generate(path, entries, &error)) {
        std::fprintf(stderr, "cannot generate: %s\n", qPrintable(error));
        return 1;
    }
    const char* tables[] = {"Bereiche", "GrammatikalischeAttribute", "FunktionaleAttribute", "Synonyme"};
    long long before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = count(path, tables[i]);

    CDBHandler handler;
    handler.dbKopieren = Database::OpenDatabase(path);
    if (!handler.GetLanguages() || !handler.OpenAllRecordsets())
        return 1;
    QElapsedTimer t;
    t.start();
    handler.BereinigeDB();
    const double ms = t.nsecsElapsed() / 1e6;
    handler.CloseAllDBObjects();

    std::printf("clean-up at quit, %d entries: %.1f ms\n", entries, ms);
    for (int i = 0; i < 4; ++i)
        std::printf("  %-26s %lld -> %lld rows\n", tables[i], before[i], count(path, tables[i]));
    std::printf("peak memory: %.1f MB\n", peakMemoryKb() / 1024.0);
    return 0;
}
