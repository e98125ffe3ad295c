// Start-up of the program itself, run as a new process each time with fresh
// user folders: from the start of the process to the main window painted, the
// splash's fixed wait left out (the program skips it in its measuring mode and
// prints it). Once with the shipped 160-entry database as the recent one, once
// more with 100,000 letter pairs stored in the settings file, once with a
// 100,000-entry database in its place.
//   bench_startup [runs=7]
#include "Timing.h"
#include "largedb/LargeDbGenerator.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Run {
    double spawnToReadyMs = -1; // measured from here, before the process is started
    double fromMainMs = -1;     // as the program counts it, from main()
    int waitMs = -1;
    QString database; // the one the main window opened
};

Run runOnce(const QString& home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
    env.insert(QStringLiteral("LEXUVANT_STARTUP_TIMES"), QStringLiteral("1"));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    const qint64 start = monotonicNs();
    p.start(QStringLiteral(LEXUVANT_EXE), {});
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    auto number = [&](const char* pattern) {
        const auto m = QRegularExpression(QLatin1String(pattern)).match(out);
        return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
    };
    const double ready = number("ready at monotonic ns: (\\d+)");
    if (ready > 0)
        r.spawnToReadyMs = (ready - double(start)) / 1e6;
    r.fromMainMs = number("([\\d.]+) ms from main\\(\\)");
    r.waitMs = int(number("splash wait \\(fixed, not included\\): (\\d+) ms"));
    const auto db = QRegularExpression(QStringLiteral("database: (.*)")).match(out);
    r.database = db.hasMatch() ? db.captured(1).trimmed() : QString();
    return r;
}

void measure(const char* name, const QString& home, int runs)
{
    runOnce(home); // warm-up: the first start copies the language databases
    std::vector<double> total, fromMain;
    int wait = -1;
    QString database;
    for (int i = 0; i < runs; ++i) {
        const Run r = runOnce(home);
        if (r.spawnToReadyMs < 0) {
            std::printf("%s: the program did not report ready\n", name);
            return;
        }
        total.push_back(r.spawnToReadyMs);
        fromMain.push_back(r.fromMainMs);
        wait = r.waitMs;
        database = r.database;
    }
    std::printf("start-up with %s: median %.1f ms (min %.1f, max %.1f) from process start to the main window "
                "ready (target 150 ms at most with the shipped one); %.1f ms of it from main()\n",
                name, median(total), *std::min_element(total.begin(), total.end()),
                *std::max_element(total.begin(), total.end()), median(fromMain));
    std::printf("splash wait (fixed, not included): %d ms; database opened: %s (%lld KB)\n", wait,
                qPrintable(QFileInfo(database).fileName()), QFileInfo(database).size() / 1024);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 7;
    std::printf("machine: %u cores; %d runs each, after one warm-up\n", std::thread::hardware_concurrency(), runs);

    QTemporaryDir home;
    for (const char* sub : {"config", "data", "run"})
        QDir(home.path()).mkpath(QLatin1String(sub));
    QFile::setPermissions(home.path() + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    measure("the shipped database (Englisch.lxt, 160 entries)", home.path(), runs);

    // The stored letter pairs are read at every start, all of them.
    const QString ini = home.path() + QStringLiteral("/config/lexuvan.ini");
    {
        QByteArray text = "[Exceptions]\n";
        for (int i = 1; i <= 100000; ++i)
            text += "Exc_" + QByteArray::number(i) + "=ae\n";
        QFile f(ini);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(ini));
            return 1;
        }
    }
    measure("the shipped database and 100,000 stored letter pairs", home.path(), runs);
    std::printf("(target with 100,000 stored letter pairs: within 1000 ms)\n");
    QFile::remove(ini);

    // The large database takes the place of the English one and is named the recent database.
    const QString large = home.path() + QStringLiteral("/data/lexuvant/Englisch.lxt");
    QString error;
    if (!LargeDb::generate(large, 100000, &error)) {
        std::fprintf(stderr, "generate: %s\n", qPrintable(error));
        return 1;
    }
    SettingsStore::setRoot(home.path() + QStringLiteral("/config"));
    SettingsStore::SaveSetting(QStringLiteral("lexuvan"), QStringLiteral("Parameters"), QStringLiteral("RecentDB"), large);
    measure("a 100,000-entry database as the recent one", home.path(), runs);
    return 0;
}
