#include "engine/JetSql.h"

#include "engine/UiLanguage.h"

#include <algorithm>

namespace jetsql {

namespace {

enum class Tok { Word, Ident, Text, Number, Other, Space };

// Tokens point into the statement; only texts carry a value of their own
// (quotes removed, doubled quotes made single).
struct Token {
    Tok kind;
    QStringView text;
    QString value;
};

[[gnu::always_inline]] inline bool isAsciiLetter(char16_t u)
{
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

[[gnu::always_inline]] inline bool isWordStart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return isAsciiLetter(u) || u == '_';
    return c.isLetter();
}

[[gnu::always_inline]] inline bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return isAsciiLetter(u) || (u >= '0' && u <= '9') || u == '_' || u == '$';
    return c.isLetterOrNumber();
}

[[gnu::always_inline]] inline bool isDigit(QChar c)
{
    return c.unicode() < 128 ? (c.unicode() >= '0' && c.unicode() <= '9') : c.isDigit();
}

enum class Lexed { Done, Stopped, OpenQuote, OpenBracket, OpenBacktick };

// The one lexer of statements: hands each token to
// `token(kind, start, end, value)` in order, [start, end) its span in `s`
// (each space a token of its own; a name keeps its brackets; "1abc" is Other).
// For a text, `value` holds it without its quotes, doubled quotes made single;
// the callee may move it away. Stops where `token` returns false.
template <class OnToken>
[[gnu::always_inline]] inline Lexed lex(const QString& s, QString& value, OnToken&& token)
{
    const QChar* p = s.constData();
    const int n = s.size();
    int i = 0;
    while (i < n) {
        const QChar c = p[i];
        const char16_t u = c.unicode();
        Tok kind;
        int j = i + 1;
        if (u == ' ' || c.isSpace()) {
            kind = Tok::Space;
        } else if (u == '\'' || u == '"') {
            // Jet takes both quote characters for texts.
            j = i;
            if (!readQuoted(s, j, value))
                return Lexed::OpenQuote;
            kind = Tok::Text;
        } else if (u == '[' || u == '`') {
            const char16_t close = u == '[' ? u']' : u'`';
            while (j < n && p[j].unicode() != close)
                ++j;
            if (j >= n)
                return u == '[' ? Lexed::OpenBracket : Lexed::OpenBacktick;
            ++j;
            kind = Tok::Ident;
        } else if (isDigit(c) || (u == '.' && j < n && isDigit(p[j]))) {
            while (j < n && (isDigit(p[j]) || p[j].unicode() == '.'))
                ++j;
            if (j < n && (p[j].unicode() == 'e' || p[j].unicode() == 'E')) {
                int k = j + 1;
                if (k < n && (p[k].unicode() == '+' || p[k].unicode() == '-'))
                    ++k;
                if (k < n && isDigit(p[k])) {
                    while (k < n && isDigit(p[k]))
                        ++k;
                    j = k;
                }
            }
            kind = Tok::Number;
            if (j < n && isWordStart(p[j])) {
                // "1abc" is no number: leave it to SQLite as it is
                while (j < n && isWordChar(p[j]))
                    ++j;
                kind = Tok::Other;
            }
        } else if (isWordStart(c)) {
            while (j < n && isWordChar(p[j]))
                ++j;
            kind = Tok::Word;
        } else {
            if (j < n) {
                const char16_t u2 = p[j].unicode();
                if ((u == '<' && (u2 == '>' || u2 == '=')) || (u == '>' && u2 == '=') || (u == '!' && u2 == '=')
                    || (u == '|' && u2 == '|'))
                    ++j;
            }
            kind = Tok::Other;
        }
        if (!token(kind, i, j, value))
            return Lexed::Stopped;
        i = j;
    }
    return Lexed::Done;
}

// Splits the statement; false (and why) when a quote or bracket is not closed.
bool tokenize(const QString& s, std::vector<Token>& out, QString& error)
{
    QString value;
    const Lexed r = lex(s, value, [&](Tok kind, int start, int end, QString& v) {
        switch (kind) {
        case Tok::Space:
            if (out.empty() || out.back().kind != Tok::Space) // a run of spaces is one
                out.push_back({kind, QStringView(u" "), {}});
            break;
        case Tok::Text:
            out.push_back({kind, {}, std::move(v)});
            break;
        case Tok::Ident:
            out.push_back({kind, QStringView(s).mid(start + 1, end - start - 2), {}});
            break;
        default:
            out.push_back({kind, QStringView(s).mid(start, end - start), {}});
        }
        return true;
    });
    switch (r) {
    case Lexed::OpenQuote:
        error = tr2(QStringLiteral("text without closing quote"),
                    QStringLiteral("Text ohne schließendes Anführungszeichen"));
        return false;
    case Lexed::OpenBracket:
    case Lexed::OpenBacktick:
        error = tr2(QStringLiteral("missing \"%1\""), QStringLiteral("\"%1\" fehlt"))
                    .arg(r == Lexed::OpenBracket ? QLatin1Char(']') : QLatin1Char('`'));
        return false;
    default:
        return true;
    }
}

bool isKw(const Token& t, const char* kw)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(kw), Qt::CaseInsensitive) == 0;
}

