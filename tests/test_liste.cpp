// The list window: its empty shape and headers, captions, column options,
// layout, the row marker and every way of sorting.
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/MSFlexGrid.h"
#include "platform/Twips.h"
#include "selection/ListColumnOptions.h"
#include "selection/Liste.h"
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

// Readable failures for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class ListeTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedFakeMessages msgs;

    void SetUp() override
    {
        ListColumnOptions::instance().reset();
        QPixmap marker(12, 12);
        marker.fill(Qt::blue);
        ASSERT_TRUE(marker.save(dir.path() + QStringLiteral("/marke.png")));
        setUpMainWindow();
    }

    // The main window's state the list reads.
    void setUpMainWindow()
    {
        const QString path = dir.path() + QStringLiteral("/marke.png");
        Form1& f = Forms::form1();
        f.lang1 = QStringLiteral("Deutsch");
        f.lang2 = QStringLiteral("Französisch");
        f.Marke_bmp = path;
    }

    void TearDown() override
    {
        gSprache = QStringLiteral("De");
        ListColumnOptions::instance().reset();
        Forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    Liste& liste() { return Forms::liste(); }
    MSFlexGrid& grid() { return *Forms::liste().MSFlexGrid1; }

    // Replaces the list by rows given as (language 1, language 2, area, score,
    // shown creation date, its key); the ID is the row number.
    struct Entry {
        const char *l1, *l2, *area, *score, *date, *key;
    };
    void setList(const std::vector<Entry>& entries)
    {
        MSFlexGrid& g = grid();
        g.setRows(1);
        liste().SetHeaders();
        int id = 0;
        for (const Entry& e : entries) {
            g.AddItem(QString());
            const int r = g.Rows() - 1;
            g.setTextMatrix(r, 1, QString::number(++id));
            g.setTextMatrix(r, Liste::txtSpanisch, QString::fromUtf8(e.l1));
            g.setTextMatrix(r, Liste::txtDeutsch, QString::fromUtf8(e.l2));
            g.setTextMatrix(r, Liste::txtBereich, QString::fromUtf8(e.area));
            g.setTextMatrix(r, Liste::txtScore, QString::fromUtf8(e.score));
            g.setTextMatrix(r, Liste::txtEingabedatum, QString::fromUtf8(e.date));
            g.setTextMatrix(r, Liste::txtEingabe_mod, QString::fromUtf8(e.key));
            // The parts: language 1's main part sorts the other way round.
            g.setTextMatrix(r, Liste::txtSpanisch_Main, QString::number(9 - id));
        }
        Forms::form1().ListeNichtLeer = !entries.empty();
        liste().previousRow = 0;
    }
    void setFiveEntries()
    {
        setList({{"Haus", "maison", "Wohnen", "3", "16.07.00", "20000716"},
                 {"apfel", "pomme", "Essen", "1", "01.01.99", "19990101"},
                 {"Baum", "arbre", "Natur", "6", "05.03.01", "20010305"},
                 {"Ziege", "chèvre", "Tiere", "2", "20.12.98", "19981220"},
                 {"brot", "pain", "Essen", "4", "02.02.02", "20020202"}});
    }

    QStringList columnTexts(int col)
    {
        QStringList out;
        for (int r = 1; r < grid().Rows(); ++r)
            out << grid().TextMatrix(r, col);
        return out;
    }
    // The rows whose marker cell holds a picture.
    QList<int> markedRows()
    {
        MSFlexGrid& g = grid();
        const int r = g.Row(), c = g.Col();
        QList<int> out;
        g.setCol(0);
        for (int i = 0; i < g.Rows(); ++i) {
            g.setRow(i);
            if (!g.CellPicture().isNull())
                out << i;
        }
        g.setRow(r);
        g.setCol(c);
        return out;
    }
    void mark(int row)
    {
        grid().setRow(row);
        liste().SetzeMarke();
    }
};

} // namespace

