// Building the vocabulary list of a 100,000-entry database the way the
// selection window does it, against the same cells read with one plain SQLite
// query; then sorting the list by a language and one find keystroke.
// Each step runs several times (`runs` for the long ones, more for the short);
// it prints the fastest and the median time of each, the ratios between the
// fastest times, and the peak memory (VmHWM).
// The program frees small blocks at once (mallopt in main.cpp); the benchmark
// starts itself again with the same setting as a glibc tunable, so that its
// figures are the program's.
//   bench_list_build [entries=100000] [runs=5]
#include "ProcessMemory.h"
#include "Timing.h"
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
#include <utility>
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
    const int runs = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 5;
    const int quickRuns = 2 * runs + 1;
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

    // The plain query first, its rows released again and the peak started
    // anew, so the peak memory below is the program's own and neither the sum
    // of both lists nor what the repeated plain query left behind.
    double plainMs = 0;
    {
        std::vector<Row> plainRows;
        const Timing plain = timeRuns(
            runs, [&] { plainRows = plainQuery(path); }, [&] { std::vector<Row>().swap(plainRows); });
        std::printf("plain query into a vector: %s, %zu rows\n", plain.text(0).c_str(), plainRows.size());
        plainMs = plain.fastestMs;
    }
    std::printf("peak memory after the plain query (VmHWM): %ld MB\n", peakMemoryKb() / 1024);
    if (!resetPeakMemory())
        std::printf("(the peak memory below includes the plain query's: it cannot be started anew here)\n");

    // The build into an empty list, the database opened anew before each run
    // as a learner's flag button does.
    Form2& f2 = Forms::form2();
    MSFlexGrid* grid = Forms::liste().MSFlexGrid1;
    bool first = true;
    const Timing build = timeRuns(
        runs, [&] { f2.Command4_Click(); },
        [&] {
            if (!std::exchange(first, false))
                f1.Open_DB(QStringLiteral("large.lxt"));
        });
    std::printf("list build (selection window): %s, %d rows\n", build.text(0).c_str(), grid->Rows() - 1);
    std::printf("ratio build / plain: %.2f (fastest times; target 1.3 at most)\n", build.fastestMs / plainMs);
    std::printf("peak memory after the build (VmHWM): %ld MB\n", peakMemoryKb() / 1024);

    // The same selection again: the full list is emptied and built anew.
    const Timing again = timeRuns(runs, [&] { f2.Command4_Click(); });
    std::printf("list build again over the full list: %s, ratio to the plain query %.2f\n", again.text(0).c_str(),
                again.fastestMs / plainMs);
    std::printf("peak memory after the second build (VmHWM): %ld MB\n", peakMemoryKb() / 1024);

    // Sorting as a click on a column header does it; dates sort through
    // their key columns. Each run starts from the order the sort before it
    // in this list leaves (the first from the last one's).
    Liste& liste = Forms::liste();
    const std::pair<const char*, int> sorts[] = {{"entry date", Liste::txtEingabedatum},
                                                 {"change date", Liste::txtAenderungsdatum},
                                                 {"score", Liste::txtScore},
                                                 {"language 1", Liste::txtSpanisch}};
    auto sortBy = [&](int column) {
        grid->setCol(column);
        if (column == Liste::txtSpanisch)
            liste.SortByAll();
        else
            liste.SortAccordingToCol();
    };
    for (size_t i = 0; i < std::size(sorts); ++i) {
        const int column = sorts[i].second;
        const int previous = sorts[(i + std::size(sorts) - 1) % std::size(sorts)].second;
        const Timing sort = timeRuns(
            quickRuns, [&] { sortBy(column); }, [&] { sortBy(previous); });
        std::printf("sort by %s: %s (target 100 ms at most)\n", sorts[i].first, sort.text().c_str());
    }

    // A text that only a row near the end of the sorted list begins with;
    // then one that no row begins with, so the whole list is searched.
    const QString target = grid->TextMatrix(grid->Rows() - 2, Liste::txtSpanisch);
    frmSuchen find; // sorts again by language 1
    auto clearFind = [&] { find.txtAusdruck->clear(); };
    const Timing match = timeRuns(
        quickRuns, [&] { find.txtAusdruck->setText(target); }, clearFind);
    std::printf("find keystroke (match at row %d of %d): %s (target 10 ms at most)\n", grid->Row(), grid->Rows() - 1,
                match.text().c_str());
    const Timing noMatch = timeRuns(
        quickRuns, [&] { find.txtAusdruck->setText(target + QStringLiteral("~")); }, clearFind);
    std::printf("find keystroke (no match%s): %s (target 10 ms at most)\n",
                find.lblNicht->isHidden() ? ", FOUND ONE" : "", noMatch.text().c_str());

    // Shuffling the list: the draw alone (Int(n * Rnd + 1), drawn again while
    // the row is taken), then the whole restart in shuffled order, progress
    // window included.
    const int n = grid->Rows() - 1;
    const Timing draw = timeRuns(quickRuns, [&] {
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
    });
    Trainer& trainer = Forms::trainer();
    trainer.OptSequentiell = false;
    trainer.OptShuffle = true;
    const Timing restart = timeRuns(quickRuns, [&] { trainer.Command6_Click(); });
    std::printf("shuffle draw of %d entries: %s\n", n, draw.text().c_str());
    std::printf("restart in shuffled order (Neustart): %s\n", restart.text().c_str());
    std::printf("ratio restart / draw: %.2f (fastest times)\n",
                draw.fastestMs > 0 ? restart.fastestMs / draw.fastestMs : 0.0);

    std::printf("peak memory (VmHWM): %ld MB (target 300 MB at most)\n", peakMemoryKb() / 1024);
    std::printf("message boxes: %d\n", messages->shown);
    Forms::unloadAll();
    return 0;
}
