#include "database/CDBHandler.h"

#include "common/ErrorBox.h"
#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/IdLookup.h"
#include "common/SqlText.h"
#include "common/TextProcs.h"

#include <QListWidget>
#include <QLocale>
#include <QSet>
#include <cmath>
#include <limits>

using ErrorHandling::Always;

QString objectNotSetText()
{
    return tr2(QStringLiteral("Object variable not set"), QStringLiteral("Objektvariable nicht festgelegt"));
}

Database& mustBeSet(const CDBHandler::DatabasePtr& db)
{
    if (!db)
        throw AppError(ErrNo::ObjectNotSet, objectNotSetText());
    return *db;
}

Recordset& mustBeSet(const CDBHandler::RecordsetPtr& rs)
{
    if (!rs)
        throw AppError(ErrNo::ObjectNotSet, objectNotSetText());
    return *rs;
}

namespace {

// A field value as the runtime's text conversion gives it; Null cannot be text.
QString asText(const QVariant& v)
{
    if (v.isNull())
        ErrorHandling::raiseInvalidNull();
    return v.toString();
}

// The runtime's conversion to a 16-bit Integer: numbers and numeric texts,
// halves rounded to even; anything else is a type mismatch.
int toInteger(const QVariant& v)
{
    if (v.isNull())
        ErrorHandling::raiseInvalidNull();
    bool ok = false;
    double d = 0;
    if (v.typeId() == QMetaType::QString)
        d = QLocale::c().toDouble(v.toString().trimmed(), &ok);
    else
        d = v.toDouble(&ok);
    if (!ok || std::isnan(d))
        ErrorHandling::raiseTypeMismatch();
    const double r = std::nearbyint(d); // default rounding mode: to nearest, halves to even
    if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max())
        throw AppError(6, tr2(QStringLiteral("Overflow"), QStringLiteral("Überlauf")));
    return int(r);
}

// A column name read from the file's schema as it goes into a condition: in
// brackets, so that no name can add words to the condition; a name holding "]"
// cannot be written so and is refused.
QString fieldRef(const Recordset& rs, int index)
{
    const QString name = rs.FieldName(index);
    if (name.contains(QLatin1Char(']')))
        throw AppError(
            DbErr::BadCondition,
            tr2(QStringLiteral("Invalid field name \"%1\""), QStringLiteral("Ungültiger Feldname \"%1\"")).arg(name));
    return QLatin1Char('[') + name + QLatin1Char(']');
}

// An ID as the clean-up compares it: exactly, as IsId does.
QString idKey(const QVariant& v) { return v.toString(); }

void synonymNotFound()
{
    gErrText =
        tr2(QStringLiteral("Synonym not found in database!"), QStringLiteral("Synonym nicht in Datenbank gefunden!"));
    FehlerAusgabe(gErrText);
}

// The language pair of GetLanguages that is no pair.
QString pairUnreadable()
{
    return tr2(QStringLiteral("The languages of the file cannot be read (property \"Languages\" of the table "
                              "\"Vokabular\")."),
               QStringLiteral("Die Sprachen der Datei sind nicht lesbar (Eigenschaft \"Languages\" der Tabelle "
                              "\"Vokabular\")."));
}

} // namespace

namespace {

// Every record-set variable of the handler with the table it opens (none: it
// is never set). A new record set is one line here.
struct RecordsetVariable {
    CDBHandler::RecordsetPtr CDBHandler::*variable;
    const char* table;
};
const RecordsetVariable kRecordsets[] = {
    {&CDBHandler::rsKopieren, "Vokabular"},
    {&CDBHandler::rsVokabular, "Vokabular"},
    {&CDBHandler::rsSuche, "Vokabular"},
    {&CDBHandler::rsVerweise, "Referenzen"},
    {&CDBHandler::rsGrammatikalischeAttribute, "GrammatikalischeAttribute"},
    {&CDBHandler::rsGrammatikalischeAttribute_Zwischen, "GrammatikalischeAttribute_Zwischen"},
    {&CDBHandler::rsFunktionaleAttribute, "FunktionaleAttribute"},
    {&CDBHandler::rsFunktionaleAttribute_Zwischen, "FunktionaleAttribute_Zwischen"},
    {&CDBHandler::rsBereiche, "Bereiche"},
    {&CDBHandler::rsBereiche_Zwischen, "Bereiche_Zwischen"},
    {&CDBHandler::rsSynonyme, "Synonyme"},
    {&CDBHandler::rsWortart, nullptr},
    {&CDBHandler::rsWortart_Zwischen, nullptr},
};

} // namespace

