// The self-test: the confirmation dialog's answer changes the entry's error
// score by one step, in the list cell and in the database file.
#include "test_trainer_fixture.h"

#include "common/clsCursor.h"
#include "database/CDBHandler.h"
#include "largedb/LargeDbGenerator.h"
#include "support/AsNobody.h"
#include "support/OtherProgram.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <sqlite3.h>

namespace {

struct ScoreCase {
    const char* cell; // score text in the list cell before the answer
    bool right;
    const char* expected; // nullptr: cell and file keep their score, the error box tells
};

void PrintTo(const ScoreCase& c, std::ostream* os)
{
    *os << "cell '" << c.cell << "' answer " << (c.right ? "right" : "wrong");
}

// Clamped to 1..6; any other number becomes 1 whatever the answer; a cell
// without a number changes nothing.
const ScoreCase kScoreCases[] = {
    {"3", true, "2"}, {"3", false, "4"},   {"1", true, "1"},     {"6", false, "6"},    {"1", false, "2"},
    {"6", true, "5"}, {"", true, nullptr}, {"", false, nullptr}, {"x", true, nullptr}, {"7", false, "1"},
    {"7", true, "1"}, {" 3", false, "1"},  {"0", false, "1"},    {"3 ", true, "1"},
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
    // A cell with a score shows what the file holds.
    const QString cell = QString::fromLatin1(c.cell);
    const bool stored = QStringList{"1", "2", "3", "4", "5", "6"}.contains(cell);
    openList(words(2, stored ? cell.toInt() : 4));
    testOn();
    const int row = rowOfId(ids[0]);
    ASSERT_EQ(row, 1);
    grid().setTextMatrix(row, Liste::txtScore, cell);
    revealAndAnswer(c.right);
    EXPECT_EQ(grid().TextMatrix(row, Liste::txtScore), QString::fromLatin1(c.expected ? c.expected : c.cell));
    EXPECT_EQ(dbScore(ids[0]), c.expected ? QString::fromLatin1(c.expected) : QStringLiteral("4"));
    EXPECT_EQ(dbScore(ids[1]), stored ? cell : QStringLiteral("4")) << "the other entry is untouched";
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

// While the program waits for the user it holds no lock on the file: another
// program (or a second copy of this one) writes at once after the open, after
// a list of 100,000 entries (a tenth in the sanitizer build), with an entry on display and after an answer;
// the next answer steps from the score that program stored.
TEST_F(TrainerScore, AnotherProgramWritesWhileTheProgramWaits)
{
    dbPath = dir.filePath(QStringLiteral("Gross.lxt"));
    QString error;
    ASSERT_TRUE(LargeDb::generate(dbPath, TestFiles::largeEntryCount(), &error)) << error.toStdString();
    const auto otherWrites = [&](const QString& sql) {
        OtherProgram::waitForUser();
        return OtherProgram::write(dbPath, sql).toStdString();
    };
    const QString touch = QStringLiteral("UPDATE Vokabular SET Zusatzinfo = Zusatzinfo WHERE ID = 7");
    Forms::form1().Open_DB(QStringLiteral("Gross.lxt"));
    ASSERT_FALSE(Forms::form1().DBName.isEmpty()) << msgs->lastPrompt().toStdString();
    EXPECT_EQ(otherWrites(touch), "") << "after the open";
    Forms::form2().Command4_Click();
    ASSERT_EQ(grid().Rows(), TestFiles::largeEntryCount() + 1);
    EXPECT_EQ(otherWrites(touch), "") << "after the list build";
    testOn();
    t().Command3_Click();
    const qint64 id = grid().TextMatrix(1, 1).toLongLong();
    EXPECT_EQ(otherWrites(QStringLiteral("UPDATE Vokabular SET Score = 4 WHERE ID = %1").arg(id)), "")
        << "with an entry on display";
    answerNext(false);
    t().Command3_Click();
    EXPECT_EQ(dbScore(id), QStringLiteral("5"));
    EXPECT_EQ(otherWrites(QStringLiteral("UPDATE Vokabular SET Score = 2 WHERE ID = %1").arg(id)), "") << "after an answer";
    t().back_Click();
    answerNext(true);
    t().Command3_Click();
    EXPECT_EQ(dbScore(id), QStringLiteral("1"));
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtScore), QStringLiteral("1"));
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
}

