// The selection statement, the score condition and the area/attribute cell texts.
#include "common/Global.h"
#include "database/CDBHandler.h"
#include "database/CQuery.h"
#include "engine/AppError.h"
#include "engine/Recordset.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kAreaJoin = QStringLiteral(" AND Bereiche.ID=Bereiche_Zwischen.ID AND Bereiche_Zwischen.IDV=Vokabular.ID");

CQuery queryWith(const QList<std::pair<QString, QString>>& inserts)
{
    CQuery q;
    q.RelInitQuery();
    for (const auto& [value, kind] : inserts)
        q.RelInsert(value, kind);
    q.RelCreateQueryString();
    return q;
}

TEST(CQueryStatement, AreasAttributesAndRelationsBuildTheStatement)
{
    struct Case {
        QList<std::pair<QString, QString>> inserts;
        QString expected;
    };
    const QString bereich = QStringLiteral("Bereich");
    const Case cases[] = {
        {{}, QStringLiteral("SELECT DISTINCT * FROM Vokabular")},
        {{{QStringLiteral("Essen"), bereich}, {QStringLiteral("Reisen"), bereich}},
         QStringLiteral("SELECT DISTINCT * FROM Vokabular, Bereiche, Bereiche_Zwischen WHERE (Bereich_Text='Essen' OR "
                        "Bereich_Text='Reisen') AND Bereiche.ID=Bereiche_Zwischen.ID AND "
                        "Bereiche_Zwischen.IDV=Vokabular.ID")},
        {{{QStringLiteral("Essen"), bereich}},
         QStringLiteral("SELECT DISTINCT * FROM Vokabular, Bereiche, Bereiche_Zwischen WHERE (Bereich_Text='Essen')")
             + kAreaJoin},
        // The kind is compared exactly: "bereich" adds nothing.
        {{{QStringLiteral("Essen"), QStringLiteral("bereich")}}, QStringLiteral("SELECT DISTINCT * FROM Vokabular")},
        // An apostrophe stays inside its value.
        {{{QStringLiteral("Kinder's"), bereich}},
         QStringLiteral("SELECT DISTINCT * FROM Vokabular, Bereiche, Bereiche_Zwischen WHERE "
                        "(Bereich_Text='Kinder''s')")
             + kAreaJoin},
        {{{QStringLiteral("Reisen"), bereich},
          {QStringLiteral("l'article"), QStringLiteral("Funktional")},
          {QStringLiteral("Plural"), QStringLiteral("Grammatikalisch")},
          {QStringLiteral("Siehe auch"), QStringLiteral("Referenzen")}},
         QStringLiteral("SELECT DISTINCT * FROM Vokabular, Bereiche, Bereiche_Zwischen, GrammatikalischeAttribute, "
                        "[GrammatikalischeAttribute_Zwischen], FunktionaleAttribute, [FunktionaleAttribute_Zwischen], "
                        "Referenzen WHERE (Bereich_Text='Reisen')")
             + kAreaJoin
             + QStringLiteral(" AND (GrammatikalischeAttribute.[Attribut_Text]='Plural') AND "
                              "GrammatikalischeAttribute.IDA=GrammatikalischeAttribute_Zwischen.ID AND "
                              "GrammatikalischeAttribute_Zwischen.IDV=Vokabular.ID AND "
                              "(FunktionaleAttribute.[Attribut_Text]='l''article') AND "
                              "FunktionaleAttribute.IDA=FunktionaleAttribute_Zwischen.ID AND "
                              "FunktionaleAttribute_Zwischen.IDV=Vokabular.ID AND (Referenzen.Typ='Siehe auch') AND "
                              "Referenzen.von=Vokabular.ID")},
        // Without areas the first written list gets no " AND " before it.
        {{{QStringLiteral("Siehe auch"), QStringLiteral("Referenzen")}},
         QStringLiteral("SELECT DISTINCT * FROM Vokabular, Referenzen WHERE (Referenzen.Typ='Siehe auch') AND "
                        "Referenzen.von=Vokabular.ID")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(queryWith(c.inserts).QueryString, c.expected);
}

TEST(CQueryStatement, RelInitQueryStartsAfreshButKeepsTheCondition)
{
    CQuery q = queryWith({{QStringLiteral("Essen"), QStringLiteral("Bereich")}});
    q.InitQuery();
    q.ExtendQueryStringByScore(QStringLiteral("2"), QStringLiteral("5"));
    q.RelInitQuery();
    EXPECT_TRUE(q.QueryString.isEmpty());
    EXPECT_EQ(q.FindString, QStringLiteral("(Score >=2 AND Score <=5)"));
    EXPECT_EQ(q.insertBereichPart(), QString());
    q.RelCreateQueryString();
    EXPECT_EQ(q.QueryString, QStringLiteral("SELECT DISTINCT * FROM Vokabular"));
    EXPECT_EQ(q.insertWortartPart(), QString()); // nothing fills the part-of-speech list
}

TEST(CQueryCondition, ScoreTermsAndTheirJoins)
{
    CQuery q;
    q.InitQuery();
    q.ExtendQueryStringByScore(QStringLiteral("2"), QStringLiteral("5"));
    EXPECT_EQ(q.FindString, QStringLiteral("(Score >=2 AND Score <=5)"));
    q.ExtendQueryStringByScore(QStringLiteral("1"), QStringLiteral("3"));
    EXPECT_EQ(q.FindString, QStringLiteral("(Score >=2 AND Score <=5) AND (Score >=1 AND Score <=3)"));

    // An empty bound adds nothing and leaves the first-term state: no " AND " afterwards.
    for (const auto& [lo, hi] : {std::pair{QString(), QStringLiteral("5")}, std::pair{QStringLiteral("2"), QString()},
                                 std::pair{QString(), QString()}}) {
        q.InitQuery();
        q.ExtendQueryStringByScore(lo, hi);
        EXPECT_TRUE(q.FindString.isEmpty());
        q.ExtendQueryStringByScore(QStringLiteral("3"), QStringLiteral("4"));
        EXPECT_EQ(q.FindString, QStringLiteral("(Score >=3 AND Score <=4)"));
    }
}

TEST(CQueryCondition, FieldRegionSectionAndAreaTerms)
{
    CQuery q;
    q.InitQuery();
    q.ExtendQueryString(QStringLiteral("Vokabular"), QStringLiteral("Wortart"), QStringLiteral("Nomen"), true);
    q.ExtendQueryString(QStringLiteral("Vokabular"), QStringLiteral("Quelle"), QStringLiteral("l'Echo"), false);
    q.ExtendQueryString(QStringLiteral("Vokabular"), QStringLiteral("Quelle"), QString(), true); // nothing
    EXPECT_EQ(q.FindString, QStringLiteral("Vokabular.[Wortart] LIKE 'Nomen' OR Vokabular.[Quelle] LIKE 'l''Echo'"));

    q.InitQuery();
    q.StartSection();
    q.ExtendQueryStringByRegion(QStringLiteral("Eingabedatum"), QStringLiteral("20000101"), QStringLiteral("2000'"));
    q.StopSection();
    q.StartSection();
    q.ExtendQueryStringByRegion(QStringLiteral("Eingabedatum"), QString(), QStringLiteral("x")); // nothing
    q.ExtendQueryStringByScore(QStringLiteral("1"), QStringLiteral("2"));
    q.StopSection();
    EXPECT_EQ(q.FindString, QStringLiteral("((Eingabedatum >='20000101' AND Eingabedatum <='2000''')) AND "
                                           "((Score >=1 AND Score <=2))"));

    q.RelInitQuery();
    q.InitQuery();
    q.RelExtendQueryString(QStringLiteral("Kinder's"), true);
    EXPECT_EQ(q.QueryString, QStringLiteral("(Bereiche_Zwischen.IDV = Vokabular.ID AND Bereich_Text='Kinder''s' AND "
                                            "Bereiche.ID=Bereiche_Zwischen.ID)"));
    q.RelExtendQueryString(QStringLiteral("Essen"), false);
    EXPECT_EQ(q.FindString, QStringLiteral(" OR "));
}

// A small file: entries with areas and attributes, some with apostrophes.
class CQueryFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = QDir(dir.path()).filePath(QStringLiteral("cells.lxt"));
        TestDatabase db(path);
        db.setLanguages(QStringLiteral("L1=Französisch@L2=Deutsch@")).setDBVersion(2);
        hund = db.addEntry({QString(), QStringLiteral("chien")}, {QStringLiteral("der"), QStringLiteral("Hund")});
        haus = db.addEntry({QString(), QStringLiteral("maison")}, {QStringLiteral("das"), QStringLiteral("Haus")});
        leer = db.addEntry({QString(), QStringLiteral("rien")}, {QString(), QStringLiteral("nichts")});
        const qint64 tiere = db.addArea(QStringLiteral("  Tiere  "));
        const qint64 kinder = db.addArea(QStringLiteral("Kinder's"));
        const qint64 blank = db.addArea(QString());
        const qint64 lang = db.addArea(QString(60, QLatin1Char('x')));
        db.linkArea(hund, blank); // an empty text first: no separator before the next
        db.linkArea(hund, tiere);
        db.linkArea(hund, kinder);
        db.linkArea(haus, lang);
        const qint64 plural = db.addGrammAttribute(QStringLiteral("Plural"));
        const qint64 mask = db.addGrammAttribute(QStringLiteral("maskulin"));
        const qint64 article = db.addFunktAttribute(QStringLiteral("l'article ") + QString(210, QLatin1Char('a')));
        db.linkGramm(hund, mask);
        db.linkGramm(hund, plural);
        db.linkFunkt(haus, article);
        // A Null area text, and a Null attribute text among others.
        odd = db.addEntry({QString(), QStringLiteral("bizarre")}, {QString(), QStringLiteral("seltsam")});
        db.linkArea(odd, db.addArea(QVariant()));
        db.linkGramm(odd, db.addGrammAttribute(QVariant()));
        db.linkGramm(odd, plural);
        handler.dbKopieren = Database::OpenDatabase(path);
        query.handler = &handler;
    }
    void TearDown() override
    {
        if (handler.dbKopieren)
            handler.dbKopieren->Close();
    }

    QTemporaryDir dir;
    QString path;
    qint64 hund = 0, haus = 0, leer = 0, odd = 0;
    CDBHandler handler;
    CQuery query;
};

