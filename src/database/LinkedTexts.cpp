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

LinkedTexts::~LinkedTexts()
{
    for (Lookup& l : m_lookups)
        sqlite3_finalize(l.stmt);
}

std::optional<QString> LinkedTexts::cell(Kind kind, qint64 id)
{
    Lookup& l = m_lookups[size_t(kind)];
    if (!l.tried) {
        l.tried = true;
        if (!m_db || sqlite3_prepare_v2(m_db, kSql[kind], -1, &l.stmt, nullptr) != SQLITE_OK) {
            sqlite3_finalize(l.stmt);
            l.stmt = nullptr;
        }
    }
    if (!l.stmt || id < 0)
        return std::nullopt;
    const bool area = kind == Bereiche;
    const int limit = area ? gMaxBereich : gMaxAttribut;
    sqlite3_bind_int64(l.stmt, 1, id);
    QString result;
    bool sure = true;
    int rc;
    while (sure && (rc = sqlite3_step(l.stmt)) == SQLITE_ROW) {
        // The area lookup's search compares IDV with the ID; an attribute
        // lookup's ("Attribut_Text LIKE '*'") passes every text and no Null.
        if (area && (sqlite3_column_type(l.stmt, 1) != SQLITE_INTEGER || sqlite3_column_int64(l.stmt, 1) != id)) {
            sure = false;
            break;
        }
        const int type = sqlite3_column_type(l.stmt, 0);
        if (type == SQLITE_NULL && !area)
            continue;
        if (type != SQLITE_TEXT) {
            sure = false;
            break;
        }
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(l.stmt, 0));
        appendCellText(result, QString::fromUtf8(text, sqlite3_column_bytes(l.stmt, 0)), limit);
    }
    if (sure && rc != SQLITE_DONE)
        sure = false;
    sqlite3_reset(l.stmt);
    if (!sure)
        return std::nullopt;
    if (!area && !result.isEmpty())
        result += QLatin1Char(';');
    return result;
}