// An entry never scored (a Null score) is listed as 6 and steps from 6.
TEST_F(TrainerScore, NeverScoredEntryStepsFromSix)
{
    openList({{QStringLiteral("Wort1"), QStringLiteral("mot1"), QVariant()},
              {QStringLiteral("Wort2"), QStringLiteral("mot2"), QVariant()}});
    testOn();
    ASSERT_EQ(grid().TextMatrix(1, Liste::txtScore), QStringLiteral("6"));
    revealAndAnswer(false);
    revealAndAnswer(true);
    EXPECT_EQ(dbScores(), QStringList({QStringLiteral("6"), QStringLiteral("5")}));
    EXPECT_EQ(grid().TextMatrix(rowOfId(ids[0]), Liste::txtScore), QStringLiteral("6"));
    EXPECT_EQ(grid().TextMatrix(rowOfId(ids[1]), Liste::txtScore), QStringLiteral("5"));
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
}

// Another program holds the file locked and changes the score meanwhile.
// The answer waits with the window painted and the busy cursor, and steps
// from the score that program committed, never from the one read before.
class TrainerScoreLocked : public TrainerScore {
protected:
    sqlite3* other = nullptr;
    bool cursorWasBusy = false, eventsRan = false;

    void SetUp() override
    {
        TrainerScore::SetUp();
        openList(words(1, 5));
        testOn();
        ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(dbPath).constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        exec("BEGIN IMMEDIATE; UPDATE Vokabular SET Score = 2");
        // Runs only if the wait lets the window system's events through.
        QTimer::singleShot(200, qApp, [this] {
            eventsRan = true;
            cursorWasBusy = clsCursor::mousePointer(&t()) == 11;
        });
    }
    void TearDown() override
    {
        sqlite3_close(other);
        TrainerScore::TearDown();
    }
    void exec(const char* sql) { ASSERT_EQ(sqlite3_exec(other, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; }
};

TEST_F(TrainerScoreLocked, AnswerWaitsAndStepsFromTheScoreCommittedMeanwhile)
{
    QTimer::singleShot(1000, qApp, [this] { exec("COMMIT"); });
    revealAndAnswer(false);
    EXPECT_TRUE(eventsRan && cursorWasBusy);
    EXPECT_EQ(dbScore(ids[0]), QStringLiteral("3"));
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtScore), QStringLiteral("3"));
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
    EXPECT_EQ(clsCursor::mousePointer(&t()), 0);
}

// Held longer than the wait: the learner is asked, and trying again writes
// the step from the score stored then; giving up shows nothing as saved.
TEST_F(TrainerScoreLocked, LockHeldLongerOffersToTryAgain)
{
    msgs->onMessage = [this](const FakeMessageService::Shown&) { exec("COMMIT"); };
    msgs->queueAnswer(MsgResult::Retry);
    revealAndAnswer(true);
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_EQ(msgs->shown[0].style & 7, MsgStyle::RetryCancel);
    EXPECT_TRUE(msgs->shown[0].prompt.contains(dbPath)) << msgs->shown[0].prompt.toStdString();
    // Like the trainer's notices, the box leaves the question and the answer in sight.
    EXPECT_EQ(msgs->shown[0].uncovered, QRect(t().VokabelnGrid->mapToGlobal(QPoint(0, 0)), t().VokabelnGrid->size()));
    EXPECT_EQ(dbScore(ids[0]), QStringLiteral("1"));
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtScore), QStringLiteral("1"));
    EXPECT_EQ(t().anzahlRichtig(), 1);
}

TEST_F(TrainerScoreLocked, LockHeldLongerAndGivenUpSavesNothing)
{
    t().OptSchleife = true; // nor does the loop count the entry as learned
    t().Command6_Click();
    msgs->queueAnswer(MsgResult::Cancel);
    revealAndAnswer(true);
    exec("COMMIT");
    EXPECT_EQ(msgs->shown.size(), 1) << "no second box";
    EXPECT_EQ(dbScore(ids[0]), QStringLiteral("2"));
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtScore), QStringLiteral("5"));
    EXPECT_EQ(t().anzahlRichtig(), 0);
    EXPECT_FALSE(t().schleifenStatusRight(1));
    EXPECT_EQ(clsCursor::mousePointer(&t()), 0);
}

// The box that offers to try again, as the program shows it: each button
// answers to the Alt key of its underlined letter.
TEST(TryAgainBox, ButtonsAnswerToTheirAltKeys)
{
    const auto previous = MessageService::install(std::make_shared<QtMessageService>());
    for (const auto& answer : {std::pair{Qt::Key_A, MsgResult::Cancel}, std::pair{Qt::Key_W, MsgResult::Retry}}) {
        const Qt::Key key = answer.first; // clang takes no structured binding into a lambda
        const int expected = answer.second;
        QTimer::singleShot(0, qApp, [key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            EXPECT_TRUE(QTest::qWaitForWindowActive(box));
            QTest::keyClick(box, key, Qt::AltModifier);
            // A key that does nothing: a button other than the expected one.
            if (!QTest::qWaitFor([box] { return !box->isVisible(); }))
                box->buttons().at(key == Qt::Key_W ? 1 : 0)->click();
        });
        EXPECT_EQ(MsgBox(QStringLiteral("x"), MsgStyle::RetryCancel + MsgStyle::Exclamation), expected) << key;
    }
    MessageService::install(previous);
}