bool endsClause(const Token& t)
{
    return isKw(t, "ORDER") || isKw(t, "GROUP") || isKw(t, "HAVING") || isKw(t, "LIMIT") || isKw(t, "UNION");
}

// Jet's "*" and "?" in a LIKE pattern of a statement become SQLite's "%" and "_".
QString likePattern(const QString& jet)
{
    QString out = jet;
    for (QChar& ch : out) {
        if (ch == QLatin1Char('*'))
            ch = QLatin1Char('%');
        else if (ch == QLatin1Char('?'))
            ch = QLatin1Char('_');
    }
    return out;
}

QVariant numberValue(QStringView text)
{
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (ok)
        return QVariant(v);
    return QVariant(text.toDouble());
}

} // namespace

bool readQuoted(const QString& s, int& i, QString& value)
{
    const QChar q = s[i];
    value.clear();
    for (int j = i + 1; j < s.size(); ++j) {
        if (s[j] != q) {
            value += s[j];
        } else if (j + 1 < s.size() && s[j + 1] == q) {
            value += q;
            ++j;
        } else {
            i = j + 1;
            return true;
        }
    }
    return false;
}

QString shownInMessage(const QString& statement)
{
    constexpr int kShown = 200;
    if (statement.size() <= kShown)
        return statement;
    const int cut = statement.at(kShown - 1).isHighSurrogate() ? kShown - 1 : kShown;
    return statement.left(cut) + QChar(0x2026);
}