bool CDBHandler::OpenAllRecordsets()
{
    return ErrorHandling::reportAndLeave(
        [&] {
            Database& db = mustBeSet(dbKopieren);
            for (const RecordsetVariable& r : kRecordsets)
                if (r.table)
                    this->*r.variable = db.OpenRecordset(QStringLiteral("SELECT * FROM ") + QLatin1String(r.table), 2);
        },
        Always::Yes);
}

void CDBHandler::CloseAllDBObjects()
{
    ErrorHandling::Steps step(Always::Yes);
    // A variable that holds nothing has nothing to close.
    for (const RecordsetVariable& r : kRecordsets)
        if (const RecordsetPtr& rs = this->*r.variable)
            step([&] { rs->Close(); });
    if (dbKopieren)
        step([&] { dbKopieren->Close(); });
    forgetAll();
}

void CDBHandler::DropDatabase()
{
    if (dbKopieren && dbKopieren->isOpen()) {
        try {
            dbKopieren->Close(); // closes the record sets with it
        } catch (...) {
            ErrorHandling::report(ErrorHandling::currentError(), Always::Yes);
        }
    }
    forgetAll();
}

void CDBHandler::forgetAll()
{
    // Nothing of the closed file may be used by mistake afterwards.
    for (const RecordsetVariable& r : kRecordsets)
        (this->*r.variable).reset();
    dbKopieren.reset();
}

void CDBHandler::setColumnNames(const QString& prefix1, const QString& prefix2)
{
    lang1_prefix = prefix1 + QStringLiteral("Prefix");
    lang1_main = prefix1 + QStringLiteral("Main");
    lang1_suffix = prefix1 + QStringLiteral("Suffix");
    lang1_comment = prefix1 + QStringLiteral("Kommentar");
    lang2_prefix = prefix2 + QStringLiteral("Prefix");
    lang2_main = prefix2 + QStringLiteral("Main");
    lang2_suffix = prefix2 + QStringLiteral("Suffix");
    lang2_comment = prefix2 + QStringLiteral("Kommentar");
}

bool CDBHandler::GetLanguages()
{
    bool result = false;
    ErrorHandling::reportAndLeave([&] {
        lang1.clear();
        lang2.clear();
        QString value;
        const std::vector<Property> props = mustBeSet(dbKopieren).TableDefs(QStringLiteral("Vokabular"))->Properties();
        for (const Property& p : props) {
            if (p.Name == QLatin1String("Languages")) {
                value = p.Value.isNull() ? QString() : asText(p.Value);
                break;
            }
        }

        if (value.isEmpty()) {
            lang1 = QStringLiteral("Spanisch");
            lang2 = QStringLiteral("Deutsch");
            setColumnNames(lang1 + QLatin1Char('_'), lang2 + QLatin1Char('_'));
            result = true;
            return;
        }

        // "=" opens a value, "@" closes it; positions are 1-based as in the stored form.
        int count = 0;
        qsizetype start = -1;
        for (qsizetype p = 1; p <= value.size(); ++p) {
            const QChar c = value.at(p - 1);
            if (c == QLatin1Char('=')) {
                start = p + 1;
                ++count;
            } else if (c == QLatin1Char('@')) {
                if (count != 1 && count != 2) {
                    m_faults << pairUnreadable(); // not a language pair: false, no box of its own
                    return;
                }
                const QString item = value.mid(start - 1, p - start);
                (count == 1 ? lang1 : lang2) = item;
            }
        }
        if (lang2.isEmpty()) {
            if (start == -1) {
                m_faults << pairUnreadable();
                return;
            }
            lang2 = value.mid(start - 1);
        }
        lang1 = extract(lang1);
        lang2 = extract(lang2);

        int version = 0;
        for (const Property& p : props) {
            if (p.Name == QLatin1String("DBVersion")) {
                // Without its version the file's column names are unknown: the
                // refusal names the value, with no box of its own.
                try {
                    version = toInteger(p.Value);
                } catch (const AppError&) {
                    m_faults << tr2(QStringLiteral("The property \"DBVersion\" of the table \"Vokabular\" is not a "
                                                   "whole number: \"%1\"."),
                                    QStringLiteral("Die Eigenschaft \"DBVersion\" der Tabelle \"Vokabular\" ist keine "
                                                   "ganze Zahl: \"%1\"."))
                                    .arg(p.Value.isNull() ? QStringLiteral("Null") : asText(p.Value));
                    return;
                }
                break;
            }
        }
        if (version >= 2)
            setColumnNames(QStringLiteral("Lang1_"), QStringLiteral("Lang2_"));
        else
            setColumnNames(lang1 + QLatin1Char('_'), lang2 + QLatin1Char('_'));
        result = true;
    });
    return result;
}

