// The trainer window: what the options show on the toolbar, the navigation
// commands and the language rows; the toolbar's clicks and tips; texts in
// both languages; loading at start-up; the relation helpers.
#include "test_trainer_fixture.h"

#include "MainWindowFixture.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolButton>
#include <QDir>
#include "platform/Twips.h"

namespace {

struct NavCase {
    bool test, random;
    bool forward, others, loop;
};

const NavCase kNavCases[] = {
    {false, false, true, true, false},
    {false, true, true, false, false},
    {true, false, false, false, true},
    {true, true, false, false, false},
};

TEST_F(TrainerTest, OptionsToUIEnablesNavigationByTestAndRandom)
{
    openList(words(3));
    for (const NavCase& c : kNavCases) {
        SCOPED_TRACE(::testing::Message() << "test " << c.test << " random " << c.random);
        t().OptTest = c.test;
        t().OptRandom = c.random;
        t().OptSequentiell = !c.random;
        t().OptionsToUI();
        EXPECT_EQ(t().Command2->isEnabled(), c.forward);
        EXPECT_EQ(t().menEinsWeiter->isEnabled(), c.forward);
        for (QWidget* w :
             {static_cast<QWidget*>(t().Command1), static_cast<QWidget*>(t().back), static_cast<QWidget*>(t().ToEnd)})
            EXPECT_EQ(w->isEnabled(), c.others) << w->objectName().toStdString();
        for (QAction* a : {t().menEinsZurueck, t().menAnfangSequenz, t().menEndeSequenz})
            EXPECT_EQ(a->isEnabled(), c.others) << a->objectName().toStdString();
        EXPECT_EQ(t().toolbarButton(9)->isEnabled(), c.loop);
        EXPECT_TRUE(t().Command3->isEnabled());
        EXPECT_TRUE(t().Command6->isEnabled());
        EXPECT_TRUE(t().Command4->isEnabled());
        EXPECT_EQ(t().toolbarButton(3)->isChecked(), c.random);
        EXPECT_EQ(t().toolbarButton(8)->isChecked(), c.test);
    }
}

TEST_F(TrainerTest, RandomEmptiesThePositionPanel)
{
    openList(words(3));
    t().Command3_Click();
    ASSERT_EQ(t().panelText(4), QStringLiteral("1"));
    t().OptRandom = true;
    t().OptSequentiell = false;
    t().OptionsToUI();
    EXPECT_EQ(t().panelText(4), QString());
}

TEST_F(TrainerTest, LanguageOrderSetsTheNameRowsAndLeavesQuestionAndAnswer)
{
    openList(words(2));
    t().Command2_Click();
    const QString q = question(), a = answer();
    t().OptSpanisch1st = false;
    t().OptDeutsch1st = true;
    t().OptionsToUI();
    EXPECT_EQ(t().VokabelnGrid->TextMatrix(0, 0), QStringLiteral("Französisch"));
    EXPECT_EQ(t().VokabelnGrid->TextMatrix(2, 0), QStringLiteral("Deutsch"));
    EXPECT_TRUE(t().toolbarButton(6)->isChecked());
    EXPECT_FALSE(t().toolbarButton(5)->isChecked());
    EXPECT_EQ(question(), q);
    EXPECT_EQ(answer(), a);
    t().OptSpanisch1st = true;
    t().OptDeutsch1st = false;
    t().OptionsToUI();
    EXPECT_EQ(t().VokabelnGrid->TextMatrix(0, 0), QStringLiteral("Deutsch"));
    EXPECT_EQ(t().VokabelnGrid->TextMatrix(2, 0), QStringLiteral("Französisch"));
}

TEST_F(TrainerTest, LanguageButtonsSwapTheRowsOnEveryClick)
{
    openList(words(2));
    t().Command2_Click();
    ASSERT_EQ(question(), lang1At(1));
    t().toolbarButton(6)->click();
    EXPECT_TRUE(t().OptDeutsch1st);
    EXPECT_EQ(question(), lang2At(1));
    EXPECT_EQ(answer(), lang1At(1));
    EXPECT_EQ(t().VokabelnGrid->TextMatrix(0, 0), QStringLiteral("Französisch"));
    t().toolbarButton(6)->click(); // already first: the rows swap all the same
    EXPECT_EQ(question(), lang1At(1));
    t().toolbarButton(5)->click();
    EXPECT_TRUE(t().OptSpanisch1st);
    EXPECT_EQ(question(), lang2At(1));
    // The next question asks language 1's text again.
    t().Command3_Click();
    t().Command3_Click();
    EXPECT_EQ(question(), lang1At(2));
}

TEST_F(TrainerTest, ToolbarOrderTestAndLoopButtons)
{
    openList(words(3));
    t().Command3_Click();
    t().toolbarButton(2)->click();
    EXPECT_TRUE(t().OptShuffle);
    EXPECT_FALSE(t().OptSequentiell);
    EXPECT_EQ(t().seqIndex(), 0) << "shuffled restarts";

    t().toolbarButton(8)->click();
    EXPECT_TRUE(t().OptTest);
    EXPECT_TRUE(t().toolbarButton(9)->isEnabled());
    t().toolbarButton(9)->click();
    EXPECT_TRUE(t().OptSchleife);
    EXPECT_TRUE(t().toolbarButton(9)->isChecked());

    // Random with the loop on: the notice, loop off.
    t().toolbarButton(3)->click();
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_EQ(msgs->shown[0].prompt,
              QStringLiteral("Die Option 'Schleife' wird zur Aktivierung von 'random' zurückgesetzt."));
    EXPECT_EQ(msgs->shown[0].style, 64);
    EXPECT_TRUE(t().OptRandom);
    EXPECT_FALSE(t().OptSchleife);
    EXPECT_FALSE(t().toolbarButton(9)->isChecked());
    EXPECT_FALSE(t().toolbarButton(9)->isEnabled());

    // Test off clears loop, write, confirm error and main part only.
    t().OptSchleife = t().OptSchreiben = t().OptFehlerBestaetigen = t().OptMainOnly = true;
    t().toolbarButton(8)->click();
    EXPECT_FALSE(t().OptTest);
    EXPECT_FALSE(t().OptSchleife);
    EXPECT_FALSE(t().OptSchreiben);
    EXPECT_FALSE(t().OptFehlerBestaetigen);
    EXPECT_FALSE(t().OptMainOnly);
    EXPECT_FALSE(t().toolbarButton(8)->isChecked());
}

TEST_F(TrainerTest, ToolbarTipFollowsTheMouse)
{
    openList(words(1));
    auto tipAt = [&](double x) {
        t().Toolbar1_MouseMove(0, 0, x, 100);
        return t().Toolbar1->toolTip();
    };
    auto middle = [&](int i) { return t().toolbarItemLeft(i) + t().toolbarItemWidth(i) / 2.0; };
    const QString general = QStringLiteral("Knöpfe zum Einstellen der Optionen für den Vokabeltrainer. Einstellungen können "
                                           "auch über das Optionenfenster vorgenommen werden.");
    const QList<QPair<int, QString>> german = {
        {1, QStringLiteral("Vokabeln Sequentiell")},
        {2, QStringLiteral("Vokabeln Gemischt")},
        {3, QStringLiteral("Zufällige Vokabelauswahl")},
        {4, general},
        {5, QStringLiteral("Deutsch zuerst")},
        {6, QStringLiteral("Französisch zuerst")},
        {7, general},
        {8, QStringLiteral("Vokabeltest ein/ausschalten")},
        {9, QStringLiteral("Schleifenmodus ein/ausschalten")},
    };
    for (const auto& [index, text] : german)
        EXPECT_EQ(tipAt(middle(index)), text) << index;
    EXPECT_EQ(tipAt(t().toolbarItemLeft(2)), general) << "on a border: strict comparisons";
    EXPECT_EQ(tipAt(middle(9) + 2000), general);

    gSprache = QStringLiteral("En");
    EXPECT_EQ(tipAt(middle(6)), QStringLiteral("Französisch first"));
    EXPECT_EQ(tipAt(middle(3)), QStringLiteral("Vocabulary selected randomly"));
    EXPECT_EQ(tipAt(middle(7)), QStringLiteral("Buttons for setting options for the Trainer. Settings can also be "
                                               "changed in the options window."));
    // Another language pair: the tip names it.
    Forms::form1().lang1 = QStringLiteral("Deutsch");
    Forms::form1().lang2 = QStringLiteral("Schwedisch");
    EXPECT_EQ(tipAt(middle(6)), QStringLiteral("Schwedisch first"));
}

TEST_F(TrainerTest, EnglishTextsExceptExtrasAndCaption)
{
    gSprache = QStringLiteral("En");
    openList(words(2));
    EXPECT_EQ(t().windowTitle(), QStringLiteral("Trainer"));
    EXPECT_EQ(t().Command6->text(), QStringLiteral("Restart"));
    EXPECT_EQ(t().Command4->toolTip(), QStringLiteral("Closes this window"));
    EXPECT_EQ(t().Command3->toolTip(), QStringLiteral("Proceeds to next step"));
    EXPECT_EQ(t().panelText(1), QStringLiteral("Number of vocabs"));
    EXPECT_EQ(t().panelText(3), QStringLiteral("Vocab no."));
    EXPECT_EQ(t().menDatei->title(), QStringLiteral("&File"));
    EXPECT_EQ(t().menStep->text(), QStringLiteral("Proceed to Next &Step"));
    EXPECT_EQ(t().menAnfangSequenz->text(), QStringLiteral("Be&ginning of Sequence"));
    EXPECT_EQ(t().menExtras->title(), QStringLiteral("Extras"));
    EXPECT_EQ(t().menInfo->text(), QStringLiteral("Ausprache-Info"));
    EXPECT_EQ(t().VokabelnGrid->ToolTipText(), QStringLiteral("Change row height with mouse"));
}

TEST_F(TrainerTest, GermanDesignTextsAndShortcuts)
{
    openList(words(2));
    EXPECT_EQ(t().Command6->text(), QStringLiteral("Neustart"));
    EXPECT_EQ(t().Command4->text(), QStringLiteral("Schließen"));
    EXPECT_EQ(t().panelText(1), QStringLiteral("Anzahl Vokabeln"));
    EXPECT_EQ(t().menEinsZurueck->text(), QStringLiteral("Eine Vokabel zurück"));
    const QList<QPair<QAction*, QString>> keys = {
        {t().menNeustart, QStringLiteral("Ctrl+N")},    {t().menClose, QStringLiteral("Ctrl+X")},
        {t().menMain, QStringLiteral("Ctrl+R")},        {t().menTestoptionen, QStringLiteral("Ctrl+O")},
        {t().menEinsWeiter, QStringLiteral("Ctrl+W")},  {t().menEinsZurueck, QStringLiteral("Ctrl+Z")},
        {t().menStep, QStringLiteral("Ctrl+S")},        {t().menAnfangSequenz, QStringLiteral("Ctrl+A")},
        {t().menEndeSequenz, QStringLiteral("Ctrl+E")},
    };
    for (const auto& [action, key] : keys)
        EXPECT_EQ(action->shortcut(), QKeySequence(key)) << action->objectName().toStdString();
}

TEST_F(TrainerTest, DisplayGridLayoutAndClick)
{
    openList(words(2));
    MSFlexGrid& g = *t().VokabelnGrid;
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.Cols(), 1);
    EXPECT_EQ(g.RowHeight(0), g.RowHeight(2));
    EXPECT_EQ(g.RowHeight(1), g.RowHeight(3));
    EXPECT_NEAR(g.RowHeight(0), 214, 15);
    EXPECT_NEAR(g.RowHeight(0) * 2 + g.RowHeight(1) * 2, 5415, 30);
    EXPECT_EQ(g.TextMatrix(0, 0), QStringLiteral("Deutsch"));
    EXPECT_EQ(g.TextMatrix(2, 0), QStringLiteral("Französisch"));
    g.setRow(3);
    t().VokabelnGrid_Click();
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 0);
    EXPECT_TRUE(t().LabelOben->isHidden());
    EXPECT_TRUE(t().NichtWort->isHidden());
    EXPECT_TRUE(t().Suche->isHidden());
}

