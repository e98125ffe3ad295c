#include "engine/JetCondition.h"

#include "engine/Database.h"
#include "engine/JetSql.h"
#include "engine/UiLanguage.h"


#include <algorithm>

namespace jetcond {

struct Operand {
    enum Kind { Column, IntLit, RealLit, TextLit } kind = TextLit;
    int slot = -1;
    qint64 i = 0;
    double d = 0;
    QString text;         // literal text as written
    QString folded;       // literal text, case folded
    bool written = false; // a number or text written in the condition (not TRUE/FALSE)
};

struct Node {
    enum Kind { Or, And, Not, Cmp, Like, IsNull } kind = Cmp;
    enum Op { Eq, Ne, Lt, Gt, Le, Ge } op = Eq;
    bool negate = false;
    // And/Or: the terms in the order written (a run is one node, so long runs
    // cost no depth); Not: the one negated term.
    std::vector<std::unique_ptr<Node>> kids;
    Operand l, r;
    // LIKE: the folded pattern; anyText when it is only '*' (every non-Null
    // value matches), literal when it holds no wildcard at all.
    QString pattern;
    bool anyText = false;
    bool literal = false;
};

Parsed::~Parsed() = default;

QString cellText(const Cell& c, bool fold)
{
    QString s;
    switch (c.type) {
    case Cell::Null:
        return QString();
    case Cell::Int:
        return QString::number(c.i);
    case Cell::Real:
        return QString::number(c.d, 'g', 15);
    case Cell::Text:
    case Cell::Blob:
        s = QString::fromUtf8(c.p, c.n);
        break;
    }
    return fold ? s.toCaseFolded() : s;
}

// ---- LIKE ------------------------------------------------------------------

namespace {

bool isWildcard(QChar c)
{
    return c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('[');
}

// Does pattern element at p[pi] match ch? len := length of the element.
bool matchOne(const QString& p, int pi, QChar ch, int& len)
{
    const QChar pc = p[pi];
    if (pc == QLatin1Char('?')) {
        len = 1;
        return true;
    }
    if (pc == QLatin1Char('#')) {
        len = 1;
        return ch.isDigit();
    }
    if (pc == QLatin1Char('[')) {
        // The first character after "[" (or "[!") belongs to the set even if it is "]".
        int j = pi + 1;
        bool negated = false;
        if (j < p.size() && p[j] == QLatin1Char('!')) {
            negated = true;
            ++j;
        }
        const int setStart = j;
        int close = p.indexOf(QLatin1Char(']'), setStart);
        if (close == setStart) // "[]...]": the first "]" is part of the set
            close = p.indexOf(QLatin1Char(']'), setStart + 1);
        if (close < 0) {
            len = 1; // an unclosed "[" stands for itself
            return ch == pc;
        }
        bool in = false;
        for (int k = setStart; k < close; ++k) {
            if (k + 2 < close && p[k + 1] == QLatin1Char('-')) {
                if (ch >= p[k] && ch <= p[k + 2])
                    in = true;
                k += 2;
            } else if (p[k] == ch) {
                in = true;
            }
        }
        len = close - pi + 1;
        return in != negated;
    }
    len = 1;
    return pc == ch;
}

} // namespace

bool likeMatch(const QString& s, const QString& p)
{
    int si = 0, pi = 0, starP = -1, starS = 0;
    while (si < s.size()) {
        if (pi < p.size()) {
            if (p[pi] == QLatin1Char('*')) {
                starP = pi++;
                starS = si;
                continue;
            }
            int len = 1;
            if (matchOne(p, pi, s[si], len)) {
                ++si;
                pi += len;
                continue;
            }
        }
        if (starP >= 0) {
            pi = starP + 1;
            si = ++starS;
            continue;
        }
        return false;
    }
    while (pi < p.size() && p[pi] == QLatin1Char('*'))
        ++pi;
    return pi == p.size();
}

// ---- parser ----------------------------------------------------------------

namespace {

enum class T { Word, Ident, Text, Number, Op, LParen, RParen, Dot, End };

struct Tok {
    T kind;
    QString text;
    int pos;
};

[[noreturn]] void fail(const QString& cond, const QString& why)
{
    throw AppError(DbErr::BadCondition, tr2(QStringLiteral("Invalid search condition \"%1\": %2."),
                                            QStringLiteral("Ungültige Suchbedingung \"%1\": %2."))
                                            .arg(jetsql::shownInMessage(cond), why));
}

// Why a condition cannot be split, and where.
struct LexFault {
    enum What { None, OpenQuote, OpenBracket, RunOn, Unexpected } what = None;
    int start = 0, end = 0;
};

// The one lexer of conditions: hands each token to
// `token(kind, start, end, value)` in order, [start, end) its span in `s`
// (a name keeps its brackets). For a text, `value` holds it without its
// quotes, doubled quotes made single; the callee may move it away.
template <class OnToken>
[[gnu::always_inline]] inline LexFault scan(const QString& s, QString& value, OnToken&& token)
{
    const int n = s.size();
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        T kind;
        int j = i + 1;
        if (c.isSpace()) {
            i = j;
            continue;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            j = i;
            if (!jetsql::readQuoted(s, j, value))
                return {LexFault::OpenQuote, i, n};
            kind = T::Text;
        } else if (c == QLatin1Char('[')) {
            j = s.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0)
                return {LexFault::OpenBracket, i, n};
            ++j;
            kind = T::Ident;
        } else if (c.isDigit()) {
            while (j < n && (s[j].isDigit() || s[j] == QLatin1Char('.')))
                ++j;
            if (j < n && (s[j].isLetter() || s[j] == QLatin1Char('_')))
                return {LexFault::RunOn, i, j + 1};
            kind = T::Number;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            while (j < n && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_')))
                ++j;
            kind = T::Word;
        } else if (c == QLatin1Char('(')) {
            kind = T::LParen;
        } else if (c == QLatin1Char(')')) {
            kind = T::RParen;
        } else if (c == QLatin1Char('.')) {
            kind = T::Dot;
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=') || c == QLatin1Char('-')) {
            if (j < n
                && ((c == QLatin1Char('<') && (s[j] == QLatin1Char('>') || s[j] == QLatin1Char('=')))
                    || (c == QLatin1Char('>') && s[j] == QLatin1Char('='))))
                ++j;
            kind = T::Op;
        } else {
            return {LexFault::Unexpected, i, j};
        }
        token(kind, i, j, value);
        i = j;
    }
    return {};
}

std::vector<Tok> lex(const QString& s)
{
    std::vector<Tok> out;
    QString value;
    const LexFault f = scan(s, value, [&](T kind, int start, int end, QString& v) {
        if (kind == T::Text)
            out.push_back({kind, std::move(v), start});
        else if (kind == T::Ident)
            out.push_back({kind, s.mid(start + 1, end - start - 2), start});
        else
            out.push_back({kind, s.mid(start, end - start), start});
    });
    switch (f.what) {
    case LexFault::OpenQuote:
        fail(s, tr2(QStringLiteral("text without closing quote"),
                    QStringLiteral("Text ohne schließendes Anführungszeichen")));
    case LexFault::OpenBracket:
        fail(s, tr2(QStringLiteral("missing \"]\""), QStringLiteral("\"]\" fehlt")));
    case LexFault::RunOn:
    case LexFault::Unexpected:
        fail(s, tr2(QStringLiteral("unexpected \"%1\""), QStringLiteral("unerwartetes \"%1\""))
                    .arg(s.mid(f.start, f.end - f.start)));
    case LexFault::None:
        break;
    }
    out.push_back({T::End, QString(), int(s.size())});
    return out;
}

bool isKeyword(const Tok& t, const char* kw)
{
    return t.kind == T::Word && t.text.compare(QLatin1String(kw), Qt::CaseInsensitive) == 0;
}

bool isReserved(const Tok& t)
{
    return isKeyword(t, "AND") || isKeyword(t, "OR") || isKeyword(t, "NOT") || isKeyword(t, "LIKE")
           || isKeyword(t, "IS") || isKeyword(t, "NULL");
}

// Deeper nesting is refused: each level costs stack in the parse and the evaluation.
constexpr int kMaxNesting = 200;

class Parser {
public:
    Parser(const QString& text, Parsed& out) : m_text(text), m_out(out), m_toks(lex(text)) {}

