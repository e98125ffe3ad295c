// The trainer's sequence: restart, the two-phase step, navigation with its
// notices, shuffled and random order with scripted random numbers, and loop
// mode, each on a list built through the selection window.
#include "test_trainer_fixture.h"

#include "mainwindow/Progress.h"
#include "support/QueuedInput.h"

#include <QProgressBar>
#include <QPushButton>

namespace {

const QString kEnd = QStringLiteral("Die Sequenz ist beendet.");

TEST_F(TrainerTest, OneEntryQuestionThenWholeEntryThenEndNotice)
{
    openList(words(1));
    EXPECT_EQ(t().seqCount(), 1);
    EXPECT_EQ(t().seqIndex(), 0);
    EXPECT_EQ(question(), QString());
    EXPECT_EQ(t().panelText(2), QStringLiteral("1"));

    t().Command3_Click();
    EXPECT_EQ(question(), QStringLiteral("Wort1"));
    EXPECT_EQ(answer(), QString());
    EXPECT_EQ(t().frageAngezeigt(), 1);
    EXPECT_EQ(t().panelText(4), QStringLiteral("1"));

    t().Command3_Click();
    EXPECT_EQ(question(), QStringLiteral("Wort1"));
    EXPECT_EQ(answer(), QStringLiteral("mot1"));
    EXPECT_EQ(t().frageAngezeigt(), 0);
    EXPECT_TRUE(msgs->shown.isEmpty());

    // Past the end: the notice, every time, and the position stays on the last entry.
    t().Command3_Click();
    t().Command3_Click();
    EXPECT_EQ(prompts(), QStringList({kEnd, kEnd}));
    EXPECT_EQ(t().seqIndex(), 1);
    EXPECT_EQ(answer(), QStringLiteral("mot1"));
}

TEST_F(TrainerTest, ThreeEntriesAlternateQuestionAndWholeEntryInListOrder)
{
    openList(words(3));
    QStringList seen;
    for (int i = 0; i < 6; ++i) {
        t().Command3_Click();
        seen << question() + QLatin1Char('|') + answer();
    }
    EXPECT_EQ(seen,
              QStringList({QStringLiteral("%1|").arg(lang1At(1)), QStringLiteral("%1|%2").arg(lang1At(1), lang2At(1)),
                           QStringLiteral("%1|").arg(lang1At(2)), QStringLiteral("%1|%2").arg(lang1At(2), lang2At(2)),
                           QStringLiteral("%1|").arg(lang1At(3)), QStringLiteral("%1|%2").arg(lang1At(3), lang2At(3))}));
    EXPECT_EQ(t().panelText(4), QStringLiteral("3"));
    EXPECT_EQ(t().ProgressBar1->maximum(), 3);
    EXPECT_EQ(t().ProgressBar1->value(), 3);
    t().Command3_Click();
    EXPECT_EQ(prompts(), QStringList({kEnd}));

    // A restart begins again with an empty display.
    t().Command6_Click();
    EXPECT_EQ(t().seqIndex(), 0);
    EXPECT_EQ(question(), QString());
    EXPECT_EQ(answer(), QString());
    EXPECT_EQ(t().ProgressBar1->value(), 0);
    EXPECT_EQ(t().panelText(4), QString());
}

TEST_F(TrainerTest, EmptyListHasNoEntriesUnderEveryOrder)
{
    openList(words(2), false); // opened, nothing listed: header plus the invisible placeholder row
    ASSERT_EQ(grid().Rows(), 2);
    ASSERT_EQ(grid().RowHeight(1), 0);
    for (int order : {1, 2, 3}) {
        SCOPED_TRACE(order);
        msgs->clear();
        answerNext(false); // a question must not come
        t().toolbarButton(order)->setChecked(true);
        t().Toolbar1_ButtonClick(order);
        t().OptTest = true;
        t().Command6_Click();
        EXPECT_EQ(t().seqCount(), 0);
        EXPECT_EQ(t().panelText(2), QStringLiteral("0"));
        t().Command2_Click();
        t().Command3_Click();
        t().Command3_Click();
        EXPECT_EQ(prompts(), QStringList({kEnd, kEnd, kEnd}));
        EXPECT_EQ(question(), QString());
        EXPECT_EQ(t().seqIndex(), 0);
        EXPECT_EQ(msgs->dialogs.size(), 1u) << "no self-test question was asked";
    }
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtScore), QString()) << "the placeholder is never scored";
    EXPECT_EQ(dbScores(), QStringList({QStringLiteral("3"), QStringLiteral("3")}));
}

