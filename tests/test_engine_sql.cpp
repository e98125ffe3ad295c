// Translation of the statements the windows write into SQLite's dialect.
#include "engine/JetSql.h"

#include <gtest/gtest.h>

TEST(EngineSql, TranslatesNamesAndTurnsWhereLiteralsIntoParameters)
{
    jetsql::StatementCache cache(1000);
    struct Case {
        const char* jet;
        const char* sqlite;
        std::vector<QVariant> binds;
        const char* singleTable;
        bool distinct;
    } cases[] = {
        {"SELECT * FROM Vokabular", "SELECT * FROM Vokabular", {}, "Vokabular", false},
        {"SELECT * FROM [Vokabular] WHERE Score >= 2",
         "SELECT * FROM \"Vokabular\" WHERE Score >= ?1",
         {qlonglong(2)},
         "Vokabular",
         false},
        {"SELECT DISTINCT * FROM Vokabular, GrammatikalischeAttribute, [GrammatikalischeAttribute_Zwischen] WHERE "
         "(GrammatikalischeAttribute.[Attribut_Text]='x')",
         "SELECT DISTINCT * FROM Vokabular, GrammatikalischeAttribute, \"GrammatikalischeAttribute_Zwischen\" WHERE "
         "(GrammatikalischeAttribute.\"Attribut_Text\"=?1)",
         {QStringLiteral("x")},
         "",
         true},
        {"SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, Bereiche WHERE Bereiche_Zwischen.IDV=12 "
         "AND Bereiche_Zwischen.ID=Bereiche.ID",
         "SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, Bereiche WHERE Bereiche_Zwischen.IDV=?1 "
         "AND Bereiche_Zwischen.ID=Bereiche.ID",
         {qlonglong(12)},
         "",
         false},
        // Doubled quotes and double-quoted texts are one value each.
        {"SELECT * FROM Bereiche WHERE Bereich_Text='Kinder''s' OR Bereich_Text=\"a\"\"b\"",
         "SELECT * FROM Bereiche WHERE Bereich_Text=?1 OR Bereich_Text=?2",
         {QStringLiteral("Kinder's"), QStringLiteral("a\"b")},
         "Bereiche",
         false},
        // Jet wildcards inside a statement; numbers of ORDER BY stay column numbers.
        {"SELECT * FROM Bereiche WHERE Bereich_Text LIKE 'E*s?n' ORDER BY 2",
         "SELECT * FROM Bereiche WHERE Bereich_Text LIKE ?1 ORDER BY 2",
         {QStringLiteral("E%s_n")},
         "Bereiche",
         false},
        {"SELECT 'a', 1.5 FROM Bereiche", "SELECT 'a', 1.5 FROM Bereiche", {}, "Bereiche", false},
        {"SELECT * FROM Vokabular WHERE ID IN (SELECT IDV FROM Bereiche_Zwischen WHERE ID = 3)",
         "SELECT * FROM Vokabular WHERE ID IN (SELECT IDV FROM Bereiche_Zwischen WHERE ID = ?1)",
         {qlonglong(3)},
         "Vokabular",
         false},
        {"SELECT * FROM Vokabular AS v", "SELECT * FROM Vokabular AS v", {}, "", false},
        // A parameter stays apart from a word written against it.
        {"SELECT * FROM Bereiche WHERE (Bereich_Text='a'1OR ID=2)",
         "SELECT * FROM Bereiche WHERE (Bereich_Text=?1 1OR ID=?2)",
         {QStringLiteral("a"), qlonglong(2)},
         "Bereiche",
         false},
        // Two minus signs are two operators, never the start of a comment that
        // would hide the rest; likewise "/" before "*".
        {"SELECT * FROM Vokabular WHERE Score=--2 AND ID=3 OR ID=4/*1",
         "SELECT * FROM Vokabular WHERE Score=- -?1 AND ID=?2 OR ID=?3/ *?4",
         {qlonglong(2), qlonglong(3), qlonglong(4), qlonglong(1)},
         "Vokabular",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jet);
        const jetsql::Translated t = jetsql::translate(QString::fromUtf8(c.jet), cache);
        EXPECT_TRUE(t.isSelect);
        EXPECT_EQ(t.sql, QString::fromUtf8(c.sqlite));
        EXPECT_EQ(t.binds, c.binds);
        EXPECT_EQ(t.singleTable, QString::fromUtf8(c.singleTable));
        EXPECT_EQ(t.distinct, c.distinct);
    }
}