    std::unique_ptr<Node> parseAll()
    {
        if (peek().kind == T::End)
            fail(m_text, tr2(QStringLiteral("the condition is empty"), QStringLiteral("die Bedingung ist leer")));
        auto n = parseOr();
        if (peek().kind != T::End)
            unexpected();
        return n;
    }

private:
    const Tok& peek() const { return m_toks[m_pos]; }
    const Tok& next() { return m_toks[m_pos++]; }

    [[noreturn]] void unexpected() const
    {
        const Tok& t = peek();
        if (t.kind == T::End)
            fail(m_text, tr2(QStringLiteral("unexpected end"), QStringLiteral("unerwartetes Ende")));
        fail(m_text,
             tr2(QStringLiteral("unexpected \"%1\" at position %2"), QStringLiteral("unerwartetes \"%1\" an Stelle %2"))
                 .arg(t.kind == T::Text ? QLatin1Char('\'') + t.text + QLatin1Char('\'') : t.text)
                 .arg(t.pos + 1));
    }

    // term { keyword term }: one node holding every term of the run.
    template <typename Term>
    std::unique_ptr<Node> parseRun(const char* keyword, Node::Kind kind, Term term)
    {
        auto first = (this->*term)();
        if (!isKeyword(peek(), keyword))
            return first;
        auto n = std::make_unique<Node>();
        n->kind = kind;
        n->kids.push_back(std::move(first));
        while (isKeyword(peek(), keyword)) {
            next();
            n->kids.push_back((this->*term)());
        }
        return n;
    }

