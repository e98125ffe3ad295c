#pragma once
// Peak resident memory of this process (VmHWM of /proc/self/status) in kB,
// -1 where the system does not tell. For the benchmarks' memory figures.
#include <QByteArray>
#include <QFile>
#include <cstdio>

inline long peakMemoryKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Starts the peak anew from the memory resident now, so that the next figure
// is the peak of what follows; false where the system does not allow it.
inline bool resetPeakMemory()
{
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f)
        return false;
    const bool done = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && done;
}