// Named parameters: a bracketed name of the WHERE clause, in any case, but
// not a column qualified by its table nor a name outside the WHERE clause.
TEST(EngineSql, BracketedNamesOfTheWhereClauseCanBeParameters)
{
    const jetsql::Translated t =
        jetsql::translateText(QStringLiteral("SELECT [vid] FROM T WHERE T.[vid]=[vid] AND x=[VID] AND y='a' AND z=[other]"),
                              {QStringLiteral("vid"), QStringLiteral("other")});
    EXPECT_EQ(t.sql, QStringLiteral("SELECT \"vid\" FROM T WHERE T.\"vid\"=?1 AND x=?2 AND y=?3 AND z=?4"));
    EXPECT_EQ(t.binds, (std::vector<QVariant>{QVariant(), QVariant(), QStringLiteral("a"), QVariant()}));
    EXPECT_EQ(t.parameterBinds, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {3, 1}}));
}

TEST(EngineSql, BrokenStatementsCarryTheirFault)
{
    jetsql::StatementCache cache(1000);
    // An unclosed quote or bracket, text after ";" or a NUL: passed on as
    // written, without parameters, and with the reason it cannot run.
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("SELECT * FROM Bereiche WHERE Bereich_Text='Kinder's'"), QStringLiteral("Anführungszeichen")},
        {QStringLiteral("SELECT * FROM [Bereiche"), QStringLiteral("\"]\" fehlt")},
        {QStringLiteral("SELECT * FROM Bereiche; DELETE FROM Bereiche"), QStringLiteral("Text nach \";\"")},
        {QStringLiteral("SELECT * FROM Bereiche WHERE ID=1;;"), QStringLiteral("Text nach \";\"")},
        {QStringLiteral("SELECT * FROM Bereiche WHERE ID=1") + QChar(0) + QStringLiteral(" OR 1=1"),
         QStringLiteral("NUL-Zeichen")},
        {QStringLiteral("SELECT * FROM Bereiche WHERE Bereich_Text='a") + QChar(0) + QStringLiteral("b'"),
         QStringLiteral("NUL-Zeichen")},
        // What SQLite would read as a parameter of its own, sharing the value
        // of the parameter before it ("AND ID BETWEEN ?2").
        {QStringLiteral("SELECT * FROM Bereiche WHERE ID = 1 AND:ID BETWEEN 1 AND 6"),
         QStringLiteral("\":\" außerhalb eines Textes oder Namens")},
        {QStringLiteral("SELECT * FROM Bereiche WHERE ID = ?"), QStringLiteral("\"?\" außerhalb")},
        {QStringLiteral("SELECT @a, $b, #c FROM Bereiche"), QStringLiteral("\"@\" außerhalb")},
    };
    jetsql::translate(QStringLiteral("SELECT * FROM Bereiche WHERE Bereich_Text='ab'"), cache); // a known shape
    for (const auto& [jet, why] : cases) {
        SCOPED_TRACE(jet.toStdString());
        const jetsql::Translated t = jetsql::translate(jet, cache);
        EXPECT_EQ(t.sql, jet);
        EXPECT_TRUE(t.binds.empty());
        EXPECT_TRUE(t.error.contains(why)) << t.error.toStdString();
    }
    EXPECT_TRUE(jetsql::translate(QStringLiteral("SELECT * FROM Bereiche WHERE ID=1 ; \n"), cache).error.isEmpty());
    const QString longText(1000, QChar(0x00e4));
    EXPECT_EQ(jetsql::shownInMessage(longText), longText.left(200) + QChar(0x2026));
    EXPECT_FALSE(jetsql::translate(QStringLiteral("DELETE FROM Bereiche"), cache).isSelect);
    EXPECT_EQ(jetsql::quoteIdent(QStringLiteral("a\"b")), QStringLiteral("\"a\"\"b\""));
    EXPECT_EQ(jetsql::quoteText(QStringLiteral("Kinder's")), QStringLiteral("'Kinder''s'"));
}