    std::unique_ptr<Node> parseOr() { return parseRun("OR", Node::Or, &Parser::parseAnd); }
    std::unique_ptr<Node> parseAnd() { return parseRun("AND", Node::And, &Parser::parseNot); }

    std::unique_ptr<Node> parseNot()
    {
        // NOT NOT x is x, also when x is unknown: only an odd run leaves a NOT.
        bool negate = false;
        while (isKeyword(peek(), "NOT")) {
            next();
            negate = !negate;
        }
        std::unique_ptr<Node> inner;
        if (peek().kind == T::LParen) {
            if (++m_depth > kMaxNesting)
                fail(m_text, tr2(QStringLiteral("more than %1 nested parentheses"),
                                 QStringLiteral("mehr als %1 geschachtelte Klammern"))
                                 .arg(kMaxNesting));
            next();
            inner = parseOr();
            if (peek().kind != T::RParen)
                unexpected();
            next();
            --m_depth;
        } else {
            inner = parseComparison();
        }
        if (!negate)
            return inner;
        auto n = std::make_unique<Node>();
        n->kind = Node::Not;
        n->kids.push_back(std::move(inner));
        return n;
    }

    std::unique_ptr<Node> parseComparison()
    {
        auto n = std::make_unique<Node>();
        n->l = parseOperand();
        const Tok& t = peek();
        if (isKeyword(t, "IS")) {
            next();
            n->kind = Node::IsNull;
            if (isKeyword(peek(), "NOT")) {
                next();
                n->negate = true;
            }
            if (!isKeyword(peek(), "NULL"))
                unexpected();
            next();
            return n;
        }
        if (isKeyword(t, "NOT") || isKeyword(t, "LIKE")) {
            if (isKeyword(t, "NOT")) {
                next();
                n->negate = true;
                if (!isKeyword(peek(), "LIKE"))
                    unexpected();
            }
            next();
            n->kind = Node::Like;
            const Tok& p = peek();
            if (p.kind != T::Text && p.kind != T::Number)
                fail(m_text, tr2(QStringLiteral("LIKE needs a pattern in quotes"),
                                 QStringLiteral("LIKE braucht ein Muster in Anführungszeichen")));
            next();
            n->pattern = p.text.toCaseFolded();
            n->anyText = !n->pattern.isEmpty() && std::all_of(n->pattern.begin(), n->pattern.end(), [](QChar c) {
                return c == QLatin1Char('*');
            });
            n->literal = std::none_of(n->pattern.begin(), n->pattern.end(), isWildcard);
            return n;
        }
        if (t.kind != T::Op || t.text == QLatin1String("-"))
            unexpected();
        next();
        n->kind = Node::Cmp;
        static const std::pair<const char*, Node::Op> ops[] = {{"=", Node::Eq}, {"<>", Node::Ne}, {"<", Node::Lt},
                                                               {">", Node::Gt}, {"<=", Node::Le}, {">=", Node::Ge}};
        for (const auto& [text, op] : ops)
            if (t.text == QLatin1String(text))
                n->op = op;
        n->r = parseOperand();
        return n;
    }