TEST_F(ListeTest, LoadsAsAnEmptyListWithTheLoadWidths)
{
    MSFlexGrid& g = grid();
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.Cols(), 24);
    EXPECT_EQ(g.RowHeight(1), 0);
    EXPECT_EQ(g.Row(), 0);
    EXPECT_EQ(liste().entryCount(), 0);
    const int base = g.ColWidth(Liste::txtScore); // the grid's default width
    EXPECT_EQ(g.ColWidth(0), std::lround(base / 3.0));
    EXPECT_EQ(g.ColWidth(Liste::txtSpanisch), 2 * base);
    EXPECT_EQ(g.ColWidth(Liste::txtDeutsch), 2 * base);
    EXPECT_EQ(g.ColWidth(Liste::txtBereich), 2 * base);
    for (int c : {1, 4, 5, 6, 8, 9, 10, 11, 12, 14, 17, 20, 23})
        EXPECT_EQ(g.ColWidth(c), 0) << c;
    EXPECT_EQ(g.ColAlignment(0), 1);
    for (int c = 1; c < 24; ++c)
        EXPECT_EQ(g.ColAlignment(c), 0) << c;
    EXPECT_EQ(liste().lfd + liste().DelLfd + liste().previousRow + liste().previousCol, 0);
    EXPECT_EQ(liste().mnSpanisch->text(), "nach Deutsch");
    EXPECT_EQ(liste().mnDeutsch->text(), "nach Französisch");
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(ListeTest, HeadersAndMenusInBothLanguages)
{
    struct Case {
        const char* sprache;
        QStringList headers; // columns 2 to 13
        const char *file, *find, *sort, *score, *by1, *caption;
    };
    const Case cases[] = {
        {"De",
         {"Deutsch", "Französisch", "Wortart", "Grammatikalische Attribute", "Funktionale Attribute", "Bereich",
          "Beispielsatz", "Zusatzinfo", "Quelle", "Eingabedatum", "Änderungsdatum", "Score"},
         "Datei",
         "Suchen in Liste",
         "Sortieren",
         "nach Fehlerscore",
         "nach Deutsch",
         "Vokabelliste - 0 Einträge"},
        {"En",
         {"Deutsch", "Französisch", "Part of Speech", "Grammar Attributes", "Functional Attributes", "Area",
          "Sample Phrase", "Additional Info", "Source", "Creationdate", "Changedate", "Error Score"},
         "File",
         "Find in List...",
         "Sort",
         "by Error Score",
         "by Deutsch",
         "Vocab List - 0 entries"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sprache);
        Forms::unloadAll();
        gSprache = QString::fromLatin1(c.sprache);
        setUpMainWindow();
        Liste& l = liste();
        l.SetHeaders();
        l.ConditionToUI();
        QStringList got;
        for (int col = 2; col <= 13; ++col)
            got << grid().TextMatrix(0, col);
        EXPECT_EQ(got, c.headers);
        for (int col : {0, 1, 14, 23})
            EXPECT_EQ(grid().TextMatrix(0, col), QString()) << col;
        EXPECT_EQ(l.mnFile->title(), QString::fromUtf8(c.file));
        EXPECT_EQ(l.mnSuchen->text(), QString::fromUtf8(c.find));
        EXPECT_EQ(l.WordSort->title(), QString::fromUtf8(c.sort));
        EXPECT_EQ(l.mnScore->text(), QString::fromUtf8(c.score));
        EXPECT_EQ(l.mnSpanisch->text(), QString::fromUtf8(c.by1));
        EXPECT_EQ(l.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(l.mnSuchen->shortcut(), QKeySequence("Ctrl+F"));
        EXPECT_EQ(l.mnDrucken->shortcut(), QKeySequence("Ctrl+P"));
        EXPECT_EQ(l.mnSchliessen->shortcut(), QKeySequence("Ctrl+X"));
        EXPECT_EQ(l.mnSchliessen->objectName(), QString::fromUtf8("mnSchließen"));
    }
}

TEST_F(ListeTest, CaptionCountsEntries)
{
    liste().SetzeStatus();
    EXPECT_EQ(liste().windowTitle(), QString::fromUtf8("Vokabelliste - 0 Einträge"));
    grid().setRows(1);
    liste().SetzeStatus();
    EXPECT_EQ(liste().windowTitle(), "Vokabelliste");
    setFiveEntries();
    gSprache = QStringLiteral("En");
    liste().SetzeStatus();
    EXPECT_EQ(liste().windowTitle(), "Vocab List - 5 entries");
    // One entry whose row is shown counts as one.
    grid().setRows(2);
    gSprache = QStringLiteral("De");
    liste().SetzeStatus();
    EXPECT_EQ(liste().windowTitle(), QString::fromUtf8("Vokabelliste - 1 Einträge"));
}

TEST_F(ListeTest, SortAndFindMenusFollowTheMainWindowsFlag)
{
    for (bool filled : {false, true, false}) {
        Forms::form1().ListeNichtLeer = filled;
        liste().ConditionToUI();
        EXPECT_EQ(liste().mnSuchen->isEnabled(), filled);
        EXPECT_EQ(liste().WordSort->isEnabled(), filled);
    }
}

TEST_F(ListeTest, ColumnCountsAsHiddenByTheFirstUncheckedBox)
{
    using O = ListColumnOptions;
    auto hiddenCols = [&] {
        QList<int> out;
        for (int c = -1; c < 25; ++c)
            if (liste().ColIsHidden(c))
                out << c;
        return out;
    };
    O& opt = O::instance();
    EXPECT_EQ(hiddenCols(), (QList<int>{5, 6})); // start values: chkGrammatikalischeAttribute unchecked
    for (int b = 0; b < O::Count; ++b)
        opt.setChecked(O::Box(b), true);
    EXPECT_EQ(hiddenCols(), QList<int>{});
    opt.setChecked(O::chkWortart, false);
    EXPECT_EQ(hiddenCols(), (QList<int>{4, 5}));
    opt.setChecked(O::chkWortart, true);
    opt.setChecked(O::chkScore, false);
    EXPECT_EQ(hiddenCols(), QList<int>{13}); // column 14 never counts
}

TEST_F(ListeTest, HidingColumnsByOptionsRestoresSavedWidths)
{
    MSFlexGrid& g = grid();
    const int area = g.ColWidth(Liste::txtBereich);
    g.setColWidth(Liste::txtBereich, 0);
    g.setColWidth(Liste::txtWortart, 777);
    liste().HideColsAccordingToOptions();
    EXPECT_EQ(g.ColWidth(Liste::txtBereich), area); // checked: the saved width
    EXPECT_EQ(g.ColWidth(Liste::txtWortart), 0);    // checked, saved width was 0
    EXPECT_EQ(g.ColWidth(Liste::txtScore), 0);      // unchecked
}

TEST_F(ListeTest, AdjustControlsLaysOutOnceThenOnlySetsWidths)
{
    Liste& l = liste();
    l.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
    ASSERT_TRUE(l.windowState() & Qt::WindowMaximized);
    l.AdjustControls();
    const QRect button = l.Command1->geometry();
    const QRect gridRect = grid().geometry();
    EXPECT_GT(gridRect.width(), 0);
    EXPECT_LE(gridRect.bottom(), button.top());
    EXPECT_LE(button.right(), l.centralWidget()->width());

    auto checkWidths = [&] {
        MSFlexGrid& g = grid();
        EXPECT_EQ(g.ColWidth(Liste::txtScore), 1500);
        EXPECT_EQ(g.ColWidth(Liste::txtBereich), 2500);
        const int expected = int(std::lrint((Twips::fromPixelsX(g.width()) - 4000) / 2.0));
        EXPECT_EQ(g.ColWidth(Liste::txtSpanisch), expected);
        EXPECT_EQ(g.ColWidth(Liste::txtDeutsch), expected);
    };
    checkWidths();
    grid().setColWidth(Liste::txtScore, 100);
    grid().setColWidth(Liste::txtDeutsch, 100);
    l.AdjustControls();
    EXPECT_EQ(l.Command1->geometry(), button);
    EXPECT_EQ(grid().geometry(), gridRect);
    checkWidths();

    // A half twip goes to the even neighbour: a grid 4000 + 4k + 1 twips
    // wide gives language columns of 2k twips, not 2k + 1.
    int px = grid().width();
    while ((Twips::fromPixelsX(px) - 4000) % 4 != 1)
        ++px;
    grid().resize(px, grid().height());
    l.AdjustControls();
    EXPECT_EQ(grid().ColWidth(Liste::txtSpanisch), (Twips::fromPixelsX(px) - 4001) / 2);
    EXPECT_EQ(grid().ColWidth(Liste::txtDeutsch), (Twips::fromPixelsX(px) - 4001) / 2);
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(ListeTest, MarkerMovesFromRowToRow)
{
    setFiveEntries();
    mark(3);
    EXPECT_EQ(markedRows(), QList<int>{3});
    mark(5);
    EXPECT_EQ(markedRows(), QList<int>{5});
    EXPECT_EQ(liste().previousRow, 5);
    EXPECT_EQ(grid().Row(), 5);
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(ListeTest, EverySortDropsTheMarkerAndMakesRowOneCurrent)
{
    struct Case {
        const char* name;
        std::function<void(Liste&)> sort;
        int keyCol;
    };
    const Case cases[] = {
        {"menu language 1", [](Liste& l) { l.mnSpanisch_Click(); }, Liste::txtSpanisch},
        {"menu language 2", [](Liste& l) { l.mnDeutsch_Click(); }, Liste::txtDeutsch},
        {"menu area", [](Liste& l) { l.mnBereich_Click(); }, Liste::txtBereich},
        {"menu score", [](Liste& l) { l.mnScore_Click(); }, Liste::txtScore},
        {"main part",
         [](Liste& l) {
             l.MSFlexGrid1->setCol(Liste::txtSpanisch);
             l.SortByMain();
         },
         Liste::txtSpanisch_Main},
        {"creation date",
         [](Liste& l) {
             l.MSFlexGrid1->setCol(Liste::txtEingabedatum);
             l.SortAccordingToCol();
         },
         Liste::txtEingabe_mod},
        {"area by SortWord",
         [](Liste& l) {
             l.MSFlexGrid1->setCol(Liste::txtBereich);
             l.ResetMarke();
             l.SortWord("Main");
         },
         Liste::txtBereich},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setFiveEntries();
        mark(4);
        grid().setCol(Liste::txtSpanisch);
        c.sort(liste());
        EXPECT_EQ(markedRows(), QList<int>{});
        EXPECT_EQ(grid().Row(), 1);
        QStringList keys = columnTexts(c.keyCol);
        QStringList sorted = keys;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const QString& a, const QString& b) { return a.toCaseFolded() < b.toCaseFolded(); });
        EXPECT_EQ(keys, sorted);
        EXPECT_NE(columnTexts(1), (QStringList{"1", "2", "3", "4", "5"}));
    }
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(ListeTest, DatesSortByTheirKeyNotByTheShownText)
{
    setFiveEntries();
    grid().setCol(Liste::txtEingabedatum);
    liste().SortAccordingToCol();
    EXPECT_EQ(columnTexts(Liste::txtEingabedatum),
              (QStringList{"20.12.98", "01.01.99", "16.07.00", "05.03.01", "02.02.02"}));
    EXPECT_EQ(grid().Col(), Liste::txtEingabedatum);
    // The language sort leaves the case aside.
    liste().mnSpanisch_Click();
    EXPECT_EQ(columnTexts(Liste::txtSpanisch), (QStringList{"apfel", "Baum", "brot", "Haus", "Ziege"}));
}

TEST_F(ListeTest, SortByColumnZeroOnlyMovesToRowOne)
{
    setFiveEntries();
    mark(4);
    grid().setCol(0);
    liste().SortAccordingToCol();
    EXPECT_EQ(columnTexts(1), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(markedRows(), QList<int>{4});
    EXPECT_EQ(grid().Row(), 1);
    EXPECT_EQ(grid().TopRow(), 1);
}

TEST_F(ListeTest, HeaderPressSortsUnlessOnTheIdColumn)
{
    setFiveEntries();
    MSFlexGrid& g = grid();
    g.setCol(1);
    emit g.MouseDown(1, 0, 300, 30); // header zone, ID column current
    EXPECT_EQ(columnTexts(1), (QStringList{"1", "2", "3", "4", "5"}));

    // A real press on the header of the language-2 column.
    Liste& l = liste();
    l.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
    QHeaderView* h = g.view()->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(Liste::txtDeutsch) + 5, h->height() / 2));
    EXPECT_EQ(g.Col(), Liste::txtDeutsch);
    EXPECT_EQ(columnTexts(Liste::txtDeutsch), (QStringList{"arbre", "chèvre", "maison", "pain", "pomme"}));
    EXPECT_EQ(g.Row(), 1);
}

TEST_F(ListeTest, PressOnADataRowMarksIt)
{
    setFiveEntries();
    Liste& l = liste();
    l.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
    QTableView* v = grid().view();
    const QRect cell = v->visualRect(v->model()->index(3, Liste::txtSpanisch));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 5, cell.top() + 1));
    EXPECT_EQ(l.previousRow, 3);
    EXPECT_EQ(markedRows(), QList<int>{3});
    EXPECT_EQ(l.previousCol, Liste::txtSpanisch);
    // The very top of the first row is below the header row: it marks, it does not sort.
    const QRect first = v->visualRect(v->model()->index(1, Liste::txtSpanisch));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(first.left() + 5, first.top()));
    EXPECT_EQ(l.previousRow, 1);
    EXPECT_EQ(columnTexts(1), (QStringList{"1", "2", "3", "4", "5"}));
    // Only the header row: a press does nothing.
    grid().setRows(1);
    emit grid().MouseDown(1, 0, 300, 3000);
    EXPECT_EQ(l.previousRow, 1);
}

