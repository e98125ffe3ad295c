// The options window with many equal-character pairs: the time of opening it
// (load and activation fill the pair grid from the pair table) and of Apply
// (the pairs stored, read back, the trainer restarted), for each number of
// pairs given (300, 3,000 and 30,000 unless told). Both should grow in step
// with the number of pairs.
//   bench_options_pairs [pairs...]
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/MSFlexGrid.h"
#include "platform/SettingsStore.h"
#include "support/FakeMessageService.h"
#include "trainer/frmOptions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// n distinct pairs of single characters of the basic plane.
void storePairs(int n)
{
    QSettings s(SettingsStore::fileName(gAppName), QSettings::IniFormat);
    s.remove(QStringLiteral("Exceptions"));
    for (int i = 0; i < n; ++i)
        s.setValue(QStringLiteral("Exceptions/Exc_%1").arg(i + 1),
                   QString(QChar(0x4E00 + i / 200)) + QChar(0x5000 + i % 200));
    s.sync();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir settings;
    SettingsStore::setRoot(settings.path());
    InitGlobals();
    ScopedFakeMessages msgs;

    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {300, 3000, 30000};

    // The first window pays once for fonts and pictures: a window without
    // pairs goes first, so that the figures compare the pairs alone.
    sizes.insert(sizes.begin(), 0);
    double firstOpen = 0, firstApply = 0;
    for (const int n : sizes) {
        storePairs(n);
        Form1& f = Forms::form1();
        f.NumExceptions = 0;
        f.GetExceptions();

        QElapsedTimer t;
        t.start();
        auto* w = new frmOptions;
        w->show(); // activation fills the grid again
        const double open = t.nsecsElapsed() / 1e6;
        const int rows = w->MSFlexGrid1->Rows();

        t.restart();
        w->cmdApply_Click();
        const double apply = t.nsecsElapsed() / 1e6;
        delete w;
        if (n == 0)
            continue;

        if (firstOpen == 0) {
            firstOpen = open;
            firstApply = apply;
        }
        std::printf("%6d pairs: open %9.1f ms (%.1f x the first), Apply %9.1f ms (%.1f x the first); "
                    "%d grid rows, %d pairs read back\n",
                    n, open, open / firstOpen, apply, apply / firstApply, rows, f.NumExceptions);
        std::fflush(stdout);
    }
    if (!msgs->shown.isEmpty())
        std::printf("a box was shown: %s\n", qPrintable(msgs->lastPrompt()));
    return 0;
}