    Operand parseOperand()
    {
        Operand o;
        const Tok& t = peek();
        bool negative = false;
        if (t.kind == T::Op && t.text == QLatin1String("-")) {
            next();
            negative = true;
            if (peek().kind != T::Number)
                unexpected();
        }
        const Tok& v = peek();
        switch (v.kind) {
        case T::Number: {
            next();
            const QString text = negative ? QLatin1Char('-') + v.text : v.text;
            bool ok = false;
            o.i = text.toLongLong(&ok);
            if (ok) {
                o.kind = Operand::IntLit;
            } else {
                o.d = text.toDouble(&ok);
                if (!ok)
                    fail(m_text,
                         tr2(QStringLiteral("\"%1\" is no number"), QStringLiteral("\"%1\" ist keine Zahl")).arg(text));
                o.kind = Operand::RealLit;
            }
            o.text = text;
            o.folded = text;
            o.written = true;
            return o;
        }
        case T::Text:
            next();
            o.kind = Operand::TextLit;
            o.text = v.text;
            o.folded = v.text.toCaseFolded();
            o.written = true;
            return o;
        case T::Word:
            if (isKeyword(v, "TRUE") || isKeyword(v, "FALSE")) {
                next();
                o.kind = Operand::IntLit;
                o.i = isKeyword(v, "TRUE") ? -1 : 0; // Jet's True is -1
                o.text = o.folded = QString::number(o.i);
                return o;
            }
            if (isReserved(v))
                unexpected();
            [[fallthrough]];
        case T::Ident: {
            next();
            QString table, column = v.text;
            if (peek().kind == T::Dot) {
                next();
                const Tok& c = peek();
                if (c.kind != T::Ident && !(c.kind == T::Word && !isReserved(c)))
                    unexpected();
                next();
                table = column;
                column = c.text;
            }
            o.kind = Operand::Column;
            o.slot = int(m_out.columns.size());
            m_out.columns.emplace_back(table, column);
            return o;
        }
        default:
            unexpected();
        }
    }

    QString m_text;
    Parsed& m_out;
    std::vector<Tok> m_toks;
    size_t m_pos = 0;
    int m_depth = 0;
};

void findKey(Parsed& p)
{
    const Node* n = p.root.get();
    if (n->kind == Node::Like && !n->negate && n->literal && n->l.kind == Operand::Column) {
        p.keySlot = n->l.slot;
        p.keyText = n->pattern;
    } else if (n->kind == Node::Cmp && n->op == Node::Eq) {
        const Operand* col = n->l.kind == Operand::Column ? &n->l : (n->r.kind == Operand::Column ? &n->r : nullptr);
        const Operand* lit = col == &n->l ? &n->r : &n->l;
        // The lookup compares texts: a number written otherwise than a value
        // shows it ("02") would miss what the row test finds by its value.
        const bool plainNumber = lit->kind == Operand::IntLit && lit->text == QString::number(lit->i);
        if (col && (plainNumber || lit->kind == Operand::TextLit)) {
            p.keySlot = col->slot;
            p.keyText = lit->folded;
        }
    }
}

} // namespace