QString quoteIdent(const QString& name)
{
    QString v = name;
    v.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

QString quoteText(const QString& text)
{
    QString v = text;
    v.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

namespace {

// A literal of a statement as the shape scan finds it.
using detail::Literal;

constexpr char16_t kNumberMark = 1, kTextMark = 2;

// A word of four characters that is LIKE, in any case.
bool isLike(const QChar* w)
{
    if ((w[0].unicode() | w[1].unicode() | w[2].unicode() | w[3].unicode()) < 128)
        return (w[0].unicode() | 0x20) == 'l' && (w[1].unicode() | 0x20) == 'i' && (w[2].unicode() | 0x20) == 'k'
               && (w[3].unicode() | 0x20) == 'e';
    return QStringView(w, 4).compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0;
}

// The statement with every number and text literal replaced by a mark, and
// the literals in order. False when the statement cannot be split (or holds
// a mark character outside a text).
bool shapeOf(const QString& s, QString& key, std::vector<Literal>& lits)
{
    const QStringView v(s);
    const QChar* p = s.constData();
    key.resize(0); // keeps the buffer of the last call
    lits.clear();
    if (v.contains(QChar(0)))
        return false; // even inside a text: the full translation reports it
    int seg = 0;
    bool afterLike = false;
    auto mark = [&](int start, int end, char16_t m) {
        key.append(p + seg, start - seg);
        key.append(QChar(m));
        seg = end;
    };
    auto isMark = [](QChar c) { return c.unicode() == kNumberMark || c.unicode() == kTextMark; };
    QString value;
    const Lexed r = lex(s, value, [&](Tok kind, int start, int end, QString& text) {
        switch (kind) {
        case Tok::Space:
            return true;
        case Tok::Text:
            lits.push_back({true, afterLike, {}, std::move(text)});
            mark(start, end, kTextMark);
            break;
        case Tok::Number:
            lits.push_back({false, false, QStringView(p + start, end - start), {}});
            mark(start, end, kNumberMark);
            break;
        case Tok::Ident:
            if (std::any_of(p + start, p + end, isMark))
                return false;
            break;
        case Tok::Other:
            if (isMark(p[start]))
                return false;
            break;
        case Tok::Word:
            break;
        }
        afterLike = kind == Tok::Word && end - start == 4 && isLike(p + start);
        return true;
    });
    if (r != Lexed::Done)
        return false;
    key.append(p + seg, s.size() - seg);
    return true;
}

QVariant bindOf(const Literal& lit)
{
    if (!lit.text)
        return numberValue(lit.number);
    return lit.afterLike ? QVariant(likePattern(lit.value)) : QVariant(lit.value);
}

} // namespace

Translated translate(const QString& jetSql, StatementCache& cache)
{
    // The same statement shapes come again and again with other values (three
    // per list entry, each with the entry's ID): translated once per shape.
    if (shapeOf(jetSql, cache.key, cache.literals)) {
        const std::vector<Literal>& lits = cache.literals;
        const detail::ShapeEntry* found = cache.findShape();
        if (!found) {
            detail::ShapeEntry e;
            e.translated = translateText(jetSql);
            const auto& binds = e.translated.binds;
            e.usable = binds.size() == lits.size();
            for (size_t i = 0; e.usable && i < lits.size(); ++i)
                e.usable = binds[i] == bindOf(lits[i]);
            found = &cache.addShape(std::move(e));
            if (found->usable)
                return found->translated;
        }
        if (found->usable) {
            Translated r = found->translated;
            for (size_t i = 0; i < lits.size(); ++i)
                r.binds[i] = bindOf(lits[i]);
            return r;
        }
    }
    // Statements whose literals are not all parameters: by exact text.
    if (const Translated* known = cache.findText(jetSql))
        return *known;
    return cache.addText(jetSql, translateText(jetSql));
}

Translated translateText(const QString& jetSql) { return translateText(jetSql, QStringList()); }

Translated translateText(const QString& jetSql, const QStringList& parameters)
{
    Translated r;
    std::vector<Token> toks;
    toks.reserve(64);
    if (!tokenize(jetSql, toks, r.error)) {
        r.sql = jetSql;
        return r;
    }
    // SQLite would run the first statement and drop the rest without a word.
    if (jetSql.contains(QChar(0))) {
        r.error =
            tr2(QStringLiteral("a NUL character in the statement"), QStringLiteral("ein NUL-Zeichen in der Anweisung"));
        r.sql = jetSql;
        return r;
    }
    const auto semicolon = std::find_if(toks.begin(), toks.end(), [](const Token& t) {
        return t.kind == Tok::Other && t.text == QLatin1String(";");
    });
    if (std::any_of(semicolon, toks.end(), [&](const Token& t) { return &t != &*semicolon && t.kind != Tok::Space; })) {
        r.error = tr2(QStringLiteral("text after \";\""), QStringLiteral("Text nach \";\""));
        r.sql = jetSql;
        return r;
    }
    // SQLite reads these as parameters of its own ("?", "?2", ":name", "@name",
    // "$name", "#name"), which Jet has not: one would take a value meant for
    // a literal's parameter, or stay Null, where Jet refuses the statement.
    const auto parameter = std::find_if(toks.begin(), toks.end(), [](const Token& t) {
        return t.kind == Tok::Other && t.text.size() == 1 && QStringView(u"?:@$#").contains(t.text.front());
    });
    if (parameter != toks.end()) {
        r.error = tr2(QStringLiteral("\"%1\" outside a text or name"),
                      QStringLiteral("\"%1\" außerhalb eines Textes oder Namens"))
                      .arg(parameter->text);
        r.sql = jetSql;
        return r;
    }
    // Index of the first non-space token.
    size_t first = 0;
    while (first < toks.size() && toks[first].kind == Tok::Space)
        ++first;
    r.isSelect = first < toks.size() && isKw(toks[first], "SELECT");

    enum class Region { Head, SelectList, From, Where, Tail } region = Region::Head;
    int depth = 0;
    bool afterLike = false;
    QString fromOnlyIdent;
    int fromIdents = 0, fromOthers = 0;
    QString out;
    out.reserve(jetSql.size() + 16);
    QString selectList;
    QString fromTail;
    QString piece;
    const Token* before = nullptr; // the token before this one that is no space

    for (size_t i = 0; i < toks.size(); ++i) {
        const Token& t = toks[i];
        piece.clear();
        if (i > 0 && toks[i - 1].kind != Tok::Space)
            before = &toks[i - 1];
        if (t.kind == Tok::Other) {
            if (t.text == QLatin1String("("))
                ++depth;
            else if (t.text == QLatin1String(")"))
                --depth;
        }
        if (depth == 0 && t.kind == Tok::Word) {
            if (region == Region::Head && isKw(t, "SELECT") && i == first) {
                region = Region::SelectList;
                out += QStringLiteral("SELECT");
                continue;
            }
            if (region == Region::SelectList && (isKw(t, "DISTINCT") || isKw(t, "DISTINCTROW"))
                && selectList.trimmed().isEmpty()) {
                r.distinct = true;
                out += QStringLiteral("DISTINCT");
                continue;
            }
            if (region == Region::SelectList && isKw(t, "FROM"))
                region = Region::From;
            else if (region == Region::From && isKw(t, "WHERE"))
                region = Region::Where;
            else if ((region == Region::From || region == Region::Where) && endsClause(t))
                region = Region::Tail;
        }
        switch (t.kind) {
        case Tok::Ident: {
            // "T.[name]" is a column, whatever its name.
            const bool qualified = before && before->kind == Tok::Other && before->text == QLatin1String(".");
            const qsizetype parameter =
                region == Region::Where && !qualified
                    ? std::find_if(parameters.begin(), parameters.end(),
                                   [&](const QString& p) { return t.text.compare(p, Qt::CaseInsensitive) == 0; })
                          - parameters.begin()
                    : parameters.size();
            if (parameter < parameters.size()) {
                r.binds.push_back(QVariant());
                r.parameterBinds.emplace_back(int(r.binds.size()) - 1, int(parameter));
                piece = QStringLiteral("?%1").arg(r.binds.size());
            } else {
                piece = quoteIdent(t.text.toString());
            }
            break;
        }
        case Tok::Text: {
            const QString value = afterLike ? likePattern(t.value) : t.value;
            if (region == Region::Where) {
                r.binds.push_back(QVariant(value));
                piece = QStringLiteral("?%1").arg(r.binds.size());
            } else {
                piece = quoteText(value);
            }
            break;
        }
        case Tok::Number:
            if (region == Region::Where) {
                r.binds.push_back(numberValue(t.text));
                piece = QStringLiteral("?%1").arg(r.binds.size());
            } else {
                piece.append(t.text);
            }
            break;
        default:
            piece.append(t.text);
        }
        // A parameter written right before a word ("'a'1OR") would swallow
        // its digits and name another parameter.
        if (piece.startsWith(u'?') && i + 1 < toks.size() && !toks[i + 1].text.isEmpty()
            && toks[i + 1].text.front().isDigit())
            piece += u' ';
        // Jet has no comments: "--" and "/*" are two operators here, and
        // SQLite must not read them as a comment that hides the rest.
        if (!out.isEmpty() && !piece.isEmpty()
            && ((out.back() == u'-' && piece.front() == u'-') || (out.back() == u'/' && piece.front() == u'*')))
            piece.prepend(u' ');
        if (t.kind != Tok::Space)
            afterLike = isKw(t, "LIKE");
        if (region == Region::From && !isKw(t, "FROM") && t.kind != Tok::Space
            && !(t.kind == Tok::Other && t.text == QLatin1String(";"))) {
            if ((t.kind == Tok::Word || t.kind == Tok::Ident) && depth == 0) {
                ++fromIdents;
                fromOnlyIdent = t.text.toString();
            } else {
                ++fromOthers;
            }
        }
        if (region == Region::SelectList)
            selectList += piece;
        if (region != Region::Head && region != Region::SelectList)
            fromTail += piece;
        out += piece;
    }
    r.sql = out;
    if (r.isSelect) {
        r.selectList = selectList.trimmed();
        r.fromTail = fromTail.trimmed();
        if (fromIdents == 1 && fromOthers == 0)
            r.singleTable = fromOnlyIdent;
    }
    return r;
}

} // namespace jetsql
