#include "database/CQuery.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/IdLookup.h"
#include "common/SqlText.h"
#include "common/TextProcs.h"
#include "database/CDBHandler.h"
#include "engine/AppError.h"
#include "engine/QueryDef.h"

namespace {
const QString kOr = QStringLiteral(" OR ");
const QString kAnd = QStringLiteral(" AND ");

QString quoted(const QString& value) { return QLatin1Char('\'') + SqlEscape(value) + QLatin1Char('\''); }

void appendTerm(QString& list, const QString& term)
{
    if (!list.isEmpty())
        list += kOr;
    list += term;
}
} // namespace

void CQuery::InitQuery()
{
    FindString.clear();
    FirstTerm = true;
}

void CQuery::AddRel(bool rel)
{
    if (!FirstTerm)
        FindString += rel ? kAnd : kOr;
}

void CQuery::ExtendQueryString(const QString& tbl, const QString& fld, const QString& str, bool rel)
{
    if (str.isEmpty())
        return;
    AddRel(rel);
    FindString += tbl + QStringLiteral(".[") + fld + QStringLiteral("] LIKE ") + quoted(str);
    FirstTerm = false;
}

void CQuery::ExtendQueryStringByScore(const QString& strMin, const QString& strMax)
{
    if (strMin.isEmpty() || strMax.isEmpty())
        return;
    AddRel(true);
    const QString term = QStringLiteral("(Score >=") + strMin + QStringLiteral(" AND Score <=") + strMax + QLatin1Char(')');
    // The list shows a Null score as 6, so a range up to 6 selects it too.
    FindString += strMax == QLatin1String("6") ? QLatin1Char('(') + term + QStringLiteral(" OR Score Is Null)") : term;
    FirstTerm = false;
}

void CQuery::ExtendQueryStringByRegion(const QString& Field, const QString& strMin, const QString& strMax)
{
    if (strMin.isEmpty() || strMax.isEmpty())
        return;
    AddRel(true);
    FindString += QLatin1Char('(') + Field + QStringLiteral(" >=") + quoted(strMin) + kAnd + Field
                  + QStringLiteral(" <=") + quoted(strMax) + QLatin1Char(')');
    FirstTerm = false;
}

void CQuery::StartSection()
{
    FindString += FirstTerm ? QStringLiteral("(") : QStringLiteral(" AND (");
    FirstTerm = true;
}

void CQuery::StopSection() { FindString += QLatin1Char(')'); }

void CQuery::RelInitQuery()
{
    BereichCond.clear();
    WortartCond.clear();
    GrammCond.clear();
    FunktCond.clear();
    RefCond.clear();
    QueryString.clear();
    FirstTerm = true;
}

void CQuery::RelExtendQueryString(const QString& str, bool rel)
{
    if (str.isEmpty())
        return;
    AddRel(rel);
    QueryString += QStringLiteral("(Bereiche_Zwischen.IDV = Vokabular.ID") + QStringLiteral(" AND Bereich_Text=")
                   + quoted(str) + QStringLiteral(" AND Bereiche.ID=Bereiche_Zwischen.ID)");
    FirstTerm = false;
}

void CQuery::RelInsert(const QString& str, const QString& mode)
{
    if (mode == QLatin1String("Bereich"))
        appendTerm(BereichCond, QStringLiteral("Bereich_Text=") + quoted(str));
    else if (mode == QLatin1String("Grammatikalisch"))
        appendTerm(GrammCond, QStringLiteral("GrammatikalischeAttribute.[Attribut_Text]=") + quoted(str));
    else if (mode == QLatin1String("Funktional"))
        appendTerm(FunktCond, QStringLiteral("FunktionaleAttribute.[Attribut_Text]=") + quoted(str));
    else if (mode == QLatin1String("Referenzen"))
        appendTerm(RefCond, QStringLiteral("Referenzen.Typ=") + quoted(str));
}

QString CQuery::insertBereichPart() const
{
    return BereichCond.isEmpty() ? QString() : QStringLiteral(", Bereiche, Bereiche_Zwischen");
}

QString CQuery::insertWortartPart() const
{
    return WortartCond.isEmpty() ? QString() : QStringLiteral(", Wortart, [Wortart_Zwischen]");
}

QString CQuery::insertGrammatikalischPart() const
{
    return GrammCond.isEmpty() ? QString()
                               : QStringLiteral(", GrammatikalischeAttribute, [GrammatikalischeAttribute_Zwischen]");
}

QString CQuery::insertFunktionalPart() const
{
    return FunktCond.isEmpty() ? QString() : QStringLiteral(", FunktionaleAttribute, [FunktionaleAttribute_Zwischen]");
}

QString CQuery::insertReferenzenPart() const { return RefCond.isEmpty() ? QString() : QStringLiteral(", Referenzen"); }

void CQuery::RelCreateQueryString()
{
    QueryString = QStringLiteral("SELECT DISTINCT * FROM Vokabular") + insertBereichPart() + insertGrammatikalischPart()
                  + insertFunktionalPart() + insertReferenzenPart();
    if (BereichCond.isEmpty() && GrammCond.isEmpty() && FunktCond.isEmpty() && RefCond.isEmpty())
        return;

    struct Section {
        const QString* list;
        const char* join;
    };
    const Section sections[] = {
        {&BereichCond, " AND Bereiche.ID=Bereiche_Zwischen.ID AND Bereiche_Zwischen.IDV=Vokabular.ID"},
        {&GrammCond, " AND GrammatikalischeAttribute.IDA=GrammatikalischeAttribute_Zwischen.ID"
                     " AND GrammatikalischeAttribute_Zwischen.IDV=Vokabular.ID"},
        {&FunktCond, " AND FunktionaleAttribute.IDA=FunktionaleAttribute_Zwischen.ID"
                     " AND FunktionaleAttribute_Zwischen.IDV=Vokabular.ID"},
        {&RefCond, " AND Referenzen.von=Vokabular.ID"},
    };
    QueryString += QStringLiteral(" WHERE ");
    bool written = false;
    for (const Section& s : sections) {
        if (s.list->isEmpty())
            continue;
        if (written)
            QueryString += kAnd;
        QueryString += QLatin1Char('(') + *s.list + QLatin1Char(')') + QLatin1String(s.join);
        written = true;
    }
}