TEST_F(TrainerTest, FirstActivationMovesOnScreenLaterPositionsStay)
{
    openList(words(1));
    EXPECT_LE(Twips::fromPixelsX(t().x()), -10000);
    t().Form_Activate();
    EXPECT_NEAR(Twips::fromPixelsX(t().x()), 675, 15);
    t().move(Twips::toPixelsX(2000), t().y());
    t().Form_Activate();
    EXPECT_NEAR(Twips::fromPixelsX(t().x()), 2000, 15);
}

TEST_F(TrainerTest, FirstShowingIsOnScreenEvenBeforeAnyActivation)
{
    openList(words(1));
    ASSERT_LE(Twips::fromPixelsX(t().x()), -10000);
    // No event is processed in between: the window system's activation has
    // not arrived (and on some systems never does).
    Forms::form1().Command2_Click();
    EXPECT_TRUE(t().isVisible());
    EXPECT_NEAR(Twips::fromPixelsX(t().x()), 675, 15);
    t().Command4_Click();
    t().move(Twips::toPixelsX(3000), t().y());
    Forms::form1().Command2_Click();
    EXPECT_NEAR(Twips::fromPixelsX(t().x()), 3000, 15);
}

TEST_F(TrainerTest, CloseHidesAndKeepsTheState)
{
    openList(words(3));
    Forms::form1().Command2_Click();
    EXPECT_TRUE(t().isVisible());
    t().Command3_Click();
    t().Command4_Click();
    EXPECT_FALSE(t().isVisible());
    EXPECT_TRUE(Forms::trainerLoaded());
    EXPECT_EQ(t().seqIndex(), 1);
    EXPECT_EQ(question(), lang1At(1));
}

