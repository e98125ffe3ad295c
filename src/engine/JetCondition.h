#pragma once
// Find conditions in the Jet dialect, parsed once and evaluated in our own code
// against the rows a dynaset holds:
//   cond    := andExpr { OR andExpr }
//   andExpr := notExpr { AND notExpr }
//   notExpr := NOT notExpr | '(' cond ')' | operand op operand
//              | operand [NOT] LIKE pattern | operand IS [NOT] NULL
//   operand := column | T.column | [column] | T.[column] | number | 'text' | "text"
// Parentheses nest at most 200 deep; runs of AND, OR and NOT may be of any length.
// Text comparison ignores case (umlauts too); a number compared with a text is
// compared by its text; a comparison with Null is unknown, so Null never matches.
#include "engine/ShapeCache.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace jetcond {

// One value of a row as the engine stores it (texts are UTF-8, not owned).
struct Cell {
    enum Type : uint8_t { Null, Int, Real, Text, Blob } type = Null;
    qint64 i = 0;
    double d = 0;
    const char* p = nullptr;
    int n = 0;
};

// Gives the value of column `index` of the row being tested.
class RowView {
public:
    virtual ~RowView() = default;
    virtual Cell cell(int index) const = 0;
};

// The text a value is compared by ("12" for 12, "2.5" for 2.5), case folded
// when `fold` is set.
QString cellText(const Cell& c, bool fold);

struct Node;

// A parsed condition (column names not yet bound to positions). Shared and immutable.
class Parsed {
public:
    ~Parsed();
    std::unique_ptr<Node> root;
    std::vector<std::pair<QString, QString>> columns; // (table or empty, column) per slot
    // Set when the whole condition is "column LIKE 'text without wildcards'" or
    // "column = integer": the slot and the folded text a matching value has.
    int keySlot = -1;
    QString keyText;
};

namespace detail {
// A literal the shape of a condition leaves out.
struct Literal {
    bool text = false;
    QString value; // the digits of a number, or a text without its quotes
};
// Conditions of one shape (a template parsed from the first of them).
struct ShapeEntry {
    std::shared_ptr<const Parsed> parsed; // null when the shape's literals could not be matched
    std::vector<Literal> literals;        // those of the template
};
} // namespace detail

// What parse() keeps of the conditions it was given; the open database holds one.
using ConditionCache = ShapeCache<detail::Literal, detail::ShapeEntry, std::shared_ptr<const Parsed>>;

// Parses `text`; raises AppError(DbErr::BadCondition) with a clear description.
std::shared_ptr<const Parsed> parse(const QString& text, ConditionCache& cache);
// The same without any cache (what a cached result must agree with).
std::shared_ptr<const Parsed> parseUncached(const QString& text);

// A condition bound to the columns of one result.
class Bound {
public:
    Bound() = default;
    // resolve(table, column) gives the column's position or -1 (then BadCondition).
    Bound(std::shared_ptr<const Parsed> parsed, const QString& text,
          const std::function<int(const QString&, const QString&)>& resolve);
    bool matches(const RowView& row) const;
    int keyColumn() const; // -1 when no lookup by key is possible
    const QString& keyText() const { return m_parsed->keyText; }

private:
    std::shared_ptr<const Parsed> m_parsed;
    std::vector<int> m_slots;
};

// Jet LIKE on already case-folded texts: * any text, ? one character,
// # one digit, [abc] / [a-c] / [!abc] one character of (not of) the set.
bool likeMatch(const QString& foldedText, const QString& foldedPattern);

} // namespace jetcond
