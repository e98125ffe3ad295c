// Building the vocabulary list of a 100,000-entry database the way the
// selection window does it, against the same cells read with one plain SQLite
// query; then sorting the list by a language and one find keystroke.
// Prints the times, their ratio and the peak memory (VmHWM).
// The program frees small blocks at once (mallopt in main.cpp); the benchmark
// starts itself again with the same setting as a glibc tunable, so that its
// figures are the program's.
#include "ProcessMemory.h"
#include "common/Global.h"
#include "common/TextProcs.h"
#include "largedb/LargeDbGenerator.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/SettingsStore.h"
#include "platform/SystemServices.h"
#include "selection/Form2.h"
#include "selection/Liste.h"
#include "selection/frmSuchen.h"
#include "trainer/Trainer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <cstdio>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Message boxes would block a benchmark: count them and answer OK.
class SilentMessages : public MessageService {
public:
    int shown = 0;
    int message(const MessageRequest& r) override
    {
        ++shown;
        std::fprintf(stderr, "message: %s\n", qPrintable(r.prompt));
        return MsgResult::OK;
    }
    int execModal(QDialog*) override { return 0; }
    void beep() override {}
};

QString col(sqlite3_stmt* st, int i)
{
    const auto* p = reinterpret_cast<const char16_t*>(sqlite3_column_text16(st, i));
    return p ? QString::fromUtf16(p, sqlite3_column_bytes16(st, i) / 2) : QString();
}

using Row = std::array<QString, 24>;