TEST_F(TrainerTest, HeaderOnlyGridGivesNoEntriesAndABarOfOne)
{
    openList(words(2), false);
    grid().setRows(1);
    t().OptShuffle = true;
    t().OptSequentiell = false;
    t().Command6_Click();
    EXPECT_EQ(t().seqCount(), 0);
    EXPECT_EQ(t().ProgressBar1->maximum(), 1);
    EXPECT_EQ(t().returnSequenz(1), 0);
    msgs->clear();
    t().Command3_Click();
    EXPECT_EQ(prompts(), QStringList({kEnd}));
    EXPECT_EQ(t().seqIndex(), 0);
}

TEST_F(TrainerTest, NavigationShowsWholeEntriesAndStopsAtBothEnds)
{
    openList(words(3));
    t().Command2_Click(); // one forward from the start
    EXPECT_EQ(t().seqIndex(), 1);
    EXPECT_EQ(answer(), lang2At(1)) << "navigation shows the whole entry";
    EXPECT_FALSE(t().Command1->isEnabled());
    EXPECT_FALSE(t().back->isEnabled());

    t().Command2_Click();
    EXPECT_EQ(t().seqIndex(), 2);
    EXPECT_TRUE(t().Command1->isEnabled());
    EXPECT_TRUE(t().menAnfangSequenz->isEnabled());

    t().ToEnd_Click();
    EXPECT_EQ(t().seqIndex(), 3);
    EXPECT_EQ(question(), lang1At(3));
    t().Command2_Click();
    EXPECT_EQ(prompts(), QStringList({kEnd}));
    EXPECT_EQ(t().seqIndex(), 3);

    t().back_Click();
    EXPECT_EQ(t().seqIndex(), 1);
    EXPECT_EQ(answer(), lang2At(1));
    msgs->clear();
    t().Command1_Click();
    ASSERT_EQ(prompts(), QStringList({QStringLiteral("Beginning")}));
    EXPECT_EQ(t().seqIndex(), 1);

    // After navigation the step shows the same entry whole, the next moves on.
    t().Command3_Click();
    EXPECT_EQ(question(), lang1At(1));
    EXPECT_EQ(answer(), lang2At(1));
    t().Command3_Click();
    EXPECT_EQ(question(), lang1At(2));
    EXPECT_EQ(answer(), QString());
}

TEST_F(TrainerTest, BeginningNoticeIsEnglishInBothLanguages)
{
    gSprache = QStringLiteral("En");
    openList(words(2));
    t().Command1_Click();
    t().Command2_Click();
    t().Command2_Click();
    EXPECT_EQ(prompts(), QStringList({QStringLiteral("Beginning"), QStringLiteral("End of sequence.")}));
}

