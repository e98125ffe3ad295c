#pragma once
// Peak resident memory of this process (VmHWM of /proc/self/status) in kB,
// -1 where the system does not tell. For the benchmarks' memory figures.
#include <QByteArray>
#include <QFile>

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
