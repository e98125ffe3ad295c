// How fast the list grid takes a long vocabulary list: 100,000 rows of 24
// cells written the way the list build writes them (AddItem, then Row/Col/Text
// per cell), a sort by a language column, hiding rows, and the peak memory.
#include "ProcessMemory.h"
#include "platform/MSFlexGrid.h"

#include <QApplication>
#include <QFile>
#include <QTableView>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 24;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A word that varies in case and letters so the sort has real work.
QString word(int i)
{
    QString w;
    unsigned x = unsigned(i) * 2654435761u;
    for (int k = 0; k < 8; ++k) {
        const char base = (x & 1) ? 'A' : 'a';
        w += QChar(base + char((x >> 3) % 26));
        x = x * 1103515245u + 12345u;
    }
    return w;
}

void buildList(MSFlexGrid& grid)
{
    for (int r = 1; r <= kRows; ++r) {
        grid.AddItem(QString());
        grid.setRow(grid.Rows() - 1);
        for (int c = 1; c < kCols; ++c) {
            grid.setCol(c);
            grid.setText(c == 2 ? word(r) : c == 1 ? QString::number(r) : QStringLiteral("Zelle %1").arg(c));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    MSFlexGrid grid;
    grid.resize(1000, 700);
    grid.setCols(kCols);
    grid.setRows(1);

    auto start = std::chrono::steady_clock::now();
    buildList(grid);
    std::printf("append %d rows x %d cells (AddItem + Row/Col/Text), hidden: %.3f s\n", kRows, kCols, secondsSince(start));

    // The same while the list is on screen (a new list built with the window open).
    grid.show();
    grid.setRows(1);
    start = std::chrono::steady_clock::now();
    buildList(grid);
    QApplication::processEvents();
    std::printf("append %d rows x %d cells, shown: %.3f s\n", kRows, kCols, secondsSince(start));

    start = std::chrono::steady_clock::now();
    grid.setCol(2);
    grid.setSort(5);
    std::printf("sort by a language column (Sort = 5): %.3f s\n", secondsSince(start));

    start = std::chrono::steady_clock::now();
    for (int r = 1; r <= kRows; r += 2)
        grid.setRowHeight(r, 0);
    QApplication::processEvents();
    std::printf("hide every second row: %.3f s\n", secondsSince(start));

    start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) {
        grid.setTopRow(1 + i * (kRows / 20));
        grid.grab();
    }
    std::printf("scroll and paint 20 times with hidden rows: %.3f s\n", secondsSince(start));

    start = std::chrono::steady_clock::now();
    grid.setCol(1);
    grid.setSort(5);
    QApplication::processEvents();
    std::printf("sort again with hidden rows, shown: %.3f s\n", secondsSince(start));

    std::printf("peak memory (VmHWM): %s\n", qPrintable(QStringLiteral("%1 kB").arg(peakMemoryKb())));
    return 0;
}