TEST_F(TrainerTest, FixedDialogBorderAndTitleBarCloseOnlyHides)
{
    openList(words(2));
    const Qt::WindowFlags flags = t().windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(t().minimumSize(), t().maximumSize());

    Forms::form1().Command2_Click();
    t().Command3_Click();
    ASSERT_TRUE(t().isVisible());
    EXPECT_TRUE(t().close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(Forms::trainerLoaded());
    EXPECT_FALSE(t().isVisible());
    EXPECT_EQ(t().seqIndex(), 1);
    EXPECT_EQ(question(), lang1At(1));
}

TEST_F(TrainerTest, Screenshot)
{
    openList({{QStringLiteral("der Hund"), QStringLiteral("le chien"), 3},
              {QStringLiteral("die Katze"), QStringLiteral("le chat"), 2}});
    Forms::form1().Command2_Click();
    t().Command3_Click();
    t().Command3_Click();
    QCoreApplication::processEvents();
    const QString out = qEnvironmentVariable("LEXUVANT_SCREENSHOTS");
    const QImage image = t().grab().toImage();
    EXPECT_FALSE(image.isNull());
    const QImage question = t().confirmDlg().grab().toImage();
    EXPECT_FALSE(question.isNull());
    if (!out.isEmpty()) {
        image.save(QDir(out).filePath(QStringLiteral("trainer.png")));
        question.save(QDir(out).filePath(QStringLiteral("trainer_confirm.png")));
    }
}

TEST_F(TrainerTest, ScreenshotEnglish)
{
    gSprache = QStringLiteral("En");
    openList({{QStringLiteral("der Hund"), QStringLiteral("le chien"), 3},
              {QStringLiteral("die Katze"), QStringLiteral("le chat"), 2}});
    Forms::form1().Command2_Click();
    t().Command3_Click();
    QCoreApplication::processEvents();
    const QImage image = t().grab().toImage();
    EXPECT_FALSE(image.isNull());
    const QString out = qEnvironmentVariable("LEXUVANT_SCREENSHOTS");
    if (!out.isEmpty())
        image.save(QDir(out).filePath(QStringLiteral("trainer_en.png")));
}

// --- relation helpers -------------------------------------------------------

TEST_F(TrainerTest, AreaTextForDisplay)
{
    const QList<QPair<QString, QString>> cases = {
        {QStringLiteral("Essen;Reisen"), QStringLiteral("Essen, Reisen")},
        {QStringLiteral("Essen;"), QStringLiteral("Essen")},
        {QStringLiteral(" Orte "), QStringLiteral("Orte")},
        {QString(), QString()},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Trainer::BereichAufbereiten(in), out) << in.toStdString();
}

TEST_F(TrainerTest, RelationTypesStaySortedAndUnique)
{
    openList(words(1));
    for (const char* type : {"siehe auch", "Gegenteil", " siehe auch ", "", "abgeleitet", "Gegenteil"})
        t().AddRelTypToCombo(QString::fromUtf8(type));
    EXPECT_EQ(t().RelTypeList,
              QStringList({QStringLiteral("Gegenteil"), QStringLiteral("abgeleitet"), QStringLiteral("siehe auch")}));
}

TEST_F(TrainerTest, RelationsOfTheCurrentEntryOrderedByType)
{
    dbPath = dir.filePath(QStringLiteral("Testsprache.lxt"));
    {
        TestDatabase db(dbPath);
        db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Französisch@")).setDBVersion(2);
        for (int i = 1; i <= 4; ++i)
            ids << db.addEntry({{}, QStringLiteral("Wort%1").arg(i)}, {{}, QStringLiteral("mot%1").arg(i)}, 3);
        db.addReference(ids[0], ids[1], QStringLiteral("siehe auch"));
        db.addReference(ids[2], ids[0], QStringLiteral("Gegenteil"));
        db.addReference(ids[1], ids[3], QStringLiteral("Gegenteil"));
    }
    Forms::form1().Open_DB(QFileInfo(dbPath).fileName());
    Forms::form2().Command4_Click();
    msgs->clear();
    grid().setRow(rowOfId(ids[0]));
    grid().setCol(5);
    ASSERT_TRUE(t().GetRelations());
    EXPECT_EQ(t().RelCount, 2);
    EXPECT_EQ(t().RelIDs, QStringList({QString::number(ids[2]), QString::number(ids[1])}));
    EXPECT_EQ(t().RelTypen, QStringList({QStringLiteral("Gegenteil"), QStringLiteral("siehe auch")}));
    EXPECT_EQ(grid().Col(), 5) << "the list's column is restored";
    EXPECT_TRUE(msgs->shown.isEmpty());

    grid().setRow(rowOfId(ids[3]));
    ASSERT_TRUE(t().GetRelations());
    EXPECT_EQ(t().RelIDs, QStringList({QString::number(ids[1])}));

    // An ID is one value, not a pattern matching every one-digit ID.
    grid().setTextMatrix(grid().Row(), 1, QStringLiteral("#"));
    EXPECT_FALSE(t().GetRelations());
}

TEST_F(TrainerTest, MultiValueCellIntoAListBox)
{
    openList(words(1));
    QListWidget box;
    auto items = [&] {
        QStringList list;
        for (int i = 0; i < box.count(); ++i)
            list << box.item(i)->text();
        return list;
    };
    grid().setRow(1);
    grid().setCol(Liste::txtBereich);
    grid().setText(QStringLiteral(" Essen ; ;Reisen"));
    t().SetzeFeldVonGridInListbox(&box);
    EXPECT_EQ(items(), QStringList({QStringLiteral("Essen"), QString(), QStringLiteral("Reisen")}));
    grid().setText(QString());
    t().SetzeFeldVonGridInListbox(&box);
    EXPECT_EQ(items(), QStringList({gKeinEintrag}));
}

// --- start-up ---------------------------------------------------------------

class TrainerStartup : public MainWindowTest {};

TEST_F(TrainerStartup, StartUpLoadsTheTrainerHiddenAndCommandShowsIt)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), 3);
    Form1& f1 = startUp();
    ASSERT_TRUE(Forms::trainerLoaded());
    Trainer& tr = Forms::trainer();
    EXPECT_FALSE(tr.isVisible());
    EXPECT_EQ(tr.VokabelnGrid->TextMatrix(0, 0), QStringLiteral("Deutsch"));
    EXPECT_EQ(tr.VokabelnGrid->TextMatrix(2, 0), QStringLiteral("Englisch"));
    EXPECT_EQ(tr.panelText(2), QStringLiteral("0")) << "no list yet";
    EXPECT_TRUE(tr.OptSequentiell);
    EXPECT_TRUE(tr.toolbarButton(1)->isChecked());
    EXPECT_TRUE(tr.toolbarButton(5)->isChecked());
    EXPECT_FALSE(tr.toolbarButton(9)->isEnabled());
    EXPECT_EQ(prompts(), QStringList());
    f1.Command2_Click();
    EXPECT_TRUE(tr.isVisible());
}

TEST_F(TrainerStartup, LoadReportsItsStagesOnTheSplashBetween81And95)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), 3);
    auto* splash = new frmSplash;
    QList<int> values;
    QObject::connect(splash->ProgressBar1, &QProgressBar::valueChanged, [&](int v) { values << v; });
    splash->Timer1_Timer();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int from = int(values.indexOf(81));
    ASSERT_GE(from, 0);
    EXPECT_EQ(values.mid(from, 9), QList<int>({81, 83, 85, 87, 89, 91, 93, 94, 95}));
}

TEST_F(TrainerTest, MouseOverTheToolbarSetsItsTip)
{
    openList(words(1));
    QToolButton* shuffled = t().toolbarButton(2);
    QMouseEvent move(QEvent::MouseMove, QPointF(shuffled->width() / 2.0, shuffled->height() / 2.0),
                     shuffled->mapToGlobal(QPointF(shuffled->width() / 2.0, shuffled->height() / 2.0)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(shuffled, &move);
    EXPECT_EQ(t().Toolbar1->toolTip(), QStringLiteral("Vokabeln Gemischt"));
}

} // namespace
