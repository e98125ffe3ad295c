// The text procedures on any text: nothing crashes, and each gives exactly
// what it promises: the composed expression, the text without blanks (only
// character 32) at either end, the digit 0..9 of a one-digit text, the letter
// test, the first '@' or ';' with its message, the comparison by character
// codes, the date form of an eight-character text, the cut that keeps a
// character outside the basic plane whole, and the shortening with "...".
// Input: two bytes of number (a width or a length), then up to four texts
// separated by newlines.
#include "FuzzSupport.h"

#include "common/TextProcs.h"

#include <QWidget>
#include <algorithm>
#include <string_view>

namespace {

// Where a text may be cut: not between the two halves of a surrogate pair.
bool wholeAt(const QString& s, qsizetype k)
{
    return k <= 0 || k >= s.size() || !(s.at(k - 1).isHighSurrogate() && s.at(k).isLowSurrogate());
}

qsizetype firstCharacterLength(const QString& s) { return wholeAt(s, 1) ? 1 : 2; }

// Widths that grow with the text: every UTF-16 unit adds 0 to 12.
int additiveWidth(const QString& t)
{
    int w = 0;
    for (const QChar c : t)
        w += c.unicode() * 7 % 13;
    return w;
}

// FitTextToWidth as its rule says, for widths that grow with the text: the
// text if it fits; else the longest start of whole characters that fits with
// "...", at least the first character (then it may still be too wide).
QString fittedByRule(const QString& text, int width, int (*measure)(const QString&))
{
    if (measure(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    const qsizetype first = firstCharacterLength(text);
    for (qsizetype k = text.size(); k > first; --k)
        if (wholeAt(text, k) && measure(text.left(k) + dots) <= width)
            return text.left(k) + dots;
    return text.left(first) + dots;
}

// What FitTextToWidth keeps with any widths, those of a font included (whose
// widths need not grow with the text: a fallback font may shape "..." after
// one script narrower than after another): an unchanged text fits; otherwise
// a start of whole characters, at least the first, with "...", which fits
// unless it is the first character alone.
void checkFitInWindow(const QString& text, int width, const QWidget* window)
{
    const QString fit = FitTextToWidth(text, width, window);
    if (fit == text) {
        if (TextWidthTwips(text, window) > width)
            fuzz::fail("FitTextToWidth: unchanged though too wide", text);
        return;
    }
    const qsizetype k = fit.size() - 3;
    const qsizetype first = firstCharacterLength(text);
    if (k < 0 || !fit.endsWith(QStringLiteral("...")) || fit.left(k) != text.left(k))
        fuzz::fail("FitTextToWidth: not a start of the text with \"...\"", text);
    if (!wholeAt(text, k) || k < std::min(first, text.size()) || (k >= text.size() && text.size() > first))
        fuzz::fail("FitTextToWidth: not a start of whole characters, the first kept, shorter than the text", text);
    if (k > first && TextWidthTwips(fit, window) > width)
        fuzz::fail("FitTextToWidth: too wide", text);
}

int sign(int v) { return (v > 0) - (v < 0); }

} // namespace

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
    const QChar blank(u' ');

    // Each of the parts after the first follows what is built so far with one
    // blank, unless either is empty or that ends in a blank; the comment in brackets.
    QString built = parts[0];
    for (int i = 1; i < 4; ++i) {
        const QString part = i == 3 && !parts[3].isEmpty() ? QLatin1Char('(') + parts[3] + QLatin1Char(')') : parts[i];
        if (!built.isEmpty() && !part.isEmpty() && !built.endsWith(blank))
            built += blank;
        built += part;
    }
    if (generiereAusdruck(parts[0], parts[1], parts[2], parts[3]) != built)
        fuzz::fail("generiereAusdruck", built);

    const QString e = extract(s);
    const qsizetype lead = std::find_if(s.begin(), s.end(), [&](QChar c) { return c != blank; }) - s.begin();
    if (e.startsWith(blank) || e.endsWith(blank) || s.mid(lead, e.size()) != e
        || s.mid(lead + e.size()).count(blank) != s.size() - lead - e.size())
        fuzz::fail("extract", s);

    const bool oneDigit = s.size() == 1 && s[0] >= u'0' && s[0] <= u'9';
    if (MyStoI(s) != (oneDigit ? s[0].unicode() - u'0' : 0))
        fuzz::fail("MyStoI", s);
    const bool oneLetter = s.size() == 1 && ((s[0] >= u'A' && s[0] <= u'Z') || (s[0] >= u'a' && s[0] <= u'z'));
    if (IsBuchstabe(s) != oneLetter)
        fuzz::fail("IsBuchstabe", s);

    const auto internal = std::find_if(s.begin(), s.end(), [](QChar c) { return c == u'@' || c == u';'; });
    const qsizetype at = internal == s.end() ? 0 : internal - s.begin() + 1;
    if (CheckForInternalCharacters(s) != at || msgs.shown.size() != (at > 0 ? 1 : 0)
        || (at > 0
            && msgs.lastPrompt()
                   != QStringLiteral("Die Zeichen '@' und ';' werden intern verwendet und "
                                     "dürfen nicht eingegeben werden!")))
        fuzz::fail("CheckForInternalCharacters", s);

    // By UTF-16 code units up to the shorter length; a text that starts the other is equal.
    const qsizetype common = std::min(s.size(), parts[1].size());
    auto units = [&](const QString& t) {
        return std::u16string_view(reinterpret_cast<const char16_t*>(t.utf16()), size_t(common));
    };
    const int byCodes = units(s).compare(units(parts[1]));
    if (TextualStrComp(s, parts[1]) != sign(byCodes))
        fuzz::fail("TextualStrComp", s + QStringLiteral(" | ") + parts[1]);

    const QString date = s.size() == 8 ? s.mid(6, 2) + u'.' + s.mid(4, 2) + u'.' + s.mid(2, 2) : s;
    if (FormatDBDate(s) != date)
        fuzz::fail("FormatDBDate", s);

    // At most n units, n of them when the text is longer, one less only where
    // the nth would halve a surrogate pair.
    const int n = number - 100;
    const QString cut = CutToLength(s, n);
    const qsizetype wanted = s.size() <= n ? s.size() : std::max(n, 0);
    if (cut != s.left(wholeAt(s, wanted) ? wanted : wanted - 1))
        fuzz::fail("CutToLength", s);

    const int narrow = number % 512;
    if (FitTextToWidth(s, narrow, [](const QString& t) { return additiveWidth(t); })
        != fittedByRule(s, narrow, additiveWidth))
        fuzz::fail("FitTextToWidth: not the longest start that fits", s);
    checkFitInWindow(s, number * 4, &window);
    return 0;
}