TEST_F(CQueryFile, CellTextsJoinTrimAndCut)
{
    const QString id = QString::number(hund);
    EXPECT_EQ(query.GetAllBereiche(id), QStringLiteral("Tiere; Kinder's"));
    EXPECT_EQ(query.GetAllGrammatikalisch(id), QStringLiteral("maskulin; Plural;"));
    EXPECT_EQ(query.GetAllFunktional(id), QString());

    const QString h = QString::number(haus);
    EXPECT_EQ(query.GetAllBereiche(h), QString(gMaxBereich, QLatin1Char('x')));
    const QString functional = query.GetAllFunktional(h);
    EXPECT_EQ(functional.size(), gMaxAttribut + 1); // cut to the limit, then the final ";"
    EXPECT_TRUE(functional.startsWith(QStringLiteral("l'article a")));
    EXPECT_TRUE(functional.endsWith(QStringLiteral("a;")));

    const QString l = QString::number(leer);
    EXPECT_EQ(query.GetAllBereiche(l), QString());
    EXPECT_EQ(query.GetAllGrammatikalisch(l), QString());
}

// An ID from a foreign file stays one value in the statement and the condition:
// a text ID finds its own links only, a number with a leading zero none.
TEST_F(CQueryFile, AnEntryIdIsOneValueWhateverItsText)
{
    const QString injected = QStringLiteral("1 OR 1=1");
    {
        TestDatabase db(path, TestDatabase::OpenExisting);
        const qint64 fremd = db.addArea(QStringLiteral("Fremd"));
        db.linkArea(injected, fremd);
        db.linkGramm(injected, db.addGrammAttribute(QStringLiteral("fremd")));
    }
    EXPECT_EQ(query.GetAllBereiche(injected), QStringLiteral("Fremd"));
    EXPECT_EQ(query.GetAllGrammatikalisch(injected), QStringLiteral("fremd;"));
    EXPECT_EQ(query.GetAllFunktional(injected), QString());
    EXPECT_EQ(query.GetAllBereiche(QStringLiteral("x' OR 'a'='a")), QString());
    EXPECT_EQ(query.GetAllBereiche(QStringLiteral("00") + QString::number(hund)), QString());
}