TEST_F(ListeTest, MarkerBeyondAShrunkListIsLeftAlone)
{
    setFiveEntries();
    mark(5);
    grid().setRows(3);
    grid().setCol(Liste::txtSpanisch);
    liste().mnSpanisch_Click(); // sort: nothing to unmark, nothing reported
    EXPECT_TRUE(msgs->shown.isEmpty());
    mark(2);
    EXPECT_EQ(markedRows(), QList<int>{2});
    EXPECT_EQ(liste().previousRow, 2);
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(ListeTest, MarkerWorksBeyondRow32767)
{
    grid().setRows(40002);
    mark(40001);
    EXPECT_EQ(liste().previousRow, 40001);
    grid().setCol(0);
    EXPECT_FALSE(grid().CellPicture().isNull());
    mark(2);
    grid().setRow(40001);
    grid().setCol(0);
    EXPECT_TRUE(grid().CellPicture().isNull());
}

TEST_F(ListeTest, MissingMarkerPictureIsReportedAndTheRowStillCounts)
{
    setFiveEntries();
    Forms::form1().Marke_bmp = dir.path() + QStringLiteral("/none.png");
    mark(2);
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_EQ(liste().previousRow, 2);
}

TEST_F(ListeTest, EmptyingTheListLeavesTheEmptyShape)
{
    setFiveEntries();
    liste().LoescheListe();
    EXPECT_EQ(grid().Rows(), 2);
    EXPECT_EQ(grid().RowHeight(1), 0);
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtSpanisch), QString());
    EXPECT_EQ(grid().TextMatrix(0, Liste::txtScore), "Score");
    grid().setRows(1);
    liste().LoescheListe();
    EXPECT_EQ(grid().Rows(), 1);
    EXPECT_EQ(grid().TextMatrix(0, Liste::txtDeutsch), QString::fromUtf8("Französisch"));
}

