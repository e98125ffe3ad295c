// How long shortening a language name to a label's width takes for a name of
// 100,000 characters (the main window does it on every activation).
#include "common/TextProcs.h"

#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget window;

    QString name;
    for (int i = 0; name.size() < 100000; ++i)
        name += QStringLiteral("Spanisch%1 ").arg(i);
    name.truncate(100000);

    // A label's width, one far too narrow, and one the whole name fits.
    const int wide = TextWidthTwips(name, &window);
    for (int width : {3000, -1000, wide}) {
        constexpr int kRuns = 20;
        QString result;
        const auto start = std::chrono::steady_clock::now();
        for (int r = 0; r < kRuns; ++r)
            result = FitTextToWidth(name, width, &window);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count()
                          / kRuns;
        std::printf("FitTextToWidth, 100,000 characters, width %d twips: %.3f ms (result %lld characters)\n", width, ms,
                    static_cast<long long>(result.size()));
    }
    return 0;
}
