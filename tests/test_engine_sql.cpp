// Translation of the statements the windows write into SQLite's dialect.
#include "platform/JetSql.h"

#include <gtest/gtest.h>

TEST(EngineSql, TranslatesNamesAndTurnsWhereLiteralsIntoParameters)
{
    struct Case {
        const char* jet;
        const char* sqlite;
        std::vector<QVariant> binds;
        const char* singleTable;
        bool distinct;
    } cases[] = {
        {"SELECT * FROM Vokabular", "SELECT * FROM Vokabular", {}, "Vokabular", false},
        {"SELECT * FROM [Vokabular] WHERE Score >= 2", "SELECT * FROM \"Vokabular\" WHERE Score >= ?1", {qlonglong(2)},
         "Vokabular", false},
        {"SELECT DISTINCT * FROM Vokabular, GrammatikalischeAttribute, [GrammatikalischeAttribute_Zwischen] WHERE "
         "(GrammatikalischeAttribute.[Attribut_Text]='x')",
         "SELECT DISTINCT * FROM Vokabular, GrammatikalischeAttribute, \"GrammatikalischeAttribute_Zwischen\" WHERE "
         "(GrammatikalischeAttribute.\"Attribut_Text\"=?1)",
         {QStringLiteral("x")}, "", true},
        {"SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, Bereiche WHERE Bereiche_Zwischen.IDV=12 "
         "AND Bereiche_Zwischen.ID=Bereiche.ID",
         "SELECT Bereich_Text, Bereiche_Zwischen.IDV FROM Bereiche_Zwischen, Bereiche WHERE Bereiche_Zwischen.IDV=?1 "
         "AND Bereiche_Zwischen.ID=Bereiche.ID",
         {qlonglong(12)}, "", false},
        // Doubled quotes and double-quoted texts are one value each.
        {"SELECT * FROM Bereiche WHERE Bereich_Text='Kinder''s' OR Bereich_Text=\"a\"\"b\"",
         "SELECT * FROM Bereiche WHERE Bereich_Text=?1 OR Bereich_Text=?2",
         {QStringLiteral("Kinder's"), QStringLiteral("a\"b")}, "Bereiche", false},
        // Jet wildcards inside a statement; numbers of ORDER BY stay column numbers.
        {"SELECT * FROM Bereiche WHERE Bereich_Text LIKE 'E*s?n' ORDER BY 2",
         "SELECT * FROM Bereiche WHERE Bereich_Text LIKE ?1 ORDER BY 2", {QStringLiteral("E%s_n")}, "Bereiche", false},
        {"SELECT 'a', 1.5 FROM Bereiche", "SELECT 'a', 1.5 FROM Bereiche", {}, "Bereiche", false},
        {"SELECT * FROM Vokabular WHERE ID IN (SELECT IDV FROM Bereiche_Zwischen WHERE ID = 3)",
         "SELECT * FROM Vokabular WHERE ID IN (SELECT IDV FROM Bereiche_Zwischen WHERE ID = ?1)", {qlonglong(3)},
         "Vokabular", false},
        {"SELECT * FROM Vokabular AS v", "SELECT * FROM Vokabular AS v", {}, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jet);
        const jetsql::Translated t = jetsql::translate(QString::fromUtf8(c.jet));
        EXPECT_TRUE(t.isSelect);
        EXPECT_EQ(t.sql, QString::fromUtf8(c.sqlite));
        EXPECT_EQ(t.binds, c.binds);
        EXPECT_EQ(t.singleTable, QString::fromUtf8(c.singleTable));
        EXPECT_EQ(t.distinct, c.distinct);
    }
}

TEST(EngineSql, LeavesBrokenStatementsToSqlite)
{
    // An unclosed quote or bracket: passed on as written, without parameters.
    for (const char* jet : {"SELECT * FROM Bereiche WHERE Bereich_Text='Kinder's'", "SELECT * FROM [Bereiche"}) {
        SCOPED_TRACE(jet);
        const jetsql::Translated t = jetsql::translate(QString::fromUtf8(jet));
        EXPECT_EQ(t.sql, QString::fromUtf8(jet));
        EXPECT_TRUE(t.binds.empty());
    }
    EXPECT_FALSE(jetsql::translate(QStringLiteral("DELETE FROM Bereiche")).isSelect);
    EXPECT_EQ(jetsql::quoteIdent(QStringLiteral("a\"b")), QStringLiteral("\"a\"\"b\""));
    EXPECT_EQ(jetsql::quoteText(QStringLiteral("Kinder's")), QStringLiteral("'Kinder''s'"));
}
