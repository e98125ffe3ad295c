// Find conditions: every shape the windows use, evaluated against real rows.
#include "engine_testdb.h"
#include "engine/Database.h"
#include "engine/JetCondition.h"
#include "engine/Recordset.h"

#include <QThread>
#include <gtest/gtest.h>

using enginetest::buildDb;
using enginetest::errorOf;

namespace {

std::vector<qlonglong> walk(Recordset& rs, const QString& cond)
{
    std::vector<qlonglong> ids;
    rs.FindFirst(cond);
    while (!rs.NoMatch() && !rs.IsEOF()) {
        ids.push_back(rs.Fields(0).toLongLong());
        rs.FindNext(cond);
    }
    return ids;
}

class EngineConditions : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = Database::OpenDatabase(buildDb(dir));
        rs = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular"), 2);
    }
    QTemporaryDir dir;
    std::shared_ptr<Database> db;
    std::shared_ptr<Recordset> rs;
};

} // namespace

TEST_F(EngineConditions, EachShapeFindsTheRightRows)
{
    struct Case {
        const char* cond;
        std::vector<qlonglong> ids;
    } cases[] = {
        {"Vokabular.ID LIKE '*'", {1, 2, 3, 4, 12, 120}},
        {"ID LIKE '12'", {12}}, // a number compared by its text: not 120
        {"ID LIKE '12*'", {12, 120}},
        {"ID LIKE '1?'", {12}},
        {"ID LIKE '1#0'", {120}},
        {"ID LIKE '[13]'", {1, 3}},
        {"ID LIKE '[!13]'", {2, 4}},
        {"ID LIKE '[1-3]'", {1, 2, 3}},
        {"ID=12", {12}},
        {"ID = 12", {12}},
        {"12 = ID", {12}},
        {"ID<>12", {1, 2, 3, 4, 120}},
        {"(Score >=2 AND Score <=5)", {1, 2, 12}}, // Score of 3 is Null
        {"Score > 5", {4}},
        {"Score < 2", {120}},
        {"Score <> 2", {2, 4, 12, 120}},
        {"NOT Score = 2", {2, 4, 12, 120}},
        {"NOT (Score >=2 AND Score <=5)", {4, 120}},
        {"Score <= 1 OR Score >= 6", {4, 120}},
        {"Score NOT LIKE '2'", {2, 4, 12, 120}},
        {"Score = -1", {}},
        {"Lang1_Main LIKE 'ä*'", {1}}, // umlauts ignore case too
        {"Lang1_Main LIKE 'ÄPFEL'", {1}},
        {"Lang1_Main LIKE 'STRAßE'", {3}},
        {"Lang1_Main LIKE '*'", {1, 2, 3, 12, 120}}, // Null never matches
        {"Lang1_Main LIKE 'Kinder''s'", {2}},
        {"Lang1_Main = \"Kinder's\"", {2}},
        {"[Lang1_Main] = 'zwölf'", {12}},
        {"Vokabular.[Lang1_Main] = 'ZWÖLF'", {12}},
        {"Lang2_Main = 120", {120}}, // text with number: by text
        {"Lang2_Main > 'b'", {2, 3, 4, 12}},
        {"Lang1_Main IS NULL", {4}},
        {"Lang1_Main IS NOT NULL", {1, 2, 3, 12, 120}},
        {"Eingabedatum >= '20020202'", {3, 4, 12, 120}},
        {"((ID LIKE '1' AND Score LIKE '2') OR (ID LIKE '2' AND Score LIKE '1')) AND (Wortart = 'substantiv')", {1}},
        {"Wortart LIKE 'zahl' AND NOT Lang1_Main LIKE 'z*'", {120}}, // Null stays unknown under NOT
        {"ID = 1 OR ID = 3 AND Score = 6", {1}},                     // AND binds closer than OR
        {"(ID = 1 OR ID = 3) AND Score IS NULL", {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cond);
        const QString cond = QString::fromUtf8(c.cond);
        EXPECT_EQ(walk(*rs, cond), c.ids);
        // Repeated searches may take the lookup by key: the result must not change.
        EXPECT_EQ(walk(*rs, cond), c.ids);
        EXPECT_EQ(walk(*rs, cond), c.ids);
    }
}

TEST_F(EngineConditions, FaultyConditionsAreReportedClearly)
{
    const char* bad[] = {"",
                         "ID LIKE",
                         "ID = ",
                         "Foo = 1",
                         "Vokabular.Foo LIKE '*'",
                         "Bereiche.ID = 1",
                         "ID LIKE 'Kinder's'",
                         "(ID = 1",
                         "ID = 1)",
                         "ID == 1",
                         "ID LIKE Score",
                         "ID LIKE 'x",
                         "AND ID = 1",
                         "ID = 1 AND",
                         "[ID = 1",
                         "ID ; 1"};
    rs->FindFirst(QStringLiteral("ID=12"));
    for (const char* b : bad) {
        SCOPED_TRACE(b);
        QString desc;
        EXPECT_EQ(errorOf([&] { rs->FindFirst(QString::fromUtf8(b)); }, &desc), DbErr::BadCondition);
        EXPECT_TRUE(desc.contains(QStringLiteral("Suchbedingung"))) << desc.toStdString();
    }
    // A failed search leaves the current row alone.
    EXPECT_EQ(rs->Fields(0).toInt(), 12);
}

TEST_F(EngineConditions, ConditionsOfOneShapeKeepTheirOwnValues)
{
    // Conditions that differ only in their numbers and texts share one parse;
    // each must still find the rows of its own values.
    struct Case {
        const char* cond;
        std::vector<qlonglong> ids;
    } cases[] = {
        {"Vokabular.ID=1", {1}},
        {"Vokabular.ID=120", {120}},
        {"Vokabular.ID=12.0", {12}},
        {"Vokabular.ID=7", {}},
        {"Score >= -1 AND Score <= 1", {120}},
        {"Score >= 6 AND Score <= 9", {4}},
        {"Score >= -3 AND Score <= -1", {}},
        {"Lang1_Main LIKE 'z*' OR Wortart = 'x'", {12}},
        {"Lang1_Main LIKE 'ÄPFEL' OR Wortart = 'zahl'", {1, 4, 12, 120}},
        {"Lang1_Main LIKE 'Kinder''s' OR Wortart = 'ZAHL'", {2, 4, 12, 120}},
        {"Lang1_Main LIKE '*' OR Wortart = 'x'", {1, 2, 3, 12, 120}},
        {"ID LIKE 12 AND Score = 3", {12}},
        {"ID LIKE 1 AND Score = 2", {1}},
        {"Lang2_Main = 120", {120}},
        {"Lang2_Main = 'b'", {}},
    };
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.cond);
            EXPECT_EQ(walk(*rs, QString::fromUtf8(c.cond)), c.ids);
        }
    }
    // A value that is no number in a shape already known is still an error.
    rs->FindFirst(QStringLiteral("ID = 1"));
    QString desc;
    EXPECT_EQ(errorOf([&] { rs->FindFirst(QStringLiteral("ID = 1.2.3")); }, &desc), DbErr::BadCondition);
    EXPECT_TRUE(desc.contains(QStringLiteral("1.2.3"))) << desc.toStdString();
}