// Link columns without a type keep what was stored: a number equals its own
// text (7 and '7'), '007' is not 7, and 12.5 stored as a number is found.
TEST_F(CQueryFile, LinksThatKeepTextMatchTheExactId)
{
    {
        TestDatabase db(path, TestDatabase::OpenExisting);
        db.exec(QStringLiteral("DROP TABLE Bereiche_Zwischen"));
        db.exec(QStringLiteral("CREATE TABLE Bereiche_Zwischen (IDV, ID INTEGER)"));
        db.linkArea(7, db.addArea(QStringLiteral("Zahl")));
        db.linkArea(QStringLiteral("7"), db.addArea(QStringLiteral("Text")));
        db.linkArea(QStringLiteral("007"), db.addArea(QStringLiteral("Vorne")));
        db.linkArea(12.5, db.addArea(QStringLiteral("Bruch")));
    }
    QStringList seven = query.GetAllBereiche(QStringLiteral("7")).split(QStringLiteral("; "));
    seven.sort();
    EXPECT_EQ(seven, QStringList({QStringLiteral("Text"), QStringLiteral("Zahl")}));
    EXPECT_EQ(query.GetAllBereiche(QStringLiteral("007")), QStringLiteral("Vorne"));
    EXPECT_EQ(query.GetAllBereiche(QStringLiteral("12.5")), QStringLiteral("Bruch"));
}

