#pragma once
// The command-line tools take file names and numbers and no option but
// --help: an argument that starts with "-" is never taken for a file name,
// so a mistyped option writes nothing.
#include <QStringList>

#include <cstdio>

// Returns -1 when the arguments (without the program's name) hold no option.
// Otherwise prints the usage, to the standard output for --help or -h, else
// to the error output after naming the unknown option, and returns the exit
// code: 0 for help, 2 for an unknown option.
inline int handleOptions(const char* tool, const QStringList& arguments, const char* usage)
{
    for (const QString& a : arguments) {
        if (a.size() < 2 || !a.startsWith(QLatin1Char('-')))
            continue;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::printf("%s", usage);
            return 0;
        }
        std::fprintf(stderr, "%s: unknown option %s\n%s", tool, qPrintable(a), usage);
        return 2;
    }
    return -1;
}