// Long AND/OR/NOT runs and deep parentheses must neither overflow the stack
// (the walk runs on a thread with a small one) nor lose their meaning.
TEST_F(EngineConditions, LongChainsAndDeepNestingKeepTheStack)
{
    auto repeat = [](const char* part, int n) { return QString::fromLatin1(part).repeated(n); };
    auto nested = [&](int depth) { return repeat("(", depth) + QStringLiteral("ID = 12") + repeat(")", depth); };
    struct Case {
        QString cond;
        std::vector<qlonglong> ids; // empty with error set: the walk must fail
        bool error = false;
    };
    const std::vector<Case> cases = {
        {repeat("NOT ", 20000) + QStringLiteral("ID = 12"), {12}},
        {repeat("NOT ", 20001) + QStringLiteral("ID = 12"), {1, 2, 3, 4, 120}},
        {repeat("ID = 12 AND ", 20000) + QStringLiteral("Score = 3"), {12}},
        {repeat("ID = 2 OR ", 20000) + QStringLiteral("ID = 120"), {2, 120}},
        {repeat("(ID = 3 OR ", 200) + QStringLiteral("ID = 4") + repeat(")", 200), {3, 4}},
        {nested(201), {}, true},
        {nested(8000), {}, true},
        {repeat("NOT (", 8000) + QStringLiteral("ID = 12") + repeat(")", 8000), {}, true},
    };
    std::vector<std::vector<qlonglong>> found(cases.size());
    std::vector<QString> errors(cases.size());
    std::unique_ptr<QThread> thread(QThread::create([&] {
        for (size_t i = 0; i < cases.size(); ++i)
            if (!errorOf([&] { found[i] = walk(*rs, cases[i].cond); }, &errors[i]))
                found[i] = walk(*rs, cases[i].cond); // the second search takes the parse kept for it
    }));
    thread->setStackSize(256 * 1024);
    thread->start();
    ASSERT_TRUE(thread->wait(60000));
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(found[i], cases[i].ids);
        EXPECT_EQ(!errors[i].isEmpty(), cases[i].error) << errors[i].left(300).toStdString();
        if (cases[i].error) {
            EXPECT_TRUE(errors[i].contains(QStringLiteral("200"))) << errors[i].left(300).toStdString();
            EXPECT_LT(errors[i].size(), 400); // the condition is repeated only in part
        }
    }
}