// The same cells with one statement: joins and group_concat do the area and
// attribute texts, the rest is the same text procedures.
std::vector<Row> plainQuery(const QString& path)
{
    std::vector<Row> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return rows;
    const char* sql = "SELECT v.ID, v.Lang1_Prefix, v.Lang1_Main, v.Lang1_Suffix, v.Lang1_Kommentar, v.Lang2_Prefix, "
                      "v.Lang2_Main, v.Lang2_Suffix, v.Lang2_Kommentar, v.Wortart, v.Beispielsatz, v.Zusatzinfo, v.Quelle, "
                      "v.Eingabedatum, v.Aenderungsdatum, v.Score, "
                      "(SELECT group_concat(b.Bereich_Text, '; ') FROM Bereiche_Zwischen z JOIN Bereiche b ON b.ID = z.ID "
                      "  WHERE z.IDV = v.ID), "
                      "(SELECT group_concat(g.Attribut_Text, '; ') FROM GrammatikalischeAttribute_Zwischen z "
                      "  JOIN GrammatikalischeAttribute g ON g.IDA = z.ID WHERE z.IDV = v.ID), "
                      "(SELECT group_concat(f.Attribut_Text, '; ') FROM FunktionaleAttribute_Zwischen z "
                      "  JOIN FunktionaleAttribute f ON f.IDA = z.ID WHERE z.IDV = v.ID) "
                      "FROM Vokabular v";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            Row r;
            r[1] = col(st, 0);
            QString parts[8];
            for (int i = 0; i < 8; ++i) {
                parts[i] = CutToLength(col(st, 1 + i), gMaxAusdruckTeil);
                r[14 + i] = parts[i];
            }
            r[2] = extract(generiereAusdruck(parts[0], parts[1], parts[2], parts[3]));
            r[3] = extract(generiereAusdruck(parts[4], parts[5], parts[6], parts[7]));
            r[4] = CutToLength(extract(col(st, 9)), gMaxWortart);
            r[8] = CutToLength(extract(col(st, 10)), gMaxBeispielsatz);
            r[9] = CutToLength(extract(col(st, 11)), gMaxZusatzinfo);
            r[10] = CutToLength(extract(col(st, 12)), gMaxQuelle);
            const QString created = col(st, 13), changed = col(st, 14);
            r[22] = extract(created);
            r[11] = FormatDBDate(created);
            r[23] = changed;
            r[12] = FormatDBDate(changed);
            r[13] = sqlite3_column_type(st, 15) == SQLITE_NULL ? QStringLiteral("6")
                                                               : QString::number(sqlite3_column_int(st, 15));
            r[7] = col(st, 16);
            const QString g = col(st, 17), f = col(st, 18);
            r[5] = g.isEmpty() ? g : g + QLatin1Char(';');
            r[6] = f.isEmpty() ? f : f + QLatin1Char(';');
            rows.push_back(std::move(r));
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("GLIBC_TUNABLES")) {
        setenv("GLIBC_TUNABLES", "glibc.malloc.mxfast=0", 1);
        execv("/proc/self/exe", argv);
        std::perror("bench_list_build: cannot start itself again with the program's allocator setting");
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    std::printf("machine: %u cores\n", std::thread::hardware_concurrency());

    QTemporaryDir folder;
    SettingsStore::setRoot(folder.path());
    AppPaths::setAppPath(folder.path());
    InitGlobals();
    auto messages = std::make_shared<SilentMessages>();
    MessageService::install(messages);

    const QString path = QDir(folder.path()).filePath(QStringLiteral("large.lxt"));
    QElapsedTimer t;
    t.start();
    QString error;
    if (!LargeDb::generate(path, entries, &error)) {
        std::fprintf(stderr, "generate: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("generate %d entries: %lld ms\n", entries, static_cast<long long>(t.elapsed()));

    t.restart();
    Form1& f1 = Forms::form1();
    f1.Open_DB(QStringLiteral("large.lxt"));
    if (f1.DBName.isEmpty())
        return 1;
    std::printf("open database: %lld ms\n", static_cast<long long>(t.elapsed()));
    f1.Marke_bmp = AppPaths::picturePath(QStringLiteral("marke.png")); // as the start-up sets it

    // The plain query first, its rows released again, so the peak memory
    // below is the program's own and not the sum of both lists.
    t.restart();
    qint64 plainNs = 0;
    {
        const std::vector<Row> plain = plainQuery(path);
        plainNs = t.nsecsElapsed();
        std::printf("plain query into a vector: %.0f ms, %zu rows\n", plainNs / 1e6, plain.size());
    }
    std::printf("peak memory after the plain query (VmHWM): %ld MB\n", peakMemoryKb() / 1024);

    Form2& f2 = Forms::form2();
    MSFlexGrid* grid = Forms::liste().MSFlexGrid1;
    t.restart();
    f2.Command4_Click();
    const qint64 buildNs = t.nsecsElapsed();
    std::printf("list build (selection window): %.0f ms, %d rows\n", buildNs / 1e6, grid->Rows() - 1);
    std::printf("ratio build / plain: %.2f (target 1.3 at most)\n", double(buildNs) / double(plainNs));
    std::printf("peak memory after the build (VmHWM): %ld MB\n", peakMemoryKb() / 1024);

    // The same selection again: the full list is emptied and built anew.
    t.restart();
    f2.Command4_Click();
    const qint64 againNs = t.nsecsElapsed();
    std::printf("list build again over the full list: %.0f ms, ratio to the plain query %.2f\n", againNs / 1e6,
                double(againNs) / double(plainNs));
    std::printf("peak memory after the second build (VmHWM): %ld MB\n", peakMemoryKb() / 1024);

    // Sorting as a click on a column header does it; dates sort through
    // their key columns.
    Liste& liste = Forms::liste();
    const std::pair<const char*, int> sorts[] = {
        {"entry date", Liste::txtEingabedatum}, {"change date", Liste::txtAenderungsdatum}, {"score", Liste::txtScore}};
    for (const auto& [name, column] : sorts) {
        grid->setCol(column);
        t.restart();
        liste.SortAccordingToCol();
        std::printf("sort by %s: %.1f ms (target 100 ms at most)\n", name, t.nsecsElapsed() / 1e6);
    }
    grid->setCol(Liste::txtSpanisch);
    t.restart();
    liste.SortByAll();
    std::printf("sort by language 1: %.1f ms (target 100 ms at most)\n", t.nsecsElapsed() / 1e6);

    // A text that only a row near the end of the sorted list begins with;
    // then one that no row begins with, so the whole list is searched.
    const QString target = grid->TextMatrix(grid->Rows() - 2, Liste::txtSpanisch);
    frmSuchen find; // sorts again by language 1
    t.restart();
    find.txtAusdruck->setText(target);
    std::printf("find keystroke (match at row %d of %d): %.1f ms (target 10 ms at most)\n", grid->Row(),
                grid->Rows() - 1, t.nsecsElapsed() / 1e6);
    find.txtAusdruck->clear();
    t.restart();
    find.txtAusdruck->setText(target + QStringLiteral("~"));
    std::printf("find keystroke (no match%s): %.1f ms (target 10 ms at most)\n",
                find.lblNicht->isHidden() ? ", FOUND ONE" : "", t.nsecsElapsed() / 1e6);

    // Shuffling the list: the draw alone (Int(n * Rnd + 1), drawn again while
    // the row is taken), then the whole restart in shuffled order, progress
    // window included.
    const int n = grid->Rows() - 1;
    t.restart();
    {
        std::vector<int> order(size_t(n) + 1, 0);
        std::vector<bool> taken(size_t(n) + 1, false);
        SystemServices::randomize();
        for (int i = 1; i <= n; ++i) {
            int row;
            do {
                row = int(std::floor(double(n) * double(SystemServices::rnd()) + 1.0));
            } while (row < 1 || row > n || taken[size_t(row)]);
            taken[size_t(row)] = true;
            order[size_t(i)] = row;
        }
    }
    const qint64 drawNs = t.nsecsElapsed();
    Trainer& trainer = Forms::trainer();
    trainer.OptSequentiell = false;
    trainer.OptShuffle = true;
    t.restart();
    trainer.Command6_Click();
    const qint64 restartNs = t.nsecsElapsed();
    std::printf("shuffle draw of %d entries: %.1f ms\n", n, drawNs / 1e6);
    std::printf("restart in shuffled order (Neustart): %.1f ms\n", restartNs / 1e6);
    std::printf("ratio restart / draw: %.2f\n", drawNs > 0 ? double(restartNs) / double(drawNs) : 0.0);

    std::printf("peak memory (VmHWM): %ld MB (target 300 MB at most)\n", peakMemoryKb() / 1024);
    std::printf("message boxes: %d\n", messages->shown);
    Forms::unloadAll();
    return 0;
}
