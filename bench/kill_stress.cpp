// Kills a writer at random moments, again and again, and checks after every
// kill that each write it reported as done is in the file and the file is
// sound: once through the engine, once through the trainer's self-test.
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
    KillLoop::writerFromEnvironment();   // returns only in the killing process

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
    return failed ? 1 : 0;
}