namespace {

// A number or text of a condition as the shape scan finds it.
using detail::Literal;

constexpr char16_t kNumberMark = 1, kTextMark = 2;

// The condition with every number and text replaced by a mark, and those
// literals in order. False where lex() fails (the full parse then gives the
// error) or the text holds a mark.
bool shapeOf(const QString& s, QString& key, std::vector<Literal>& lits)
{
    const QStringView v(s);
    if (v.contains(QChar(kNumberMark)) || v.contains(QChar(kTextMark)))
        return false;
    key.resize(0); // keeps the buffer of the last call
    lits.clear();
    int seg = 0;
    auto mark = [&](int start, int end, char16_t m) {
        key.append(v.mid(seg, start - seg));
        key.append(QChar(m));
        seg = end;
    };
    QString value;
    const LexFault f = scan(s, value, [&](T kind, int start, int end, QString& text) {
        if (kind == T::Text) {
            lits.push_back({true, std::move(text)});
            mark(start, end, kTextMark);
        } else if (kind == T::Number) {
            lits.push_back({false, s.mid(start, end - start)});
            mark(start, end, kNumberMark);
        }
    });
    if (f.what != LexFault::None)
        return false;
    key.append(v.mid(seg));
    return true;
}

// The written literals of a parsed condition in the order of the text.
void writtenLiterals(const Node& n, std::vector<const Operand*>& ops, std::vector<const Node*>& likes)
{
    switch (n.kind) {
    case Node::Or:
    case Node::And:
    case Node::Not:
        for (const auto& kid : n.kids)
            writtenLiterals(*kid, ops, likes);
        return;
    case Node::IsNull:
    case Node::Cmp:
    case Node::Like:
        break;
    }
    ops.push_back(n.l.written ? &n.l : nullptr);
    likes.push_back(nullptr);
    if (n.kind == Node::Like) {
        ops.push_back(nullptr);
        likes.push_back(&n);
    } else if (n.kind == Node::Cmp) {
        ops.push_back(n.r.written ? &n.r : nullptr);
        likes.push_back(nullptr);
    }
}

// Does the parsed condition hold exactly these literals, in this order?
bool holds(const Parsed& p, const std::vector<Literal>& lits)
{
    std::vector<const Operand*> ops;
    std::vector<const Node*> likes;
    writtenLiterals(*p.root, ops, likes);
    size_t k = 0;
    for (size_t i = 0; i < ops.size(); ++i) {
        if (!ops[i] && !likes[i])
            continue;
        if (k >= lits.size())
            return false;
        const Literal& lit = lits[k++];
        if (likes[i]) {
            if (likes[i]->pattern != lit.value.toCaseFolded())
                return false;
        } else if (ops[i]->kind == Operand::TextLit) {
            if (!lit.text || ops[i]->text != lit.value)
                return false;
        } else {
            const QString& t = ops[i]->text;
            if (lit.text || QStringView(t).mid(t.startsWith(QLatin1Char('-')) ? 1 : 0) != lit.value)
                return false;
        }
    }
    return k == lits.size();
}

void setLikePattern(Node& n, const QString& text)
{
    n.pattern = text.toCaseFolded();
    n.anyText = !n.pattern.isEmpty()
                && std::all_of(n.pattern.begin(), n.pattern.end(), [](QChar c) { return c == QLatin1Char('*'); });
    n.literal = std::none_of(n.pattern.begin(), n.pattern.end(), isWildcard);
}

// A written operand of the template with the next literal's value; false
// when that value is no number (the full parse raises the error).
bool fillOperand(Operand& o, const Literal& lit)
{
    if (o.kind == Operand::TextLit) {
        o.text = lit.value;
        o.folded = lit.value.toCaseFolded();
        return true;
    }
    const QString text = o.text.startsWith(QLatin1Char('-')) ? QLatin1Char('-') + lit.value : lit.value;
    bool ok = false;
    o.i = text.toLongLong(&ok);
    if (ok) {
        o.kind = Operand::IntLit;
        o.d = 0;
    } else {
        o.i = 0;
        o.d = text.toDouble(&ok);
        if (!ok)
            return false;
        o.kind = Operand::RealLit;
    }
    o.text = text;
    o.folded = text;
    return true;
}

// A copy of the template's tree with the literals of another condition of its shape.
std::unique_ptr<Node> instantiate(const Node& t, const std::vector<Literal>& lits, size_t& k)
{
    auto n = std::make_unique<Node>();
    n->kind = t.kind;
    n->op = t.op;
    n->negate = t.negate;
    n->l = t.l;
    n->r = t.r;
    n->pattern = t.pattern;
    n->anyText = t.anyText;
    n->literal = t.literal;
    switch (t.kind) {
    case Node::Or:
    case Node::And:
    case Node::Not:
        for (const auto& kid : t.kids) {
            n->kids.push_back(instantiate(*kid, lits, k));
            if (!n->kids.back())
                return nullptr;
        }
        return n;
    case Node::IsNull:
    case Node::Cmp:
    case Node::Like:
        break;
    }
    if (n->l.written && !fillOperand(n->l, lits[k++]))
        return nullptr;
    if (t.kind == Node::Like)
        setLikePattern(*n, lits[k++].value);
    else if (t.kind == Node::Cmp && n->r.written && !fillOperand(n->r, lits[k++]))
        return nullptr;
    return n;
}

std::shared_ptr<const Parsed> parseText(const QString& text)
{
    auto p = std::make_shared<Parsed>();
    Parser parser(text, *p);
    p->root = parser.parseAll();
    findKey(*p);
    return p;
}

bool sameLiterals(const std::vector<Literal>& a, const std::vector<Literal>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].text != b[i].text || a[i].value != b[i].value)
            return false;
    return true;
}

} // namespace

