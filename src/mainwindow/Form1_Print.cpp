// Printing the current vocabulary list: per entry the expression of the
// language the trainer asks first on the left, the other one on the right,
// in the order the trainer would use; a header on every page.
#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/clsCursor.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/Printer.h"
#include "platform/PrinterDialog.h"
#include "platform/SystemServices.h"
#include "selection/Liste.h"
#include "trainer/Trainer.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <utility>

namespace {

// Whole numbers from layout measures round halves to even, like every
// stored size of the program.
long roundEven(double value) { return std::lrint(value); }

// Ends of the prefixes of a text, one per whole character (a surrogate pair
// is one character, never split by a cut).
QList<int> prefixEnds(const QString& text)
{
    QList<int> ends;
    ends.reserve(text.size() + 1);
    ends << 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        ends << i + 1;
    }
    return ends;
}

// The largest k below limitCount for which fits(k) holds, 0 when none does.
// Widths of prefixes grow with their length, so a binary search finds it;
// the short walks afterwards settle any wrinkle that kerning may leave.
int longestFitting(int limitCount, const std::function<bool(int)>& fits)
{
    int lo = 0, hi = limitCount - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    while (lo + 1 < limitCount && fits(lo + 1))
        ++lo;
    while (lo > 0 && !fits(lo))
        --lo;
    return lo;
}

struct PrinterOfJob {
    Printer*& slot;
    PrinterOfJob(Printer*& s, Printer* p) : slot(s) { slot = p; }
    ~PrinterOfJob() { slot = nullptr; }
};

// The busy cursor over the windows a print is started from (the main window
// and the list), while the print runs: a long list takes seconds.
class BusyWhilePrinting {
public:
    BusyWhilePrinting()
    {
        m_main.SetCursorToBusy(&Forms::form1());
        m_list.SetCursorToBusy(&Forms::liste());
    }
    ~BusyWhilePrinting()
    {
        m_main.RestoreCursor(&Forms::form1());
        m_list.RestoreCursor(&Forms::liste());
    }
    BusyWhilePrinting(const BusyWhilePrinting&) = delete;
    BusyWhilePrinting& operator=(const BusyWhilePrinting&) = delete;

private:
    clsCursor m_main, m_list;
};

} // namespace

void Form1::Datei_Drucken_Click()
{
    // Shape 1: a failure after the printer dialog is reported and ends the
    // job at once; the unfinished document is thrown away.
    ErrorHandling::reportAndLeave([&] {
        Trainer& trainer = Forms::trainer();

        QString order;
        if (trainer.OptSequentiell)
            order = tr2(QStringLiteral("For the Trainer the option 'sequential' is set. The vocabulary will be printed "
                                       "out in the same order as currently in the Vocab List."),
                        QStringLiteral("Für den Vokabeltrainer ist die Option 'Sequentiell' eingestellt. Die Vokabeln "
                                       "werden in der selben Reihenfolge wie in der Vokabelliste ausgedruckt."));
        else if (trainer.OptShuffle)
            order = tr2(QStringLiteral("For the Trainer the option 'Shuffle' is set. The vocabulary will be shuffled "
                                       "before printed out."),
                        QStringLiteral("Für den Vokabeltrainer ist die Option 'Mischen' eingestellt. Die Vokabeln "
                                       "werden vor dem Ausdrucken gemischt."));
        else if (trainer.OptRandom)
            order = tr2(QStringLiteral("For the Trainer the option 'Random' is set. The vocabulary will be shuffled "
                                       "before printed out."),
                        QStringLiteral("Für den Vokabeltrainer ist die Option 'Random' eingestellt. Die Vokabeln "
                                       "werden vor dem Ausdrucken gemischt."));
        const QString prompt =
            order
            + tr2(QStringLiteral("If you want to print out the vocabulary in a different order, change the order "
                                 "option or sort the vocabulary in the Vocab List."),
                  QStringLiteral("Wenn Sie die Vokabeln in einer anderen Reihenfolge drucken wollen, ändern Sie die "
                                 "Reihenfolgenoption bzw. sortieren Sie die Vokabeln in der Vokabelliste."))
            + QStringLiteral("\r\r")
            + tr2(QStringLiteral("Shall the vocabulary be printed out in the current order?"),
                  QStringLiteral("Sollen die Vokabeln in der aktuell eingestellten Reihenfolge ausgedruckt werden?"));
        if (MsgBox(prompt, MsgStyle::YesNo,
                   tr2(QStringLiteral("Order of vocabulary OK?"), QStringLiteral("Vokabelreihenfolge OK?")))
            != MsgResult::Yes)
            return;

        Printer printer;
        try {
            PrinterDialog::ShowPrinter(printer, this);
        } catch (...) {
            return; // Cancel, or a dialog that failed: nothing to print, nothing to say
        }

        {
            const BusyWhilePrinting busy;
            if (trainer.OptShuffle)
                trainer.Command6_Click(); // a new shuffle for this print-out
            const QList<int> rows = PrintOrder();

            PrinterOfJob job(m_printer, &printer);
            PrintPageNumber = 0;
            PrintHeader();
            auto entryFont = [&] {
                printer.setFontSize(12);
                printer.setFontBold(false);
                printer.setFontName(QStringLiteral("Arial"));
            };
            entryFont();

            MSFlexGrid& grid = *Forms::liste().MSFlexGrid1;
            const int leftCol = trainer.OptSpanisch1st ? Liste::txtSpanisch : Liste::txtDeutsch;
            const int rightCol = trainer.OptSpanisch1st ? Liste::txtDeutsch : Liste::txtSpanisch;
            for (const int r : rows) {
                // Read through the current cell, which stays on the last printed row.
                grid.setRow(r);
                grid.setCol(leftCol);
                const QString left = grid.Text();
                grid.setCol(rightCol);
                const QString right = grid.Text();
                PrintRow(left, right);
                printer.CurrentY = printer.CurrentY + printer.TextHeight(left) / 4;
                if (printer.CurrentY > roundEven(printer.ScaleHeight()) - 7 * PrintMargin) {
                    printer.NewPage();
                    PrintHeader();
                    entryFont();
                }
            }
            printer.EndDoc();
        }
        if (printer.pagesPrinted() == 0) {
            // A page range after the end of the list: say so instead of printing nothing silently.
            const int pages = printer.pagesStarted();
            MsgBox(tr2(QStringLiteral("The chosen pages (%1) do not exist: the print-out has %2. Nothing was "
                                      "printed."),
                       QStringLiteral("Die gewählten Seiten (%1) gibt es nicht: der Ausdruck hat %2. Es wurde "
                                      "nichts gedruckt."))
                       .arg(printer.chosenPages(),
                            pages == 1 ? tr2(QStringLiteral("one page"), QStringLiteral("eine Seite"))
                                       : tr2(QStringLiteral("%1 pages"), QStringLiteral("%1 Seiten")).arg(pages)),
                   MsgStyle::Exclamation);
        }
    });
}