namespace {

// The tables of a vocabulary database with the columns the program reads or
// writes: those read by position (BereinigeRelationales, the list build, the
// link procedures) must stand first, in this order; the others anywhere.
// "Zusatzinfo" is not among them: a file of the older version lacks it and
// its entries show it empty.
struct TableShape {
    QString table;
    QStringList byPosition;
    QStringList byName;
};

const QList<TableShape>& tableShapes()
{
    static const QList<TableShape> shapes = {
        {QStringLiteral("Vokabular"),
         {QStringLiteral("ID")},
         {QStringLiteral("Wortart"), QStringLiteral("Beispielsatz"), QStringLiteral("Quelle"),
          QStringLiteral("Eingabedatum"), QStringLiteral("Aenderungsdatum"), QStringLiteral("Score")}},
        {QStringLiteral("Bereiche"), {QStringLiteral("ID"), QStringLiteral("Bereich_Text")}, {}},
        {QStringLiteral("Bereiche_Zwischen"), {QStringLiteral("IDV"), QStringLiteral("ID")}, {}},
        {QStringLiteral("GrammatikalischeAttribute"), {QStringLiteral("IDA"), QStringLiteral("Attribut_Text")}, {}},
        {QStringLiteral("GrammatikalischeAttribute_Zwischen"), {QStringLiteral("IDV"), QStringLiteral("ID")}, {}},
        {QStringLiteral("FunktionaleAttribute"), {QStringLiteral("IDA"), QStringLiteral("Attribut_Text")}, {}},
        {QStringLiteral("FunktionaleAttribute_Zwischen"), {QStringLiteral("IDV"), QStringLiteral("ID")}, {}},
        {QStringLiteral("Synonyme"),
         {},
         {QStringLiteral("ID"), QStringLiteral("VID"), QStringLiteral("Sprache"), QStringLiteral("Prefix"),
          QStringLiteral("Main"), QStringLiteral("Suffix"), QStringLiteral("Kommentar")}},
        {QStringLiteral("Referenzen"), {}, {QStringLiteral("von"), QStringLiteral("nach"), QStringLiteral("Typ")}},
    };
    return shapes;
}

QString quotedList(const QStringList& names)
{
    return QLatin1Char('"') + names.join(QStringLiteral("\", \"")) + QLatin1Char('"');
}

} // namespace

QStringList CDBHandler::tableFaults(Database& db) const
{
    QStringList faults;
    for (const TableShape& shape : tableShapes()) {
        std::shared_ptr<TableDef> def;
        try {
            def = db.TableDefs(shape.table);
        } catch (const AppError& e) {
            if (e.number() != DbErr::NoSuchTable)
                throw;
            faults << tr2(QStringLiteral("The table \"%1\" is missing."), QStringLiteral("Die Tabelle \"%1\" fehlt."))
                          .arg(shape.table);
            continue;
        }
        // Every table takes changes: the score, the clean-up at quit, the link procedures.
        if (def->IsView())
            faults << tr2(QStringLiteral("\"%1\" is a view, not a table: its entries cannot be changed."),
                          QStringLiteral("\"%1\" ist eine Sicht (View) und keine Tabelle: ihre Einträge können nicht "
                                         "geändert werden."))
                          .arg(shape.table);
    }
    return faults;
}