std::shared_ptr<const Parsed> parse(const QString& text, ConditionCache& cache)
{
    // Conditions repeat (every FindNext of a walk), and many differ only in a
    // value (one ID per list entry): parsed once per shape, the values put
    // into a copy of the tree.
    if (shapeOf(text, cache.key, cache.literals)) {
        const std::vector<Literal>& lits = cache.literals;
        const detail::ShapeEntry* e = cache.findShape();
        if (!e) {
            detail::ShapeEntry entry;
            auto p = parseText(text); // raises for a faulty condition, which is then not kept
            if (holds(*p, lits)) {
                entry.parsed = p;
                entry.literals = lits;
            }
            cache.addShape(std::move(entry));
            return p;
        }
        if (e->parsed) {
            if (sameLiterals(lits, e->literals))
                return e->parsed;
            size_t k = 0;
            if (auto root = instantiate(*e->parsed->root, lits, k)) {
                auto p = std::make_shared<Parsed>();
                p->root = std::move(root);
                p->columns = e->parsed->columns;
                findKey(*p);
                return p;
            }
        }
    }
    if (const auto* known = cache.findText(text))
        return *known;
    return cache.addText(text, parseText(text));
}

std::shared_ptr<const Parsed> parseUncached(const QString& text) { return parseText(text); }

// ---- evaluation ------------------------------------------------------------