TEST_F(TrainerScore, ShuffledOrderChangesTheShuffledRow)
{
    openList(words(3, 3));
    testOn();
    scriptRandom({0.9f, 0.0f, 0.5f}); // rows 3, 1, 2
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

// IDs of a foreign file are texts that may hold LIKE's * ? # [: each answer
// scores the entry of its own ID, never one that the ID read as a pattern
// matches. The two entries in file and list order, answered in turn.
struct TextIdCase {
    const char *first, *second, *name;
};

class TrainerTextIds : public TrainerScore, public ::testing::WithParamInterface<TextIdCase> {};

TEST_P(TrainerTextIds, ScoreTheirOwnEntryOnly)
{
    const QString first = QString::fromUtf8(GetParam().first), second = QString::fromUtf8(GetParam().second);
    dbPath = dir.filePath(QStringLiteral("Texte.lxt"));
    {
        TestDatabase db(dbPath);
        db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Englisch@")).setDBVersion(2).useTextIds();
        db.addEntryColumns({{"ID", first}, {"Lang1_Main", "Hallo"}, {"Lang2_Main", "hello"}, {"Score", 4}});
        db.addEntryColumns({{"ID", second}, {"Lang1_Main", "Guten Morgen"}, {"Lang2_Main", "good morning"}, {"Score", 2}});
    }
    Forms::form1().Open_DB(QFileInfo(dbPath).fileName());
    Forms::form2().Command4_Click();
    ASSERT_EQ(grid().Rows(), 3) << msgs->lastPrompt().toStdString();
    ASSERT_EQ(grid().TextMatrix(2, 1), second);
    testOn();
    revealAndAnswer(true);
    {
        TestDatabase check(dbPath, TestDatabase::OpenExisting);
        EXPECT_EQ(check.texts(QStringLiteral("SELECT Score FROM Vokabular")),
                  QStringList({QStringLiteral("3"), QStringLiteral("2")}));
    }
    revealAndAnswer(true);
    TestDatabase check(dbPath, TestDatabase::OpenExisting);
    EXPECT_EQ(check.texts(QStringLiteral("SELECT ID || '=' || Score FROM Vokabular")),
              QStringList({first + QStringLiteral("=3"), second + QStringLiteral("=1")}));
    // The list window's search for a row's record finds that ID alone too.
    Forms::liste().RowPos_To_RecPos(2);
    EXPECT_EQ(Forms::form1().clsdb.rsVokabular->Fields(QStringLiteral("ID")).toString(), second);
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
}

const TextIdCase kTextIdCases[] = {
    {"[b]", "b", "BracketsThenB"},   {"b", "[b]", "BThenBrackets"}, {"b", "*", "BThenStar"},
    {"b", "?", "BThenQuestionMark"}, {"7", "#", "DigitThenHash"},   {"B", "b", "CaseTwins"},
};

INSTANTIATE_TEST_SUITE_P(Patterns, TrainerTextIds, ::testing::ValuesIn(kTextIdCases),
                         [](const ::testing::TestParamInfo<TextIdCase>& info) { return std::string(info.param.name); });

// The entry was deleted or its ID changed by another program: the learner is
// told which entry and file, the answer is neither saved nor counted.
TEST_F(TrainerScore, AnIdWithoutRecordLeavesEveryRecordAlone)
{
    openList(words(3, 3));
    testOn();
    // The record set stands on entry 2 when the list row names no record.
    for (const QString& id : {QStringLiteral("999"), QString(), QStringLiteral("1'")}) {
        SCOPED_TRACE(id.toStdString());
        msgs->clear();
        ASSERT_TRUE(t().PositioniereRecord(QString::number(ids[1])));
        grid().setTextMatrix(1, 1, id);
        t().Command6_Click();
        revealAndAnswer(true);
        EXPECT_EQ(dbScores(), QStringList({QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("3")}));
        EXPECT_EQ(t().anzahlRichtig(), 0);
        ASSERT_EQ(msgs->shown.size(), 1);
        const QString prompt = msgs->shown[0].prompt;
        EXPECT_TRUE(prompt.contains(dbPath) && prompt.contains(id + QLatin1Char(' '))
                    && prompt.contains(grid().TextMatrix(1, Liste::txtSpanisch)))
            << prompt.toStdString();
        EXPECT_FALSE(msgs->shown[0].uncovered.isEmpty());
    }
    msgs->clear();
    EXPECT_FALSE(t().PositioniereRecord(QStringLiteral("x'y")));
    EXPECT_TRUE(msgs->shown.isEmpty()) << "a quote in the ID does not break the condition";
}

} // namespace