TEST(EngineSql, StatementsOfOneShapeKeepTheirOwnValues)
{
    jetsql::StatementCache cache(1000);
    // Statements that differ only in their literals share one translation;
    // each must still get its own values.
    struct Case {
        const char* jet;
        const char* sqlite;
        std::vector<QVariant> binds;
    } cases[] = {
        {"SELECT Attribut_Text FROM A_Zwischen, A WHERE A_Zwischen.IDV=7 AND A_Zwischen.ID=A.IDA",
         "SELECT Attribut_Text FROM A_Zwischen, A WHERE A_Zwischen.IDV=?1 AND A_Zwischen.ID=A.IDA",
         {qlonglong(7)}},
        {"SELECT Attribut_Text FROM A_Zwischen, A WHERE A_Zwischen.IDV=123456 AND A_Zwischen.ID=A.IDA",
         "SELECT Attribut_Text FROM A_Zwischen, A WHERE A_Zwischen.IDV=?1 AND A_Zwischen.ID=A.IDA",
         {qlonglong(123456)}},
        {"SELECT Attribut_Text FROM A_Zwischen, A WHERE A_Zwischen.IDV=2.5 AND A_Zwischen.ID=A.IDA",
         "SELECT Attribut_Text FROM A_Zwischen, A WHERE A_Zwischen.IDV=?1 AND A_Zwischen.ID=A.IDA",
         {2.5}},
        // A text after LIKE gets SQLite's wildcards, one elsewhere does not.
        {"SELECT * FROM B WHERE T LIKE 'a*' AND U = 'b*'",
         "SELECT * FROM B WHERE T LIKE ?1 AND U = ?2",
         {QStringLiteral("a%"), QStringLiteral("b*")}},
        {"SELECT * FROM B WHERE T LIKE 'x?y*' AND U = 'it''s?'",
         "SELECT * FROM B WHERE T LIKE ?1 AND U = ?2",
         {QStringLiteral("x_y%"), QStringLiteral("it's?")}},
        // Literals outside WHERE stay in the text, each with its own value.
        {"SELECT 'a', 1 FROM B WHERE ID = 1", "SELECT 'a', 1 FROM B WHERE ID = ?1", {qlonglong(1)}},
        {"SELECT 'b', 2 FROM B WHERE ID = 3", "SELECT 'b', 2 FROM B WHERE ID = ?1", {qlonglong(3)}},
        {"SELECT * FROM B WHERE ID = 4 ORDER BY 1", "SELECT * FROM B WHERE ID = ?1 ORDER BY 1", {qlonglong(4)}},
        {"SELECT * FROM B WHERE ID = 5 ORDER BY 2", "SELECT * FROM B WHERE ID = ?1 ORDER BY 2", {qlonglong(5)}},
        // A digit inside a name or a number run into a name is no literal.
        {"SELECT Lang1_Main FROM B WHERE ID = 6", "SELECT Lang1_Main FROM B WHERE ID = ?1", {qlonglong(6)}},
        {"SELECT Lang2_Main FROM B WHERE ID = 6", "SELECT Lang2_Main FROM B WHERE ID = ?1", {qlonglong(6)}},
    };
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.jet);
            const jetsql::Translated t = jetsql::translate(QString::fromUtf8(c.jet), cache);
            EXPECT_EQ(t.sql, QString::fromUtf8(c.sqlite));
            EXPECT_EQ(t.binds, c.binds);
            EXPECT_EQ(t.binds, jetsql::translateText(QString::fromUtf8(c.jet)).binds);
        }
    }
}
