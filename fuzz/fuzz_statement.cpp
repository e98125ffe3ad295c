// The statement translator: never throws, a cached translation (same text or
// same shape with other values) equals a fresh one, and what SQLite accepts
// of it is read-only when it counts as a SELECT and holds each parameter the
// translator wrote, ?1 to ?n for its n values, as parameter 1 to n. (What the
// statement holds itself, such as a "?" or ":name", it leaves to SQLite.)
// Input: statements, one per line, translated in turn.
#include "FuzzSupport.h"

#include "database/Schema.h"
#include "engine/JetSql.h"

#include <sqlite3.h>

namespace {

sqlite3* schemaDb()
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        for (const QString& sql : Schema::createStatements(QStringLiteral("Lang1_"), QStringLiteral("Lang2_")))
            sqlite3_exec(d, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

bool same(const jetsql::Translated& a, const jetsql::Translated& b)
{
    return a.sql == b.sql && a.binds == b.binds && a.isSelect == b.isSelect && a.distinct == b.distinct
           && a.selectList == b.selectList && a.singleTable == b.singleTable && a.fromTail == b.fromTail;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::setUp();
    static jetsql::StatementCache cache(1000); // kept from one input to the next, as the open database keeps it
    for (const QString& text : fuzz::text(data, size).split(u'\n')) {
        const jetsql::Translated cached = jetsql::translate(text, cache);
        const jetsql::Translated fresh = jetsql::translateText(text);
        if (!same(cached, fresh))
            fuzz::fail("cached and fresh translation differ",
                       text + QStringLiteral(" -> ") + cached.sql + QStringLiteral(" / ") + fresh.sql);
        if (!fresh.error.isEmpty())
            continue; // the engine refuses the statement with this error
        if (text.contains(QChar(0)))
            fuzz::fail("a NUL passed the translator", text);
        const QByteArray sql = fresh.sql.toUtf8();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(schemaDb(), sql.constData(), int(sql.size()), &st, nullptr) == SQLITE_OK && st) {
            if (fresh.isSelect && !sqlite3_stmt_readonly(st))
                fuzz::fail("a SELECT that writes", text);
            for (size_t k = 1; k <= fresh.binds.size(); ++k)
                if (sqlite3_bind_parameter_index(st, QByteArray("?").append(QByteArray::number(qulonglong(k)))) != int(k))
                    fuzz::fail("a value without its parameter", text + QStringLiteral(" -> ") + fresh.sql);
        }
        sqlite3_finalize(st);
    }
    return 0;
}
