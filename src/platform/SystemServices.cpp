#include "platform/SystemServices.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdlib>

namespace {
std::function<QDateTime()> g_clock;
std::function<float()> g_random;
std::function<void()> g_reseed;
std::function<void(int)> g_end;
QRandomGenerator g_generator;
} // namespace

namespace SystemServices {

QDateTime now() { return g_clock ? g_clock() : QDateTime::currentDateTime(); }
void setClock(std::function<QDateTime()> clock) { g_clock = std::move(clock); }

void randomize()
{
    if (g_random) {
        if (g_reseed)
            g_reseed();
        return;
    }
    g_generator.seed(quint32(QDateTime::currentMSecsSinceEpoch()));
}

float rnd()
{
    if (g_random)
        return g_random();
    // 24 random bits give every single-precision value in [0, 1) evenly.
    return float(g_generator.generate() >> 8) / float(1u << 24);
}

void setRandomSource(std::function<float()> source, std::function<void()> reseed)
{
    g_random = std::move(source);
    g_reseed = std::move(reseed);
}

void endProcess(int code)
{
    if (g_end)
        g_end(code);
    std::_Exit(code);
}

void setEndProcess(std::function<void(int)> endFunction) { g_end = std::move(endFunction); }

} // namespace SystemServices
