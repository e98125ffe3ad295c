#pragma once
// One step timed several times in the same run. On a shared machine a single
// timing swings with the load; the fastest of several is what the work costs,
// the median how it usually goes, and ratios are taken between fastest times.
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// The middle value (the upper one of an even count); -1 for none.
inline double median(std::vector<double> v)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Timing {
    double fastestMs = 0;
    double medianMs = 0;
    int runs = 0;

    // "fastest 12.3 ms, median 13.1 ms of 5"
    std::string text(int decimals = 1) const
    {
        char s[96];
        std::snprintf(s, sizeof s, "fastest %.*f ms, median %.*f ms of %d", decimals, fastestMs, decimals, medianMs, runs);
        return s;
    }
};

// Runs work `runs` times, each after an untimed `before` (which puts back the
// state the work starts from), and times each run of work.
inline Timing timeRuns(int runs, const std::function<void()>& work, const std::function<void()>& before = {})
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return {*std::min_element(ms.begin(), ms.end()), median(ms), runs};
}