QStringList CDBHandler::columnFaults(Database& db) const
{
    QStringList faults;
    for (const TableShape& shape : tableShapes()) {
        QStringList byName;
        if (shape.table == QLatin1String("Vokabular"))
            byName << lang1_prefix << lang1_main << lang1_suffix << lang1_comment << lang2_prefix << lang2_main
                   << lang2_suffix << lang2_comment;
        byName << shape.byName;
        const QStringList fields = db.TableDefs(shape.table)->FieldNames();
        QStringList missing;
        for (const QString& name : shape.byPosition + byName)
            if (!fields.contains(name, Qt::CaseInsensitive))
                missing << name;
        if (missing.size() == 1)
            faults << tr2(QStringLiteral("The table \"%1\" lacks the column \"%2\"."),
                          QStringLiteral("Der Tabelle \"%1\" fehlt die Spalte \"%2\"."))
                          .arg(shape.table, missing.first());
        else if (!missing.isEmpty())
            faults << tr2(QStringLiteral("The table \"%1\" lacks the columns %2."),
                          QStringLiteral("Der Tabelle \"%1\" fehlen die Spalten %2."))
                          .arg(shape.table, quotedList(missing));
        for (qsizetype i = 0; i < shape.byPosition.size(); ++i) {
            const QString& name = shape.byPosition.at(i);
            if (!missing.contains(name) && (i >= fields.size() || fields.at(i).compare(name, Qt::CaseInsensitive) != 0))
                faults << tr2(QStringLiteral("In the table \"%1\", \"%2\" must be column %3."),
                              QStringLiteral("In der Tabelle \"%1\" muss \"%2\" die %3. Spalte sein."))
                              .arg(shape.table, name)
                              .arg(i + 1);
        }
    }
    return faults;
}

bool CDBHandler::CheckLanguageDatabase()
{
    m_faults.clear();
    m_checkedFile.clear();
    bool result = false;
    ErrorHandling::reportAndLeave([&] {
        Database& db = mustBeSet(dbKopieren);
        m_checkedFile = db.Name();
        // The tables first: without "Vokabular" the language pair has nowhere to be read from.
        m_faults = tableFaults(db);
        if (!m_faults.isEmpty() || !GetLanguages())
            return;
        m_faults = columnFaults(db);
        result = m_faults.isEmpty();
    });
    return result;
}

QString CDBHandler::NotLanguageDatabaseText() const
{
    QString text = tr2(QStringLiteral("The file is not a valid language database."),
                       QStringLiteral("Die Datei ist keine gültige Sprachdatenbank."));
    if (!m_checkedFile.isEmpty())
        text += QLatin1Char('\r') + tr2(QStringLiteral("File: "), QStringLiteral("Datei: ")) + m_checkedFile;
    for (const QString& fault : m_faults)
        text += QLatin1Char('\r') + fault;
    return text;
}

int CDBHandler::GetDBVersion()
{
    // A failure anywhere (no table Vokabular, a value that is no number) gives 0;
    // only a walk that finds no "DBVersion" at all gives -99.
    int version = 0;
    ErrorHandling::reportAndLeave(
        [&] {
            for (const Property& p : mustBeSet(dbKopieren).TableDefs(QStringLiteral("Vokabular"))->Properties()) {
                if (p.Name == QLatin1String("DBVersion")) {
                    version = toInteger(p.Value);
                    return;
                }
            }
            version = -99;
        },
        Always::Yes);
    return version;
}

bool CDBHandler::SchreibeArrayToDB(const QString& str, const RecordsetPtr& rsTabelle,
                                   const RecordsetPtr& rsTabelle_Zwischen, const RecordsetPtr& rsVok)
{
    return ErrorHandling::reportAndLeave([&] {
        EntferneAllArraysForCurrent(rsTabelle_Zwischen, rsVok);
        // Each item ends with ";"; text after the last ";" is no item.
        qsizetype from = 0;
        for (qsizetype end = str.indexOf(QLatin1Char(';')); end >= 0; end = str.indexOf(QLatin1Char(';'), from)) {
            SchreibeArrayItemToDB(str.mid(from, end - from), rsTabelle, rsTabelle_Zwischen, rsVok);
            from = end + 1;
        }
    });
}

