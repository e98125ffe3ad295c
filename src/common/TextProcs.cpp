#include "common/TextProcs.h"

#include "common/Global.h"
#include "platform/MessageService.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace {
bool endsInBlank(const QString& t) { return !t.isEmpty() && t.back() == QLatin1Char(' '); }
} // namespace

QString generiereAusdruck(const QString& s1, const QString& s2, const QString& s3, const QString& s4)
{
    QString t = s1;
    // Only the end of what is built so far is looked at: a part's own blanks stay.
    for (const QString* part : {&s2, &s3}) {
        if (!t.isEmpty() && !part->isEmpty() && !endsInBlank(t))
            t += QLatin1Char(' ');
        t += *part;
    }
    if (!t.isEmpty() && !s4.isEmpty() && !endsInBlank(t))
        t += QLatin1Char(' ');
    if (!s4.isEmpty())
        t += QLatin1Char('(') + s4 + QLatin1Char(')');
    return t;
}

QString extract(const QString& str)
{
    qsizetype first = 0;
    qsizetype last = str.size() - 1;
    while (first <= last && str.at(first) == QLatin1Char(' '))
        ++first;
    while (last >= first && str.at(last) == QLatin1Char(' '))
        --last;
    return first > last ? QString() : str.mid(first, last - first + 1);
}

int MyStoI(const QString& str)
{
    if (str.size() == 1 && str.at(0) >= QLatin1Char('0') && str.at(0) <= QLatin1Char('9'))
        return str.at(0).unicode() - u'0';
    return 0;
}

bool IsBuchstabe(const QString& str)
{
    if (str.size() != 1)
        return false;
    const char16_t c = str.at(0).unicode();
    return (c >= 65 && c <= 90) || (c >= 97 && c <= 122);
}

int CheckForInternalCharacters(const QString& str)
{
    for (qsizetype i = 0; i < str.size(); ++i) {
        if (str.at(i) == QLatin1Char('@') || str.at(i) == QLatin1Char(';')) {
            MsgBox(QStringLiteral("Die Zeichen '@' und ';' werden intern verwendet und dürfen nicht eingegeben werden!"),
                   MsgStyle::OKOnly, appTitle());
            return int(i + 1);
        }
    }
    return 0;
}

int TextualStrComp(const QString& str1, const QString& str2)
{
    const qsizetype n = std::min(str1.size(), str2.size());
    // Comparing ever longer prefixes comes down to the first differing character.
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t a = str1.at(i).unicode();
        const char16_t b = str2.at(i).unicode();
        if (a != b)
            return a < b ? -1 : 1;
    }
    return 0;
}

QString FormatDBDate(const QString& text)
{
    if (text.size() != 8)
        return text;
    return text.mid(6, 2) + QLatin1Char('.') + text.mid(4, 2) + QLatin1Char('.') + text.mid(2, 2);
}

qsizetype WholeCharacterLength(const QString& text, qsizetype n)
{
    if (n <= 0)
        return 0;
    if (n >= text.size())
        return text.size();
    return text.at(n - 1).isHighSurrogate() && text.at(n).isLowSurrogate() ? n - 1 : n;
}

QString CutToLength(const QString& text, int n)
{
    if (text.size() > n)
        return text.left(WholeCharacterLength(text, n));
    return text;
}

int TextWidthTwips(const QString& text, const QWidget* window)
{
    const QFont font = window ? window->font() : QApplication::font();
    return Twips::fromPixelsX(QFontMetrics(font).horizontalAdvance(text));
}

QString FitTextToWidth(const QString& text, int width, const QWidget* window)
{
    return FitTextToWidth(text, width, [window](const QString& t) { return TextWidthTwips(t, window); });
}

QString FitTextToWidth(const QString& text, int width, const std::function<int(const QString&)>& measure)
{
    // Widths grow with the prefix, so the cut is found by halving instead of
    // one character per step. Longer and longer prefixes are tried first, so a
    // very long text is not measured whole when a short prefix is already too wide.
    const qsizetype n = text.size();
    qsizetype tooWide = n + 1; // a prefix length known not to fit
    for (qsizetype m = 64; m < n; m *= 16) {
        if (measure(text.left(m)) > width) {
            tooWide = m;
            break;
        }
    }
    if (tooWide > n) {
        if (measure(text) <= width)
            return text;
        tooWide = n;
    }
    const QString dots = QStringLiteral("...");
    // The first character is kept in any case; a surrogate pair is one character.
    const qsizetype first = text.size() >= 2 && WholeCharacterLength(text, 1) == 0 ? 2 : 1;
    if (n <= first)
        return text + dots;
    // The longest prefix longer than the first character that fits with "...",
    // else the first character; no prefix ends inside a surrogate pair.
    qsizetype lo = first, hi = tooWide - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (measure(text.left(WholeCharacterLength(text, mid)) + dots) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(WholeCharacterLength(text, lo)) + dots;
}
