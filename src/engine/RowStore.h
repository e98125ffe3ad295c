#pragma once
// How a dynaset keeps its rows: each row one encoded byte run, read back
// value by value.
#include "engine/JetCondition.h"

#include <QVariant>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace engine {

// Rows are kept as one encoded byte run each (type byte, then a varint or the
// bytes of the value), allocated from large chunks: a 100,000-row table costs
// little more than its text.
class RowArena {
public:
    const char* store(const std::string& bytes);
    void clear();

private:
    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_used = 0, m_size = 0;
};

void encodeRow(sqlite3_stmt* stmt, int firstColumn, int count, std::string& out);
// Offsets of every value in an encoded row.
void rowOffsets(const char* data, int count, std::vector<uint32_t>& out);
jetcond::Cell decodeAt(const char* p);
const char* skipValue(const char* p);
jetcond::Cell decodeCell(const char* data, int index);
QVariant toVariant(const jetcond::Cell& c);

struct StoredRow {
    qint64 rowid;
    const char* data; // nullptr: the row was deleted (kept marked, so later rows keep their numbers)
};

} // namespace engine
