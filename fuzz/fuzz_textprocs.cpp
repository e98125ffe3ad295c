// The text procedures on any text: nothing crashes, and each keeps its promise
// (blanks only at neither end, one digit 0..9, cutting to a prefix, shortening
// with "..." to the longest prefix that fits the width).
// Input: two bytes of number (a width or a length), then up to four texts
// separated by newlines.
#include "FuzzSupport.h"

#include "common/TextProcs.h"

#include <QWidget>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return -1;
    FakeMessageService& msgs = fuzz::setUp();
    static QWidget window;
    const int number = data[0] | (data[1] << 8);
    QStringList parts = fuzz::text(data + 2, size - 2).split(u'\n');
    while (parts.size() < 4)
        parts << QString();
    const QString& s = parts[0];

    generiereAusdruck(parts[0], parts[1], parts[2], parts[3]);
    const QString e = extract(s);
    if (e.startsWith(u' ') || e.endsWith(u' ') || !s.contains(e) || extract(e) != e)
        fuzz::fail("extract", s);
    if (const int d = MyStoI(s); d < 0 || d > 9)
        fuzz::fail("MyStoI", s);
    IsBuchstabe(s);
    const int at = CheckForInternalCharacters(s);
    if (at < 0 || at > s.size() || (at > 0 && s.at(at - 1) != u'@' && s.at(at - 1) != u';')
        || (at > 0) != !msgs.shown.isEmpty())
        fuzz::fail("CheckForInternalCharacters", s);
    if (TextualStrComp(s, parts[1]) != -TextualStrComp(parts[1], s))
        fuzz::fail("TextualStrComp", s);
    if (const QString f = FormatDBDate(s); f.size() != s.size())
        fuzz::fail("FormatDBDate", s);
    const int n = number - 100;
    if (CutToLength(s, n) != (s.size() > n ? s.left(std::max(n, 0)) : s))
        fuzz::fail("CutToLength", s);

    const QString& longText = s;
    const int width = number * 4;
    const QString fit = FitTextToWidth(longText, width, &window);
    if (fit != longText) {
        const QString dots = QStringLiteral("...");
        const qsizetype m = fit.size() - 3;
        if (!fit.endsWith(dots) || m < 0 || m > longText.size() || fit.left(m) != longText.left(m))
            fuzz::fail("FitTextToWidth: not a prefix with dots", longText);
        if (TextWidthTwips(fit, &window) > width && fit.size() >= 5)
            fuzz::fail("FitTextToWidth: too wide", longText);
        if (m < longText.size() && TextWidthTwips(longText.left(m + 1) + dots, &window) <= width)
            fuzz::fail("FitTextToWidth: not the longest prefix that fits", longText);
    }
    return 0;
}