bool CDBHandler::EntferneAllArraysForCurrent(const RecordsetPtr& rsTabelle_Zwischen, const RecordsetPtr& rsVok)
{
    Recordset& rsZ = mustBeSet(rsTabelle_Zwischen);
    const QString id = asText(mustBeSet(rsVok).Fields(0));
    DeleteId(rsZ, fieldRef(rsZ, 0), id);
    return true;
}

bool CDBHandler::SchreibeArrayItemToDB(const QString& att, const RecordsetPtr& rsTabelle,
                                       const RecordsetPtr& rsTabelle_Zwischen, const RecordsetPtr& rsVok)
{
    Recordset& rsT = mustBeSet(rsTabelle);
    Recordset& rsZ = mustBeSet(rsTabelle_Zwischen);
    Recordset& vok = mustBeSet(rsVok);
    rsT.FindFirst(SqlEquals(fieldRef(rsT, 1), att));
    if (rsT.IsEOF() || rsT.NoMatch()) {
        rsT.AddNew();
        rsT.SetField(1, att);
        rsT.Update();
        rsT.MoveToLastModified();
    }
    rsZ.AddNew();
    rsZ.SetField(0, vok.Fields(0));
    rsZ.SetField(1, rsT.Fields(0));
    rsZ.Update();
    return true;
}

bool CDBHandler::CheckRelationExist(const QString& Id1, const QString& Id2, const QString& strRelationType)
{
    bool found = false;
    ErrorHandling::reportAndLeave([&] {
        Recordset& rs = mustBeSet(rsVerweise);
        const auto link = [](const QString& from, const QString& to) {
            return QLatin1Char('(') + SqlEquals(QStringLiteral("von"), from) + QStringLiteral(" AND ")
                   + SqlEquals(QStringLiteral("nach"), to) + QLatin1Char(')');
        };
        const QString condition = QLatin1Char('(') + link(Id1, Id2) + QStringLiteral(" OR ") + link(Id2, Id1)
                                  + QStringLiteral(") AND (") + SqlEquals(QStringLiteral("Typ"), strRelationType)
                                  + QLatin1Char(')');
        const auto is = [&](const QString& from, const QString& to) {
            return IsId(rs.Fields(QStringLiteral("von")), from) && IsId(rs.Fields(QStringLiteral("nach")), to);
        };
        FindFirstWhere(rs, condition, [&] { return is(Id1, Id2) || is(Id2, Id1); });
        found = !(rs.IsEOF() || rs.NoMatch());
    });
    return found;
}

void CDBHandler::DeleteRelationalEntriesForID(int R)
{
    ErrorHandling::reportAndLeave([&] {
        DeleteEntryForID(R, rsBereiche_Zwischen);
        DeleteEntryForID(R, rsFunktionaleAttribute_Zwischen);
        DeleteEntryForID(R, rsGrammatikalischeAttribute_Zwischen);
        Recordset& rs = mustBeSet(rsVerweise);
        const QString id = QString::number(R);
        DeleteId(rs, QStringLiteral("von"), id);
        DeleteId(rs, QStringLiteral("nach"), id);
    });
}

void CDBHandler::DeleteEntryForID(int R, const RecordsetPtr& rs)
{
    DeleteId(mustBeSet(rs), QStringLiteral("IDV"), QString::number(R));
}

bool CDBHandler::BereinigeDB()
{
    ErrorHandling::reportAndLeave([&] {
        // One transaction: thousands of deletes cost one write to the disk,
        // and a failure leaves the file as it was. It takes the write lock at
        // its start, waiting for another program's as every write does; a
        // transaction that has read first would be refused the lock at once.
        // A file held locked longer is left as it is, without a word: the
        // clean-up changes nothing of the learner's. A read-only file is only
        // read unless there is something to delete.
        Database& db = mustBeSet(dbKopieren);
        const auto lockedOut = [] { return ErrorHandling::currentError().number() == DbErr::Locked; };
        try {
            if (db.isReadOnly())
                db.BeginTrans();
            else
                db.BeginWriteTrans();
        } catch (...) {
            if (lockedOut())
                return;
            throw;
        }
        try {
            BereinigeRelationales(rsBereiche_Zwischen, rsBereiche);
            BereinigeRelationales(rsGrammatikalischeAttribute_Zwischen, rsGrammatikalischeAttribute);
            BereinigeRelationales(rsFunktionaleAttribute_Zwischen, rsFunktionaleAttribute);
            BereinigeSynonyme();
            db.CommitTrans();
        } catch (...) {
            db.Rollback();
            if (lockedOut())
                return;
            throw;
        }
    });
    return true;
}