TEST_F(TrainerTest, ShuffleRedrawsTakenRowsAndReseedsOnce)
{
    openList(words(3));
    // Int(3 * r + 1): 0.5 -> 2, 0.6 -> 2 again (drawn anew), 0.0 -> 1, 0.9 -> 3.
    scriptRandom({0.5f, 0.6f, 0.0f, 0.9f});
    t().Toolbar1_ButtonClick(2);
    EXPECT_TRUE(t().OptShuffle);
    EXPECT_EQ(reseeds, 1);
    EXPECT_EQ(draws, 4);
    EXPECT_EQ(t().returnSequenz(1), 2);
    EXPECT_EQ(t().returnSequenz(2), 1);
    EXPECT_EQ(t().returnSequenz(3), 3);
    EXPECT_EQ(Forms::progress().windowTitle(), QStringLiteral("Vokabeln werden gemischt"));
    EXPECT_FALSE(Forms::progress().isVisible());

    QStringList questions;
    for (int i = 0; i < 6; ++i) {
        t().Command3_Click();
        if (i % 2 == 0)
            questions << question();
    }
    EXPECT_EQ(questions, QStringList({lang1At(2), lang1At(1), lang1At(3)}));

    // Outside the order: reported, 0.
    EXPECT_TRUE(msgs->shown.isEmpty());
    EXPECT_EQ(t().returnSequenz(0), 0);
    EXPECT_EQ(t().returnSequenz(4), 0);
    EXPECT_EQ(msgs->shown.size(), 2);
}

TEST_F(TrainerTest, LongShuffleIsAPermutation)
{
    // A list longer than 16-bit row numbers allow.
    constexpr int n = 40000;
    openList(words(1));
    grid().setRows(n + 1);
    t().OptShuffle = true;
    t().OptSequentiell = false;
    t().Command6_Click();
    EXPECT_EQ(t().seqCount(), n);
    std::vector<bool> seen(n + 1, false);
    for (int i = 1; i <= n; ++i) {
        const int r = t().returnSequenz(i);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, n);
        EXPECT_FALSE(seen[size_t(r)]) << r;
        seen[size_t(r)] = true;
    }
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(TrainerTest, RandomOrderDrawsARowEachStepAndHidesTheBar)
{
    openList(words(3));
    scriptRandom({0.7f, 0.1f}); // rows 3 and 1
    t().Toolbar1_ButtonClick(3);
    EXPECT_TRUE(t().OptRandom);
    EXPECT_FALSE(t().OptSequentiell);
    t().Command6_Click();
    EXPECT_TRUE(t().ProgressBar1->isHidden());
    t().Command3_Click();
    EXPECT_EQ(question(), lang1At(3));
    EXPECT_EQ(t().seqIndex(), 3);
    t().Command3_Click();
    EXPECT_EQ(answer(), lang2At(3));
    t().Command3_Click();
    EXPECT_EQ(question(), lang1At(1));
    EXPECT_EQ(reseeds, 2) << "reseeded before every draw";
    EXPECT_EQ(t().panelText(4), QString());
}

TEST_F(TrainerTest, RandomOneBackAtTheStartGivesTheBeginningNotice)
{
    openList(words(3));
    t().Toolbar1_ButtonClick(3);
    t().Command1_Click();
    EXPECT_EQ(prompts(), QStringList({QStringLiteral("Beginning")}));
    EXPECT_EQ(t().seqIndex(), 1);
}