// Shown again, the list starts at its first columns, though its current
// cell lies on the score column (as a trainer answer leaves it), a new list
// took the rows away under that cell meanwhile, and the learner had
// scrolled to the right; the current cell stays where it is.
TEST_F(ListeTest, ShownAgainTheListStartsAtItsFirstColumns)
{
    setFiveEntries();
    Liste& l = liste();
    l.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&l));
    l.AdjustControls(); // as the list build lays it out: wider than the grid by the marker column
    QScrollBar* sideways = grid().view()->horizontalScrollBar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sideways->maximum() > 0; }));
    auto answerOnRow = [&](int row) {
        grid().setRow(row);
        grid().setCol(Liste::txtScore);
        QCoreApplication::processEvents();
    };
    answerOnRow(4);
    sideways->setValue(sideways->maximum());
    l.hide();
    setFiveEntries();
    answerOnRow(2);
    l.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(sideways->value(), 0);
    EXPECT_EQ(grid().Row(), 2);
    EXPECT_EQ(grid().Col(), Liste::txtScore);
}

TEST_F(ListeTest, CloseOnlyHidesAndFindNeedsRows)
{
    setFiveEntries();
    Liste& l = liste();
    l.show();
    EXPECT_FALSE(l.close());
    EXPECT_FALSE(l.isVisible());
    EXPECT_TRUE(Forms::listeLoaded());
    EXPECT_EQ(grid().Rows(), 6);

    l.mnSuchen_Click();
    EXPECT_EQ(msgs->dialogTitles.size(), 1);
    grid().setRows(1);
    l.mnSuchen_Click();
    EXPECT_EQ(msgs->dialogTitles.size(), 1);
}

