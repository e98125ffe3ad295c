#pragma once
// Peak resident memory of this process (VmHWM of /proc/self/status) in kB,
// -1 where the system does not tell. For the benchmarks' memory figures.
// And the allocator's setting for the program's way of using memory.
#include <QByteArray>
#include <QFile>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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

// A list of 100,000 entries holds about two million small texts, and building
// it anew frees them all at once. Kept in glibc's fast bins, they are merged
// at the next larger allocation, in the middle of the new build (about 0.1 s);
// freed into the ordinary bins at once, they cost nothing later.
inline void freeSmallBlocksAtOnce()
{
#ifdef __GLIBC__
    mallopt(M_MXFAST, 0);
#endif
}