TEST_F(TrainerTest, RandomNavigationKeepsTheDrawnEntryForStepAndScore)
{
    openList(words(3));
    t().Toolbar1_ButtonClick(3);
    t().Command6_Click();
    // Navigation first, with the self-test still off, then the test on.
    scriptRandom({0.9f, 0.4f, 0.0f}); // rows 3, 2, 1
    t().Command2_Click();
    EXPECT_EQ(question(), lang1At(3));
    EXPECT_EQ(t().seqIndex(), 3) << "the drawn row is the position";
    t().OptTest = true;
    answerNext(false);
    t().Command3_Click();
    EXPECT_EQ(answer(), lang2At(3)) << "the step reveals the entry that is shown";
    EXPECT_EQ(grid().TextMatrix(3, Liste::txtScore), QStringLiteral("4"));
    EXPECT_EQ(grid().TextMatrix(0, Liste::txtScore), QStringLiteral("Score")) << "the header is never scored";

    t().Command2_Click(); // row 2
    t().Command1_Click(); // row 1
    EXPECT_EQ(question(), lang1At(1));
    answerNext(true);
    t().Command3_Click();
    EXPECT_EQ(answer(), lang2At(1));
    EXPECT_EQ(dbScores(), QStringList({QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
}

TEST_F(TrainerTest, ShownEntryIsScoredWhenTheOrderChangesOrTheListIsSorted)
{
    openList(words(3));
    t().OptShuffle = true;
    t().OptSequentiell = false;
    t().OptTest = true;
    scriptRandom({0.9f, 0.5f, 0.0f}); // rows 3, 2, 1
    t().Command6_Click();
    t().Command3_Click();
    ASSERT_EQ(question(), QStringLiteral("Wort3"));
    // List order while the question is up keeps the position, not the entry.
    t().toolbarButton(1)->setChecked(true);
    t().Toolbar1_ButtonClick(1);
    answerNext(false);
    t().Command3_Click();
    EXPECT_EQ(answer(), QStringLiteral("mot3"));
    EXPECT_EQ(dbScores(), QStringList({QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("4")}));

    t().Command3_Click();
    ASSERT_EQ(question(), lang1At(2));
    const QString shownId = grid().TextMatrix(2, 1);
    grid().setTextMatrix(1, Liste::txtScore, QStringLiteral("5"));
    Forms::liste().mnScore_Click(); // sorting moves the entry shown to row 1 under the trainer
    ASSERT_EQ(grid().TextMatrix(1, 1), shownId);
    answerNext(true);
    t().Command3_Click();
    EXPECT_EQ(answer(), QStringLiteral("mot2"));
    EXPECT_EQ(dbScore(shownId.toLongLong()), QStringLiteral("2"));
}

TEST_F(TrainerTest, LoopAsksTheWrongOnesAgainUntilAllAreRight)
{
    openList(words(3));
    t().toolbarButton(8)->setChecked(true); // the click handler reads the pressed state
    t().Toolbar1_ButtonClick(8);
    t().toolbarButton(9)->setChecked(true);
    t().Toolbar1_ButtonClick(9);
    ASSERT_TRUE(t().OptTest);
    ASSERT_TRUE(t().OptSchleife);

    // Pass 1: right, wrong, right.
    for (bool yes : {true, false, true}) {
        t().Command3_Click();
        answerNext(yes);
        t().Command3_Click();
    }
    EXPECT_TRUE(t().schleifenStatusRight(1));
    EXPECT_FALSE(t().schleifenStatusRight(2));
    EXPECT_EQ(t().anzahlRichtig(), 2);

    // Pass 2 asks only entry 2; the bar and the count show one entry open.
    t().Command3_Click();
    EXPECT_EQ(question(), lang1At(2));
    EXPECT_EQ(t().panelText(2), QStringLiteral("1"));
    EXPECT_EQ(t().ProgressBar1->maximum(), 1);
    EXPECT_EQ(t().panelText(4), QStringLiteral("1"));
    answerNext(true);
    t().Command3_Click();
    EXPECT_TRUE(msgs->shown.isEmpty());

    // All right: every further step tells the end; a restart begins anew.
    t().Command3_Click();
    t().Command3_Click();
    EXPECT_EQ(prompts(), QStringList({kEnd, kEnd}));
    EXPECT_TRUE(msgs->dialogs.empty());
    t().Command6_Click();
    t().Command3_Click();
    EXPECT_EQ(question(), lang1At(1));
    EXPECT_FALSE(t().schleifenStatusRight(1));
}

TEST_F(TrainerTest, SequentialClickWithoutLoopKeepsThePosition)
{
    openList(words(3));
    t().Command3_Click();
    t().Command3_Click();
    t().Command3_Click();
    ASSERT_EQ(t().seqIndex(), 2);
    t().toolbarButton(1)->setChecked(true);
    t().Toolbar1_ButtonClick(1);
    EXPECT_EQ(t().seqIndex(), 2);
    EXPECT_EQ(question(), lang1At(2));
    t().Command3_Click();
    t().Command3_Click();
    EXPECT_EQ(question(), lang1At(3));
}

TEST_F(TrainerTest, ListBuildRestartsTheTrainer)
{
    openList(words(4));
    t().Command3_Click();
    t().Command3_Click();
    t().Command3_Click();
    ASSERT_EQ(t().seqIndex(), 2);
    Forms::form2().Command4_Click();
    EXPECT_EQ(t().seqIndex(), 0);
    EXPECT_EQ(t().seqCount(), 4);
    EXPECT_EQ(question(), QString());
    EXPECT_EQ(t().panelText(2), QStringLiteral("4"));
}

// Another database opened, a build without hits, a failed open.
enum class ListChange { OtherDatabase, BuildWithoutHits, FailedOpen };
const char* const kListChangeNames[] = {"OtherDatabase", "BuildWithoutHits", "FailedOpen"};
void PrintTo(ListChange change, std::ostream* os) { *os << kListChangeNames[int(change)]; }

class TrainerListChange : public TrainerTest, public ::testing::WithParamInterface<ListChange> {};

TEST_P(TrainerListChange, RestartsTheTrainer)
{
    openList(words(3));
    t().OptShuffle = true;
    t().OptSequentiell = false;
    t().OptTest = true;
    t().Command6_Click();
    t().show();
    t().Command3_Click();
    ASSERT_FALSE(question().isEmpty());
    switch (GetParam()) {
    case ListChange::OtherDatabase:
        Forms::form1().Open_DB(QFileInfo(dbPath).fileName());
        break;
    case ListChange::BuildWithoutHits:
        Forms::form2().MinScore->setText(QStringLiteral("6"));
        Forms::form2().Command4_Click();
        break;
    case ListChange::FailedOpen:
        Forms::form1().Open_DB(QStringLiteral("Fehlt.lxt"));
        break;
    }
    msgs->clear();
    EXPECT_EQ(t().seqCount(), 0);
    EXPECT_EQ(question(), QString());
    EXPECT_FALSE(Forms::liste().windowTitle().contains(QStringLiteral("3 Einträge")));
    t().Command3_Click();
    t().Command2_Click();
    EXPECT_EQ(prompts(), QStringList({kEnd, kEnd})) << "no error box, no entry of the old list";
    EXPECT_TRUE(msgs->dialogs.empty());
    if (GetParam() == ListChange::FailedOpen) {
        // No database: nothing shows or acts on the one that is gone.
        EXPECT_FALSE(t().isVisible());
        EXPECT_FALSE(Forms::form2().isVisible());
        EXPECT_FALSE(Forms::form2().Command4->isEnabled());
        Forms::form2().Command4_Click();
        EXPECT_TRUE(msgs->shown.size() == 2) << msgs->lastPrompt().toStdString();
    }
}

std::string listChangeName(const ::testing::TestParamInfo<ListChange>& info)
{
    return kListChangeNames[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryChangeOfTheList, TrainerListChange,
                         ::testing::Values(ListChange::OtherDatabase, ListChange::BuildWithoutHits, ListChange::FailedOpen),
                         listChangeName);

TEST_F(TrainerTest, AClickQueuedDuringANoticeRunsOnlyAfterTheStep)
{
    openList(words(1));
    t().show();
    t().Command3->click();
    t().Command3->click();
    msgs->onMessage = [&](const FakeMessageService::Shown&) { QueuedInput::click(*t().Command6); };
    t().Command3->click();
    // Neustart waited while the step and its notice ran ...
    EXPECT_EQ(prompts(), QStringList({kEnd}));
    EXPECT_EQ(t().seqIndex(), 1);
    EXPECT_EQ(answer(), QStringLiteral("mot1"));
    // ... and runs once the step is over.
    msgs->onMessage = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(t().seqIndex(), 0);
}

} // namespace
