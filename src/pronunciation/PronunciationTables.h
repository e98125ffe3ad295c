#pragma once
// The fixed pronunciation tables of the guide, one per foreign language:
// letter groups and how to pronounce them, described in German.
#include <QString>

#include <span>

namespace Pronunciation {

// One written row. A row without a letter group is a further rule for the
// group above or a general remark; a row without either is a blank step.
struct Row {
    const char* group;       // UTF-8, nullptr = none
    const char* description; // UTF-8, nullptr = none
    int height;              // multiple of the default row height, 0 = default
};

// Where a table begins in the grid.
enum class Start {
    RowZero,         // Row = 0, first row there
    RowZeroThenStep, // Row = 0, one step down before the first row
    CurrentRow,      // no Row set: begins where loading left the current cell
};

struct Table {
    const char* language; // UTF-8, compared exactly with the database's foreign language
    Start start;
    bool stepAfterLast; // one more step after the last row (leaves an empty last row)
    std::span<const Row> rows;
};

// The tables in the order in which the language names are compared.
std::span<const Table> tables();

// The table whose language equals name exactly (case and blanks count), else nullptr.
const Table* findTable(const QString& name);

} // namespace Pronunciation