void CDBHandler::BereinigeRelationales(const RecordsetPtr& rs_Z, const RecordsetPtr& rs)
{
    Recordset& links = mustBeSet(rs_Z);
    Recordset& table = mustBeSet(rs);

    // One walk of the link table collects the values it refers to; asking the
    // link table once per row instead would take hours on a large database.
    QSet<QString> used;
    const QString linkCondition = fieldRef(links, 1) + QStringLiteral(" LIKE '*'");
    links.FindFirst(linkCondition);
    while (!(links.IsEOF() || links.NoMatch())) {
        used.insert(idKey(links.Fields(1)));
        links.FindNext(linkCondition);
    }

    const QString condition = fieldRef(table, 0) + QStringLiteral(" LIKE '*'");
    table.FindFirst(condition);
    while (!(table.IsEOF() || table.NoMatch())) {
        if (!used.contains(idKey(table.Fields(0))))
            table.Delete();
        table.FindNext(condition);
    }
}

void CDBHandler::BereinigeSynonyme()
{
    Recordset& vok = mustBeSet(rsVokabular);
    Recordset& syn = mustBeSet(rsSynonyme);

    QSet<QString> ids;
    const QString idCondition = QStringLiteral("ID LIKE '*'");
    vok.FindFirst(idCondition);
    while (!(vok.IsEOF() || vok.NoMatch())) {
        ids.insert(idKey(vok.Fields(QStringLiteral("ID"))));
        vok.FindNext(idCondition);
    }

    const QString condition = QStringLiteral("VID LIKE '*'");
    syn.FindFirst(condition);
    while (!(syn.IsEOF() || syn.NoMatch())) {
        if (!ids.contains(idKey(syn.Fields(QStringLiteral("VID")))))
            syn.Delete();
        syn.FindNext(condition);
    }
}

bool CDBHandler::SearchAttribut_Z(const QString& ID, const RecordsetPtr& rs)
{
    Recordset& links = mustBeSet(rs);
    FindId(links, fieldRef(links, 1), ID);
    return !(links.IsEOF() || links.NoMatch());
}

bool CDBHandler::StoreSynonyme(int Ind, const QVariant& vid, const QVariant& Sprache, const QString& Prefix,
                               const QString& Main, const QString& Suffix, const QString& Kommentar, QListWidget* ctr)
{
    bool result = false;
    ErrorHandling::reportAndLeave([&] {
        Recordset& rs = mustBeSet(rsSynonyme);
        auto writeTexts = [&] {
            rs.SetField(QStringLiteral("Prefix"), Prefix);
            rs.SetField(QStringLiteral("Main"), Main);
            rs.SetField(QStringLiteral("Suffix"), Suffix);
            rs.SetField(QStringLiteral("Kommentar"), Kommentar);
        };
        if (Ind == -1) {
            rs.AddNew();
            writeTexts();
            rs.SetField(QStringLiteral("VID"), vid);
            rs.SetField(QStringLiteral("Sprache"), toInteger(Sprache));
            rs.Update();
            rs.MoveToLastModified();
            if (ctr)
                ctr->addItem(asText(rs.Fields(QStringLiteral("ID"))));
        } else {
            rs.FindFirst(QStringLiteral("ID=") + QString::number(Ind));
            if (rs.IsEOF() || rs.NoMatch()) {
                synonymNotFound();
                return;
            }
            rs.Edit();
            writeTexts();
            rs.Update();
        }
        result = true;
    });
    return result;
}

bool CDBHandler::DeleteSynonym(int Ind)
{
    bool result = false;
    ErrorHandling::reportAndLeave([&] {
        Recordset& rs = mustBeSet(rsSynonyme);
        rs.FindFirst(QStringLiteral("ID=") + QString::number(Ind));
        if (rs.IsEOF() || rs.NoMatch()) {
            synonymNotFound();
            return;
        }
        rs.Delete();
        result = true;
    });
    return result;
}