void appendCellText(QString& cell, const QString& text, int limit)
{
    if (!text.isEmpty() && !cell.isEmpty())
        cell += QStringLiteral("; ");
    cell += CutToLength(extract(text), limit);
}

namespace {

// The cells' lookups: each statement finds the entry's links by its ID, given
// as the parameter [vid]; the condition picks the rows whose text goes in.
// A link column declared without a type keeps the number 7 and the text '7'
// apart, so there the statement looks for both forms, the text as [vid] and
// the number as [vidn]; elsewhere the file converts one into the other.
struct CellLookup {
    QString links, sql, condition, field;
};

const CellLookup& cellLookup(int lookup)
{
    static const CellLookup lookups[] = {
        {QStringLiteral("Bereiche_Zwischen"),
         QStringLiteral("SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, Bereiche "
                        "WHERE %1 AND Bereiche_Zwischen.ID=Bereiche.ID"),
         QStringLiteral("Bereiche_Zwischen.IDV=[vid]"), QStringLiteral("Bereich_Text")},
        {QStringLiteral("GrammatikalischeAttribute_Zwischen"),
         QStringLiteral("SELECT Attribut_Text, GrammatikalischeAttribute_Zwischen.IDV "
                        "FROM GrammatikalischeAttribute_Zwischen, GrammatikalischeAttribute "
                        "WHERE %1 AND GrammatikalischeAttribute_Zwischen.ID=GrammatikalischeAttribute.IDA"),
         QStringLiteral("Attribut_Text LIKE '*'"), QStringLiteral("Attribut_Text")},
        {QStringLiteral("FunktionaleAttribute_Zwischen"),
         QStringLiteral("SELECT Attribut_Text, FunktionaleAttribute_Zwischen.IDV "
                        "FROM FunktionaleAttribute_Zwischen, FunktionaleAttribute "
                        "WHERE %1 AND FunktionaleAttribute_Zwischen.ID=FunktionaleAttribute.IDA"),
         QStringLiteral("Attribut_Text LIKE '*'"), QStringLiteral("Attribut_Text")},
    };
    return lookups[lookup];
}

} // namespace

QString CQuery::cellTexts(int lookup, const QString& vid, int limit)
{
    if (!handler)
        throw AppError(ErrNo::ObjectNotSet, objectNotSetText());
    mustBeSet(handler->dbKopieren);
    const std::shared_ptr<Database>& db = handler->dbKopieren;
    const CellLookup& l = cellLookup(lookup);
    // Translated and prepared once per database: this runs three times for every list entry.
    std::shared_ptr<QueryDef>& def = m_cellQueries[size_t(lookup)];
    bool& bothForms = m_bothForms[size_t(lookup)];
    if (!def || !def->isOn(db.get())) {
        bothForms = db->KeepsValuesAsStored(l.links, QStringLiteral("IDV"));
        const QString idv = l.links + QStringLiteral(".IDV");
        const QString term = bothForms ? QStringLiteral("(%1=[vid] OR %1=[vidn])").arg(idv)
                                       : idv + QStringLiteral("=[vid]");
        def = std::make_shared<QueryDef>(db, l.sql.arg(term), QStringList{QStringLiteral("vid"), QStringLiteral("vidn")});
    }
    // The three lookups of one entry come one after the other.
    if (vid != m_numberOf || m_numberOf.isNull()) {
        m_numberOf = vid;
        m_number = IdAsNumber(vid);
    }
    const QVariant& number = m_number;
    if (bothForms) {
        def->setParameter(0, vid);
        def->setParameter(1, number);
    } else {
        def->setParameter(0, number.isNull() ? QVariant(vid) : number);
    }
    const bool whole = number.typeId() == QMetaType::LongLong;
    struct Walk {
        QString result;
        const QString& field;
        const QString& vid;
        bool whole;
        qlonglong wholeValue;
        int limit;
    } walk{QString(), l.field, vid, whole, whole ? qvariant_cast<qlonglong>(number) : 0, limit};
    def->findAll(l.condition, [w = &walk](const QueryRow& row) {
        // A link column of a number type reads the text '007' as 7. A whole
        // number is the ID exactly when it is the ID's number (IsId without
        // writing the number out: this runs for every link of the list).
        const QVariant link = row.Fields(1);
        if (link.typeId() == QMetaType::LongLong ? !(w->whole && qvariant_cast<qlonglong>(link) == w->wholeValue)
                                                 : !IsId(link, w->vid))
            return;
        // A Null text is the empty text, as in every other cell of the list.
        const QVariant v = row.Fields(w->field);
        appendCellText(w->result, v.isNull() ? QString() : v.toString(), w->limit);
    });
    return walk.result;
}

QString CQuery::GetAllBereiche(const QString& vid) { return cellTexts(0, vid, gMaxBereich); }

QString CQuery::GetAllGrammatikalisch(const QString& vid)
{
    QString result = cellTexts(1, vid, gMaxAttribut);
    if (!result.isEmpty())
        result += QLatin1Char(';');
    return result;
}

QString CQuery::GetAllFunktional(const QString& vid)
{
    QString result = cellTexts(2, vid, gMaxAttribut);
    if (!result.isEmpty())
        result += QLatin1Char(';');
    return result;
}
