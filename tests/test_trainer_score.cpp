// The self-test: the confirmation dialog's answer changes the entry's error
// score by one step, in the list cell and in the database file.
#include "test_trainer_fixture.h"

#include "database/CDBHandler.h"
#include "support/AsNobody.h"

#include <QDir>
#include <QFile>

namespace {

struct ScoreCase {
    const char* cell;   // score text in the list cell before the answer
    bool right;
    const char* expected;   // nullptr: cell and file keep their score, the error box tells
};

void PrintTo(const ScoreCase& c, std::ostream* os)
{
    *os << "cell '" << c.cell << "' answer " << (c.right ? "right" : "wrong");
}

// Clamped to 1..6; any other number becomes 1 whatever the answer; a cell
// without a number changes nothing.
const ScoreCase kScoreCases[] = {
    {"3", true, "2"}, {"3", false, "4"}, {"1", true, "1"}, {"6", false, "6"}, {"1", false, "2"},
    {"6", true, "5"}, {"", true, nullptr}, {"", false, nullptr}, {"x", true, nullptr}, {"7", false, "1"},
    {"7", true, "1"}, {" 3", false, "1"}, {"0", false, "1"}, {"3 ", true, "1"},
};

class TrainerScore : public TrainerTest {
protected:
    void testOn()
    {
        t().OptTest = true;
        t().OptionsToUI();
    }
    // Steps to the whole entry at the next position, answering the question.
    void revealAndAnswer(bool yes)
    {
        t().Command3_Click();
        answerNext(yes);
        t().Command3_Click();
    }
};

class TrainerScoreCase : public TrainerScore, public ::testing::WithParamInterface<ScoreCase> {};

TEST_P(TrainerScoreCase, AnswerMovesTheScoreOneStepInGridAndDatabase)
{
    const ScoreCase& c = GetParam();
    openList(words(2, 4));
    testOn();
    const int row = rowOfId(ids[0]);
    ASSERT_EQ(row, 1);
    grid().setTextMatrix(row, Liste::txtScore, QString::fromLatin1(c.cell));
    revealAndAnswer(c.right);
    EXPECT_EQ(grid().TextMatrix(row, Liste::txtScore), QString::fromLatin1(c.expected ? c.expected : c.cell));
    EXPECT_EQ(dbScore(ids[0]), QString::fromLatin1(c.expected ? c.expected : "4"));
    EXPECT_EQ(dbScore(ids[1]), QStringLiteral("4")) << "the other entry is untouched";
    EXPECT_EQ(msgs->shown.size(), c.expected ? 0 : 1) << msgs->lastPrompt().toStdString();
    EXPECT_EQ(t().anzahlRichtig(), c.right && c.expected ? 1 : 0);
}

// Names such as Cell3Right, CellEmptyWrong, CellSpace3Wrong.
std::string scoreCaseName(const ::testing::TestParamInfo<ScoreCase>& info)
{
    std::string name = "Cell";
    if (!*info.param.cell)
        name += "Empty";
    for (const char* p = info.param.cell; *p; ++p)
        name += *p == ' ' ? std::string("Space") : std::string(1, *p == 'x' ? 'X' : *p);
    return name + (info.param.right ? "Right" : "Wrong");
}

INSTANTIATE_TEST_SUITE_P(EveryScore, TrainerScoreCase, ::testing::ValuesIn(kScoreCases), scoreCaseName);

// A score write refused by a read-only file: the list keeps the stored score.
TEST_F(TrainerScore, ScoreThatCannotBeWrittenStaysInTheListAsStored)
{
    const QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("tmp")));
    dbPath = root.filePath(QStringLiteral("Testsprache.lxt"));
    {
        TestDatabase db(dbPath);
        db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Französisch@")).setDBVersion(2);
        db.addEntry({{}, QStringLiteral("Wort1")}, {{}, QStringLiteral("mot1")}, 3);
    }
    QFile::setPermissions(dbPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(root.filePath(QStringLiteral("tmp")), QFile::Permissions(0x7777));
    AsNobody::openPath(dbPath);
    AsNobody::runTest(QStringLiteral("TrainerScore.DISABLED_ScoreThatCannotBeWrittenChild"),
                      {{"LEXUVANT_CHILD_DIR", QFile::encodeName(dir.path())},
                       {"TMPDIR", QFile::encodeName(root.filePath(QStringLiteral("tmp")))},
                       {"HOME", QFile::encodeName(root.filePath(QStringLiteral("tmp")))}});
    EXPECT_EQ(dbScore(1), QStringLiteral("3"));
}