// The cells run one prepared statement per lookup with the ID as its
// parameter: the texts of a dynaset with the ID written in, walked with
// FindFirst/FindNext on the condition with the ID written in, in that order.
TEST_F(CQueryFile, CellsAreThoseOfADynasetWithTheIdWrittenIn)
{
    auto walk = [&](const QString& table, const QString& field, const QString& id, const QString& condition) {
        const QString links = table + QStringLiteral("_Zwischen");
        auto rs = handler.dbKopieren->OpenRecordset(
            QStringLiteral("SELECT %1, %2.IDV FROM %2, %3 WHERE %2.IDV=%4 AND %2.ID=%3.%5")
                .arg(field, links, table, id,
                     table == QLatin1String("Bereiche") ? QStringLiteral("ID") : QStringLiteral("IDA")));
        QString cell;
        for (rs->FindFirst(condition); !rs->NoMatch(); rs->FindNext(condition))
            appendCellText(cell, rs->Fields(field).toString(),
                           table == QLatin1String("Bereiche") ? gMaxBereich : gMaxAttribut);
        return cell;
    };
    const QString attribute = QStringLiteral("Attribut_Text");
    for (const qint64 id : {hund, haus, leer, odd}) {
        const QString text = QString::number(id);
        SCOPED_TRACE(id);
        const QString gramm =
            walk(QStringLiteral("GrammatikalischeAttribute"), attribute, text, attribute + QStringLiteral(" LIKE '*'"));
        EXPECT_EQ(query.GetAllGrammatikalisch(text), gramm.isEmpty() ? gramm : gramm + QLatin1Char(';'));
        const QString funkt =
            walk(QStringLiteral("FunktionaleAttribute"), attribute, text, attribute + QStringLiteral(" LIKE '*'"));
        EXPECT_EQ(query.GetAllFunktional(text), funkt.isEmpty() ? funkt : funkt + QLatin1Char(';'));
        // A Null area text (entry odd) is the empty text.
        EXPECT_EQ(query.GetAllBereiche(text), walk(QStringLiteral("Bereiche"), QStringLiteral("Bereich_Text"), text,
                                                   QStringLiteral("Bereiche_Zwischen.IDV=") + text));
    }
}

TEST_F(CQueryFile, StatementsRunOnTheEngineEvenWithApostrophes)
{
    query.RelInitQuery();
    query.RelInsert(QStringLiteral("Kinder's"), QStringLiteral("Bereich"));
    query.RelInsert(QStringLiteral("  Tiere  "), QStringLiteral("Bereich"));
    query.RelCreateQueryString();
    auto rs = handler.dbKopieren->OpenRecordset(query.QueryString, 2);
    // The entry is in both areas: DISTINCT... of all joined columns, so each area row counts.
    QStringList ids;
    rs->FindFirst(QStringLiteral("Vokabular.ID LIKE '*'"));
    while (!(rs->IsEOF() || rs->NoMatch())) {
        ids << rs->Fields(0).toString();
        rs->FindNext(QStringLiteral("Vokabular.ID LIKE '*'"));
    }
    ASSERT_FALSE(ids.isEmpty());
    for (const QString& v : ids)
        EXPECT_EQ(v, QString::number(hund));
    rs->Close();
}

TEST(CQueryCells, WithoutADatabaseTheErrorIsClear)
{
    CQuery q;
    try {
        q.GetAllBereiche(QStringLiteral("1"));
        FAIL() << "no error without a handler";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrNo::ObjectNotSet);
    }
    CDBHandler closed;
    q.handler = &closed;
    try {
        q.GetAllGrammatikalisch(QStringLiteral("1"));
        FAIL() << "no error without a database";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrNo::ObjectNotSet);
        EXPECT_EQ(e.description(), QStringLiteral("Objektvariable nicht festgelegt"));
    }
}

} // namespace
