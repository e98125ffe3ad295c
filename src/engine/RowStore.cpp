#include "engine/RowStore.h"

#include <algorithm>
#include <cstring>

using jetcond::Cell;

namespace engine {

namespace {

// Chunks start small (most dynasets hold a few rows) and grow to kChunk.
constexpr size_t kFirstChunk = 2 * 1024;
constexpr size_t kChunk = 256 * 1024;

void putVarint(std::string& out, quint64 v)
{
    while (v >= 0x80) {
        out.push_back(char(v | 0x80));
        v >>= 7;
    }
    out.push_back(char(v));
}

quint64 getVarint(const char*& p)
{
    quint64 v = 0;
    int shift = 0;
    for (;;) {
        const auto b = static_cast<unsigned char>(*p++);
        v |= quint64(b & 0x7f) << shift;
        if (!(b & 0x80))
            return v;
        shift += 7;
    }
}

} // namespace

// Steps over one encoded value.
const char* skipValue(const char* p)
{
    switch (static_cast<Cell::Type>(*p++)) {
    case Cell::Null:
        return p;
    case Cell::Int:
        getVarint(p);
        return p;
    case Cell::Real:
        return p + sizeof(double);
    case Cell::Text:
    case Cell::Blob: {
        const quint64 n = getVarint(p);
        return p + n;
    }
    }
    return p;
}

const char* RowArena::store(const std::string& bytes)
{
    const size_t n = bytes.size();
    if (m_chunks.empty() || m_used + n > m_size) {
        m_size = std::max(std::min(kChunk, std::max(kFirstChunk, m_size * 2)), n);
        m_chunks.push_back(std::unique_ptr<char[]>(new char[m_size])); // no zeroing: every byte is written first
        m_used = 0;
    }
    char* p = m_chunks.back().get() + m_used;
    std::memcpy(p, bytes.data(), n);
    m_used += n;
    return p;
}

void RowArena::clear()
{
    m_chunks.clear();
    m_chunks.shrink_to_fit();
    m_used = m_size = 0;
}

void encodeRow(sqlite3_stmt* stmt, int firstColumn, int count, std::string& out)
{
    out.clear();
    for (int i = 0; i < count; ++i) {
        const int c = firstColumn + i;
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER: {
            out.push_back(char(Cell::Int));
            const qint64 v = sqlite3_column_int64(stmt, c);
            putVarint(out, (quint64(v) << 1) ^ quint64(v >> 63)); // zigzag: small negatives stay short
            break;
        }
        case SQLITE_FLOAT: {
            out.push_back(char(Cell::Real));
            const double v = sqlite3_column_double(stmt, c);
            out.append(reinterpret_cast<const char*>(&v), sizeof v);
            break;
        }
        case SQLITE_TEXT: {
            out.push_back(char(Cell::Text));
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            const int n = sqlite3_column_bytes(stmt, c);
            putVarint(out, quint64(n));
            out.append(t, size_t(n));
            break;
        }
        case SQLITE_BLOB: {
            out.push_back(char(Cell::Blob));
            const auto* t = static_cast<const char*>(sqlite3_column_blob(stmt, c));
            const int n = sqlite3_column_bytes(stmt, c);
            putVarint(out, quint64(n));
            if (n > 0)
                out.append(t, size_t(n));
            break;
        }
        default:
            out.push_back(char(Cell::Null));
        }
    }
}

void rowOffsets(const char* data, int count, std::vector<uint32_t>& out)
{
    out.resize(size_t(count));
    const char* p = data;
    for (int i = 0; i < count; ++i) {
        out[size_t(i)] = uint32_t(p - data);
        p = skipValue(p);
    }
}

Cell decodeAt(const char* p)
{
    Cell c;
    c.type = static_cast<Cell::Type>(*p++);
    switch (c.type) {
    case Cell::Null:
        break;
    case Cell::Int: {
        const quint64 z = getVarint(p);
        c.i = qint64(z >> 1) ^ -qint64(z & 1);
        break;
    }
    case Cell::Real:
        std::memcpy(&c.d, p, sizeof c.d);
        break;
    case Cell::Text:
    case Cell::Blob:
        c.n = int(getVarint(p));
        c.p = p;
        break;
    }
    return c;
}

Cell decodeCell(const char* data, int index)
{
    const char* p = data;
    for (int i = 0; i < index; ++i)
        p = skipValue(p);
    return decodeAt(p);
}

QVariant toVariant(const Cell& c)
{
    switch (c.type) {
    case Cell::Null:
        return QVariant();
    case Cell::Int:
        return QVariant(qlonglong(c.i));
    case Cell::Real:
        return QVariant(c.d);
    case Cell::Text:
        return QVariant(QString::fromUtf8(c.p, c.n));
    case Cell::Blob:
        return QVariant(QByteArray(c.p, c.n));
    }
    return QVariant();
}

} // namespace engine