TEST_F(EngineConditions, NoMatchKeepsPositionAndRecordCountGrowsWithTheWalk)
{
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->AbsolutePosition(), 0);
    rs->FindFirst(QStringLiteral("ID=4"));
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    EXPECT_EQ(rs->RecordCount(), 4);
    rs->FindNext(QStringLiteral("ID=4"));
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_FALSE(rs->IsEOF());
    EXPECT_EQ(rs->Fields(0).toInt(), 4); // unchanged
    EXPECT_EQ(rs->RecordCount(), 6);
    rs->FindFirst(QStringLiteral("ID=1"));
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->AbsolutePosition(), 0);
}

TEST_F(EngineConditions, EmptyResultIsEofAndNeverMatches)
{
    auto empty = db->OpenRecordset(QStringLiteral("SELECT * FROM Vokabular WHERE ID > 1000"), 2);
    EXPECT_TRUE(empty->IsEOF());
    EXPECT_TRUE(empty->IsBOF());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_EQ(empty->AbsolutePosition(), -1);
    empty->FindFirst(QStringLiteral("ID LIKE '*'"));
    EXPECT_TRUE(empty->NoMatch());
    EXPECT_EQ(errorOf([&] { empty->Fields(0); }), DbErr::NoCurrentRecord);
}

TEST(EngineLike, JetWildcards)
{
    struct Case {
        const char* text;
        const char* pattern;
        bool match;
    } cases[] = {
        {"abc", "a*c", true},    {"ac", "a*c", true},       {"abd", "a*c", false},    {"a*c", "a[*]c", true},
        {"abc", "a[*]c", false}, {"", "*", true},           {"", "", true},           {"x", "", false},
        {"abc", "???", true},    {"ab", "???", false},      {"a1", "a#", true},       {"ab", "a#", false},
        {"b", "[a-c]", true},    {"d", "[a-c]", false},     {"d", "[!a-c]", true},    {"a[", "a[", true},
        {"ö", "[ä-ü]", true},    {"aXbXc", "*x*x*", false}, {"axbxc", "*x*x*", true}, {"mississippi", "*ss*ss*", true},
        {"]", "[]]", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " LIKE " + c.pattern);
        EXPECT_EQ(jetcond::likeMatch(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.match);
    }
}
