#include "database/LinkedTexts.h"

#include "common/Global.h"
#include "database/CQuery.h"

#include <sqlite3.h>

namespace {

// The statements CQuery's lookups translate to, literally, so SQLite plans
// them alike and the rows come in the same order.
const char* const kSql[] = {
    "SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, Bereiche "
    "WHERE Bereiche_Zwischen.IDV=?1 AND Bereiche_Zwischen.ID=Bereiche.ID",
    "SELECT Attribut_Text FROM GrammatikalischeAttribute_Zwischen, GrammatikalischeAttribute "
    "WHERE GrammatikalischeAttribute_Zwischen.IDV=?1 AND "
    "GrammatikalischeAttribute_Zwischen.ID=GrammatikalischeAttribute.IDA",
    "SELECT Attribut_Text FROM FunktionaleAttribute_Zwischen, FunktionaleAttribute "
    "WHERE FunktionaleAttribute_Zwischen.IDV=?1 AND FunktionaleAttribute_Zwischen.ID=FunktionaleAttribute.IDA",
};

} // namespace

LinkedTexts::LinkedTexts(sqlite3* db)
{
    for (size_t i = 0; db && i < m_stmts.size(); ++i)
        if (sqlite3_prepare_v2(db, kSql[i], -1, &m_stmts[i], nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_stmts[i]);   // a file without the table: CQuery reports it
            m_stmts[i] = nullptr;
        }
}

LinkedTexts::~LinkedTexts()
{
    for (sqlite3_stmt* s : m_stmts)
        sqlite3_finalize(s);
}

std::optional<QString> LinkedTexts::cell(Kind kind, qint64 id)
{
    sqlite3_stmt* const stmt = m_stmts[size_t(kind)];
    if (!stmt || id < 0)
        return std::nullopt;
    const bool area = kind == Bereiche;
    const int limit = area ? gMaxBereich : gMaxAttribut;
    sqlite3_bind_int64(stmt, 1, id);
    QString result;
    int rc;
    // A row this cannot answer for ends the walk early, rc still SQLITE_ROW.
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        // The area lookup's search compares IDV with the ID; an attribute
        // lookup's ("Attribut_Text LIKE '*'") passes every text and no Null.
        if (area && (sqlite3_column_type(stmt, 1) != SQLITE_INTEGER || sqlite3_column_int64(stmt, 1) != id))
            break;
        const int type = sqlite3_column_type(stmt, 0);
        if (type == SQLITE_NULL && !area)
            continue;
        if (type != SQLITE_TEXT)
            break;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        appendCellText(result, QString::fromUtf8(text, sqlite3_column_bytes(stmt, 0)), limit);
    }
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        return std::nullopt;
    if (!area && !result.isEmpty())
        result += QLatin1Char(';');
    return result;
}