TEST_F(ListeTest, ArrayDBToListeEndsEachItemWithASemicolon)
{
    const struct {
        const char *in, *out;
    } cases[] = {{"a@b@c", "a;b;"}, {"", ""}, {"@@", ";;"}, {"ohne", ""}, {"Haus@", "Haus;"}};
    for (const auto& c : cases)
        EXPECT_EQ(liste().ArrayDBToListe(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    EXPECT_EQ(liste().Fgi(2, 3), 2 * 24 + 3);
}


TEST_F(ListeTest, RowPositionFindsTheRecordOfTheRowsId)
{
    const QString path = dir.path() + QStringLiteral("/t.lxt");
    qint64 ids[2];
    {
        TestDatabase db(path);
        ids[0] = db.addEntry({{}, "Hund"}, {{}, "chien"}, 3);
        ids[1] = db.addEntry({{}, "Katze"}, {{}, "chat"}, 2);
    }
    CDBHandler& h = Forms::form1().clsdb;
    h.dbKopieren = Database::OpenDatabase(path);
    ASSERT_TRUE(h.OpenAllRecordsets());
    setFiveEntries();
    MSFlexGrid& g = grid();
    const struct {
        const char* id;
        int expected;
    } cases[] = {{"", -1}, {"999", -1}, {"O'Brien", -1}};
    for (const auto& c : cases) {
        g.setTextMatrix(2, 1, QString::fromUtf8(c.id));
        EXPECT_EQ(liste().RowPos_To_RecPos(2), c.expected) << c.id;
    }
    g.setTextMatrix(2, 1, QString::number(ids[1]));
    g.setRow(4);
    g.setCol(3);
    EXPECT_EQ(liste().RowPos_To_RecPos(2), int(ids[1]));
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_TRUE(msgs->shown.isEmpty());
    h.CloseAllDBObjects();
}
