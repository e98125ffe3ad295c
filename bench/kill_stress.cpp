// Kills a writer at random moments, again and again, and checks after every
// kill that each write it reported as done is in the file and the file is
// sound: once through the engine, once through the trainer's self-test; then
// three copies answer one entry at once, each answer stepping from the last.
//   bench_kill_stress [kills per writer=100] [seed]
#include "common/Global.h"
#include "platform/SettingsStore.h"
#include "support/KillLoop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir settings;
    SettingsStore::setRoot(settings.path());
    InitGlobals();
    KillLoop::writerFromEnvironment(); // returns only in the killing process

    const int kills = argc > 1 ? std::atoi(argv[1]) : 100;
    const unsigned seed = argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 10)) : std::random_device{}();
    int failed = 0;
    for (auto writer : {KillLoop::Writer::Engine, KillLoop::Writer::Trainer}) {
        QTemporaryDir dir;
        QElapsedTimer timer;
        timer.start();
        const KillLoop::Summary sum = KillLoop::run(writer, kills, dir.path(), {}, seed);
        std::printf("%-8s %4d kills, %8ld writes reported, %3lld problems, %.1f s (seed %u)\n",
                    writer == KillLoop::Writer::Engine ? "engine" : "trainer", sum.kills, sum.writes,
                    qlonglong(sum.problems.size()), timer.elapsed() / 1000.0, seed);
        for (const QString& p : sum.problems)
            std::printf("  %s\n", qPrintable(p));
        failed += sum.problems.isEmpty() && sum.kills == kills ? 0 : 1;
    }
    {
        // Three copies answering one entry at once, as many answers as kills times ten.
        QTemporaryDir dir;
        QElapsedTimer timer;
        timer.start();
        const KillLoop::Together t = KillLoop::answerTogether(KillLoop::makeFile(dir.path()), 3, kills * 10L, {});
        std::printf("together 3 copies, %8ld answers reported, %8ld written, %3ld stale steps, %3lld problems, %.1f s\n",
                    t.reported, t.written, t.stale, qlonglong(t.problems.size()), timer.elapsed() / 1000.0);
        for (const QString& p : t.problems)
            std::printf("  %s\n", qPrintable(p));
        failed += t.problems.isEmpty() ? 0 : 1;
    }
    return failed ? 1 : 0;
}