namespace {

enum TV { False, True, Unknown };

struct Value {
    Cell cell;
    const Operand* lit = nullptr; // set for literals
    bool isNull() const { return !lit && cell.type == Cell::Null; }
    bool isNumber() const
    {
        if (lit)
            return lit->kind == Operand::IntLit || lit->kind == Operand::RealLit;
        return cell.type == Cell::Int || cell.type == Cell::Real;
    }
    bool isInt() const { return lit ? lit->kind == Operand::IntLit : cell.type == Cell::Int; }
    qint64 intValue() const { return lit ? lit->i : cell.i; }
    double realValue() const
    {
        if (lit)
            return lit->kind == Operand::IntLit ? double(lit->i) : lit->d;
        return cell.type == Cell::Int ? double(cell.i) : cell.d;
    }
    QString folded() const { return lit ? lit->folded : cellText(cell, true); }
};

Value valueOf(const Operand& o, const std::vector<int>& cols, const RowView& row)
{
    Value v;
    if (o.kind == Operand::Column)
        v.cell = row.cell(cols[o.slot]);
    else
        v.lit = &o;
    return v;
}

TV eval(const Node& n, const std::vector<int>& cols, const RowView& row)
{
    switch (n.kind) {
    case Node::Or:
    case Node::And: {
        // The first term that decides ends the run (True for OR, False for AND).
        const TV decides = n.kind == Node::Or ? True : False;
        bool unknown = false;
        for (const auto& kid : n.kids) {
            const TV v = eval(*kid, cols, row);
            if (v == decides)
                return decides;
            unknown = unknown || v == Unknown;
        }
        return unknown ? Unknown : (decides == True ? False : True);
    }
    case Node::Not: {
        const TV a = eval(*n.kids.front(), cols, row);
        return a == Unknown ? Unknown : (a == True ? False : True);
    }
    case Node::IsNull: {
        const bool null = valueOf(n.l, cols, row).isNull();
        return (null != n.negate) ? True : False;
    }
    case Node::Like: {
        const Value v = valueOf(n.l, cols, row);
        if (v.isNull())
            return Unknown;
        bool m;
        if (n.anyText)
            m = true;
        else if (n.literal)
            m = v.folded() == n.pattern;
        else
            m = likeMatch(v.folded(), n.pattern);
        return (m != n.negate) ? True : False;
    }
    case Node::Cmp: {
        const Value a = valueOf(n.l, cols, row);
        const Value b = valueOf(n.r, cols, row);
        if (a.isNull() || b.isNull())
            return Unknown;
        int c;
        if (a.isNumber() && b.isNumber()) {
            if (a.isInt() && b.isInt()) {
                const qint64 x = a.intValue(), y = b.intValue();
                c = x < y ? -1 : (x > y ? 1 : 0);
            } else {
                const double x = a.realValue(), y = b.realValue();
                c = x < y ? -1 : (x > y ? 1 : 0);
            }
        } else {
            c = QString::compare(a.folded(), b.folded());
        }
        bool r = false;
        switch (n.op) {
        case Node::Eq:
            r = c == 0;
            break;
        case Node::Ne:
            r = c != 0;
            break;
        case Node::Lt:
            r = c < 0;
            break;
        case Node::Gt:
            r = c > 0;
            break;
        case Node::Le:
            r = c <= 0;
            break;
        case Node::Ge:
            r = c >= 0;
            break;
        }
        return r ? True : False;
    }
    }
    return Unknown;
}

} // namespace

Bound::Bound(std::shared_ptr<const Parsed> parsed, const QString& text,
             const std::function<int(const QString&, const QString&)>& resolve)
    : m_parsed(std::move(parsed))
{
    m_slots.reserve(m_parsed->columns.size());
    for (const auto& [table, column] : m_parsed->columns) {
        const int idx = resolve(table, column);
        if (idx < 0)
            fail(text, tr2(QStringLiteral("unknown field \"%1\""), QStringLiteral("unbekanntes Feld \"%1\""))
                           .arg(table.isEmpty() ? column : table + QLatin1Char('.') + column));
        m_slots.push_back(idx);
    }
}

bool Bound::matches(const RowView& row) const { return eval(*m_parsed->root, m_slots, row) == True; }

int Bound::keyColumn() const { return m_parsed->keySlot < 0 ? -1 : m_slots[m_parsed->keySlot]; }

} // namespace jetcond