// The list rows in the order of the print-out.
QList<int> Form1::PrintOrder()
{
    Trainer& trainer = Forms::trainer();
    // The hidden placeholder row of an empty list is no entry.
    const int count = Forms::liste().entryCount();
    QList<int> rows;
    rows.reserve(count);
    if (trainer.OptShuffle && !trainer.OptSequentiell) {
        for (int i = 1; i <= count; ++i) {
            const int r = trainer.returnSequenz(i);
            // A position the trainer does not hold has been reported by it.
            if (r >= 1 && r <= count)
                rows << r;
        }
    } else if (trainer.OptRandom && !trainer.OptSequentiell) {
        // The trainer keeps no order for random training, yet the question
        // promised a shuffled print-out: draw one here.
        rows.resize(count);
        std::iota(rows.begin(), rows.end(), 1);
        SystemServices::randomize();
        for (int i = count - 1; i > 0; --i) {
            const int j = std::min(i, static_cast<int>((i + 1) * SystemServices::rnd()));
            std::swap(rows[i], rows[j]);
        }
    } else {
        for (int i = 1; i <= count; ++i)
            rows << i;
    }
    return rows;
}

void Form1::PrintHeader()
{
    ErrorHandling::reportAndPassOn([&] {
        Printer& p = *m_printer;
        p.setFontName(QStringLiteral("Arial"));
        p.setFontSize(8);
        ++PrintPageNumber;
        const QString text = tr2(QStringLiteral("page"), QStringLiteral("Seite")) + QString::number(PrintPageNumber);
        p.CurrentX = (roundEven(p.ScaleWidth()) - p.TextWidth(text)) / 2;
        p.Print(text);

        p.setFontSize(8);
        // A path too long for the page starts at its left edge instead of before it.
        p.CurrentX = std::max(0.0, roundEven(p.ScaleWidth()) - p.TextWidth(DBName) - 10 * PrintMargin);
        p.Print(DBName);
        p.CurrentY = p.CurrentY + p.TextHeight(DBName);

        p.setFontSize(10);
        p.setFontBold(true);
        if (Forms::trainer().OptSpanisch1st)
            PrintRow(lang1, lang2);
        else
            PrintRow(lang2, lang1);
        p.setFontBold(false);
        p.CurrentY = p.CurrentY + p.TextHeight(lang1);
    });
}

void Form1::PrintRow(const QString& str1, const QString& str2)
{
    ErrorHandling::reportAndPassOn([&] {
        Printer& p = *m_printer;
        const double y = roundEven(p.CurrentY);
        p.CurrentX = PrintMargin;
        p.Print(StringCut(str1));
        p.CurrentY = y;
        const double middle = (roundEven(p.ScaleWidth()) - 2 * PrintMargin) / 2.0 + PrintMargin;
        p.CurrentX = middle;
        p.Print(CutRightColumn(str2, middle));
    });
}

// The left column's text, cut with "..." so that at least one margin stays
// free before the right column.
QString Form1::StringCut(const QString& str)
{
    QString result;
    ErrorHandling::reportAndPassOn([&] {
        Printer& p = *m_printer;
        const long limit = roundEven((roundEven(p.ScaleWidth()) - 2 * PrintMargin) / 2.0);
        auto fitsText = [&](const QString& t) { return roundEven(p.TextWidth(t) + PrintMargin) <= limit; };
        if (fitsText(str)) {
            result = str;
            return;
        }
        const QList<int> ends = prefixEnds(str);
        const int chars = ends.size() - 1;
        // The longest shorter prefix that fits (at least the empty one), less
        // one more character, then the dots.
        const int k = longestFitting(chars, [&](int n) { return fitsText(str.left(ends[n])); });
        result = str.left(ends[std::max(0, k - 1)]) + QStringLiteral("...");
    });
    return result;
}

// The right column runs on to the edge of the printable area; a text that
// would run past it ends in "..." within it instead of being lost at the edge.
QString Form1::CutRightColumn(const QString& str, double left)
{
    Printer& p = *m_printer;
    const double available = p.ScaleWidth() - left;
    if (p.TextWidth(str) <= available)
        return str;
    const QString dots = QStringLiteral("...");
    const QList<int> ends = prefixEnds(str);
    const int k =
        longestFitting(ends.size() - 1, [&](int n) { return p.TextWidth(str.left(ends[n]) + dots) <= available; });
    return str.left(ends[k]) + dots;
}
