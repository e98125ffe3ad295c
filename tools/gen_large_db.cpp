// gen_large_db <path> [entries=100000]: writes a large vocabulary database
// (for benchmarks and load tests of the database engine).
#include "ToolOptions.h"
#include "largedb/LargeDbGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const char* usage = "usage: gen_large_db <path> [entries=100000]\n";
    if (const int code = handleOptions("gen_large_db", args.mid(1), usage); code >= 0)
        return code;
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    int entries = 100000;
    if (args.size() == 3) {
        bool ok = false;
        entries = args[2].toInt(&ok);
        if (!ok || entries < 0) {
            std::fprintf(stderr, "gen_large_db: entries must be a whole number >= 0\n");
            return 2;
        }
    }
    QElapsedTimer t;
    t.start();
    QString error;
    if (!LargeDb::generate(args[1], entries, &error)) {
        std::fprintf(stderr, "gen_large_db: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s: %d entries in %lld ms\n", qPrintable(args[1]), entries, static_cast<long long>(t.elapsed()));
    return 0;
}
