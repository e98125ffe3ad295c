#pragma once
// Builds the selection statement (areas, attributes, relations) and the
// condition on the error score, and supplies the area and attribute cell
// texts of one entry.
#include <QString>
#include <QVariant>

#include <array>
#include <memory>

class CDBHandler;
class QueryDef;

// Adds one text to an area or attribute cell: trimmed, cut to limit, "; "
// between it and the texts before when both are non-empty.
void appendCellText(QString& cell, const QString& text, int limit);

class CQuery {
public:
    // The handler whose database the cell-text functions read (the main window's).
    CDBHandler* handler = nullptr;
    QString QueryString;
    QString FindString;

    void InitQuery();
    void ExtendQueryString(const QString& tbl, const QString& fld, const QString& str, bool rel);
    void ExtendQueryStringByScore(const QString& strMin, const QString& strMax);
    void ExtendQueryStringByRegion(const QString& Field, const QString& strMin, const QString& strMax);
    void AddRel(bool rel);
    void StartSection();
    void StopSection();

    void RelInitQuery();
    void RelExtendQueryString(const QString& str, bool rel);
    void RelInsert(const QString& str, const QString& mode);
    void RelCreateQueryString();
    QString insertBereichPart() const;
    QString insertWortartPart() const;
    QString insertGrammatikalischPart() const;
    QString insertFunktionalPart() const;
    QString insertReferenzenPart() const;

    // Cell texts of one entry; vid is the entry's ID as text.
    QString GetAllBereiche(const QString& vid);
    QString GetAllGrammatikalisch(const QString& vid);
    QString GetAllFunktional(const QString& vid);

private:
    // The texts of one of the three cell lookups, each cut to limit and joined with "; ".
    QString cellTexts(int lookup, const QString& vid, int limit);
    std::array<std::shared_ptr<QueryDef>, 3> m_cellQueries;
    std::array<bool, 3> m_bothForms{}; // the lookup's statement looks for the ID as text and as number
    QString m_numberOf;                // the ID whose number m_number is (IdAsNumber)
    QVariant m_number;
    bool FirstTerm = true;
    QString BereichCond, WortartCond, GrammCond, FunktCond, RefCond;
};
