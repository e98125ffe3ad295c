#pragma once
// The area and attribute cells of the list for one entry after another: each
// lookup's statement is prepared once and bound to every entry's ID, where
// CQuery opens a record set per entry and cell. The cells are CQuery's; where
// this cannot be sure of that (an ID that is no whole number, a Null or a
// value that is no text, a table it cannot read) it answers nothing and the
// caller asks CQuery, which also raises CQuery's errors.
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

class LinkedTexts {
public:
    enum Kind { Bereiche, Grammatikalisch, Funktional };

    // Prepares the statements at once: while one exists, closing the
    // database leaves the connection to them until they are finalized.
    explicit LinkedTexts(sqlite3* db);
    ~LinkedTexts();
    LinkedTexts(const LinkedTexts&) = delete;
    LinkedTexts& operator=(const LinkedTexts&) = delete;

    std::optional<QString> cell(Kind kind, qint64 id);

private:
    std::array<sqlite3_stmt*, 3> m_stmts{};
};