TEST_F(TrainerScore, DISABLED_ScoreThatCannotBeWrittenChild)
{
    AppPaths::setAppPath(qEnvironmentVariable("LEXUVANT_CHILD_DIR"));
    Forms::form1().Open_DB(QStringLiteral("Testsprache.lxt"));
    Forms::form2().Command4_Click();
    ASSERT_EQ(grid().Rows(), 2) << msgs->lastPrompt().toStdString();
    msgs->clear();
    testOn();
    revealAndAnswer(true);
    // The next answer reads this cell: it must hold what the file holds.
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtScore), QStringLiteral("3"));
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_TRUE(msgs->shown[0].prompt.contains(QStringLiteral("schreibgeschützt"))) << msgs->shown[0].prompt.toStdString();
}

TEST_F(TrainerScore, ShuffledOrderChangesTheShuffledRow)
{
    openList(words(3, 3));
    testOn();
    scriptRandom({0.9f, 0.0f, 0.5f});   // rows 3, 1, 2
    t().OptShuffle = true;
    t().OptSequentiell = false;
    t().Command6_Click();
    ASSERT_EQ(t().returnSequenz(1), 3);
    revealAndAnswer(false);
    EXPECT_EQ(grid().TextMatrix(3, Liste::txtScore), QStringLiteral("4"));
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtScore), QStringLiteral("3"));
    EXPECT_EQ(dbScores(), QStringList({QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("4")}));
}

TEST_F(TrainerScore, GermanJaYieldsYes)
{
    openList(words(1, 5));
    testOn();
    revealAndAnswer(true);
    EXPECT_EQ(t().confirmDlg().JaButton->text(), QStringLiteral("Ja"));
    EXPECT_EQ(t().confirmDlg().Reply, QStringLiteral("Yes"));
    EXPECT_EQ(dbScore(ids[0]), QStringLiteral("4"));
    EXPECT_EQ(msgs->dialogTitles, QStringList({QStringLiteral("Bestätigen")}));
}

TEST_F(TrainerScore, EnglishDialogTexts)
{
    gSprache = QStringLiteral("En");
    openList(words(1));
    ConfirmDlg& dlg = t().confirmDlg();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Confirm"));
    EXPECT_EQ(dlg.Label1->text(), QStringLiteral("Is this the word you expected?"));
    EXPECT_EQ(dlg.NeinButton->text(), QStringLiteral("No"));
}

TEST_F(TrainerScore, ClosedDialogChangesNothingEvenAfterAnEarlierAnswer)
{
    openList(words(2, 3));
    testOn();
    revealAndAnswer(true);
    ASSERT_EQ(dbScore(ids[0]), QStringLiteral("2"));
    t().Command3_Click();
    closeNextQuestion();
    t().Command3_Click();
    EXPECT_EQ(grid().TextMatrix(2, Liste::txtScore), QStringLiteral("3"));
    EXPECT_EQ(dbScore(ids[1]), QStringLiteral("3"));
    EXPECT_EQ(t().anzahlRichtig(), 1);
}

TEST_F(TrainerScore, NoQuestionWithoutTestOrInWriteMode)
{
    openList(words(2, 3));
    t().Command3_Click();
    t().Command3_Click();
    t().OptTest = true;
    t().OptSchreiben = true;
    t().Command3_Click();
    t().Command3_Click();
    EXPECT_TRUE(msgs->dialogTitles.isEmpty());
    EXPECT_EQ(dbScores(), QStringList({QStringLiteral("3"), QStringLiteral("3")}));
}

TEST_F(TrainerScore, AnIdWithoutRecordLeavesEveryRecordAlone)
{
    openList(words(3, 3));
    testOn();
    // The record set stands on entry 2 when the list row names no record.
    for (const QString& id : {QStringLiteral("999"), QString(), QStringLiteral("1'")}) {
        SCOPED_TRACE(id.toStdString());
        ASSERT_TRUE(t().PositioniereRecord(QString::number(ids[1])));
        grid().setTextMatrix(1, 1, id);
        t().Command6_Click();
        revealAndAnswer(false);
        EXPECT_EQ(dbScores(), QStringList({QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("3")}));
        EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
    }
    EXPECT_FALSE(t().PositioniereRecord(QStringLiteral("x'y")));
    EXPECT_TRUE(msgs->shown.isEmpty()) << "a quote in the ID does not break the condition";
}

} // namespace
