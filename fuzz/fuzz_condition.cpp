// Find conditions: parsing never crashes, a fault is a clear BadCondition,
// what the caches give (the same text, or the same shape with other values)
// behaves like a fresh parse on every row, and a condition that offers a key
// matches only rows whose key column shows the key's text (the record sets
// look such rows up by that text and test only those).
// Input: one or more conditions, one per line; each is parsed after the ones
// before it, so later lines meet the caches the earlier ones filled.
#include "FuzzSupport.h"

#include "engine/AppError.h"
#include "engine/Database.h"
#include "engine/JetCondition.h"

#include <QStringList>
#include <array>
#include <cstring>

namespace {

using jetcond::Cell;

struct Row : jetcond::RowView {
    std::array<Cell, 6> cells;
    Cell cell(int index) const override { return cells[size_t(index)]; }
};

std::array<Row, 4> rows()
{
    static const QByteArray apfel = QStringLiteral("Äpfel").toUtf8();
    auto txt = [](const char* s) { return Cell{Cell::Text, 0, 0, s, int(strlen(s))}; };
    std::array<Row, 4> r;
    r[0].cells = {Cell{Cell::Int, 12}, txt("12"), Cell{Cell::Real, 0, 2.5}, txt(""), Cell{}, txt("a*b")};
    r[1].cells = {Cell{Cell::Int, 1},
                  Cell{Cell::Text, 0, 0, apfel.constData(), int(apfel.size())},
                  Cell{},
                  Cell{Cell::Int, -3},
                  txt("[x]"),
                  Cell{Cell::Blob, 0, 0, "\0\1", 2}};
    r[2].cells = {Cell{}, Cell{}, Cell{}, Cell{}, Cell{}, Cell{}};
    r[3].cells = {Cell{Cell::Int, 120},       txt("120"),     txt("2.5"),
                  Cell{Cell::Real, 0, 1e300}, txt("O'Brien"), txt("ID = 1")};
    return r;
}

// Any column name is one of the six columns of the rows.
int resolve(const QString& table, const QString& column)
{
    return int((qHash(table.toCaseFolded()) ^ qHash(column.toCaseFolded())) % 6);
}

struct Outcome {
    bool ok = false;
    int error = 0;
    std::vector<bool> matches;
    int keyColumn = -1;
    QString keyText;
};

Outcome evaluate(const std::function<std::shared_ptr<const jetcond::Parsed>()>& parse, const QString& text)
{
    Outcome o;
    try {
        const jetcond::Bound bound(parse(), text, resolve);
        for (const Row& r : rows())
            o.matches.push_back(bound.matches(r));
        o.keyColumn = bound.keyColumn();
        if (o.keyColumn >= 0)
            o.keyText = bound.keyText();
        o.ok = true;
    } catch (const AppError& e) {
        o.error = e.number();
    }
    return o;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::setUp();
    static jetcond::ConditionCache cache(1000); // kept from one input to the next, as the open database keeps it
    for (const QString& text : fuzz::text(data, size).split(u'\n')) {
        const Outcome cached = evaluate([&] { return jetcond::parse(text, cache); }, text);
        const Outcome fresh = evaluate([&] { return jetcond::parseUncached(text); }, text);
        if (cached.ok != fresh.ok || cached.error != fresh.error || cached.matches != fresh.matches
            || cached.keyColumn != fresh.keyColumn || cached.keyText != fresh.keyText)
            fuzz::fail("cached and fresh parse differ", text);
        if (!fresh.ok && fresh.error != DbErr::BadCondition)
            fuzz::fail("a fault that is not BadCondition", text);
        static const std::array<Row, 4> all = rows();
        for (size_t r = 0; fresh.keyColumn >= 0 && r < fresh.matches.size(); ++r)
            if (fresh.matches[r] && jetcond::cellText(all[r].cells[size_t(fresh.keyColumn)], true) != fresh.keyText)
                fuzz::fail("a row the key would not find matches", text);
    }
    return 0;
}
