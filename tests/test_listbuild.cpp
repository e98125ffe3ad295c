// Building the vocabulary list from the selection window: which entries come
// out for an area subset and a score range (checked against plain SQL on the
// same file), the text of every cell, and the state after builds without hits
// or stopped by an error.
#include "common/Global.h"
#include "database/CQuery.h"
#include "database/Schema.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "mainwindow/Progress.h"
#include "platform/AppPaths.h"
#include "platform/MSFlexGrid.h"
#include "selection/Form2.h"
#include "selection/ListBuilder.h"
#include "selection/Liste.h"
#include "trainer/Trainer.h"
#include "selection/LstFkt.h"
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kLanguages = QStringLiteral("Sprache1=Deutsch@Sprache2=Französisch@");

class ListBuild : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedFakeMessages msgs;

    void SetUp() override { AppPaths::setAppPath(dir.path()); }
    void TearDown() override
    {
        Forms::unloadAll();
        gSprache = QStringLiteral("De");
    }

    Form2& f2() { return Forms::form2(); }
    MSFlexGrid* grid() { return Forms::liste().MSFlexGrid1; }

    void open(const QString& path)
    {
        // The program opens databases by name from its folder (the test's folder).
        Forms::form1().Open_DB(QFileInfo(path).fileName());
        ASSERT_FALSE(Forms::form1().DBName.isEmpty()) << msgs->lastPrompt().toStdString();
        msgs->clear();
    }

    void selectAreas(const QStringList& areas)
    {
        for (const QString& a : areas) {
            const auto found = f2().lstBereichLinks->findItems(a, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << a.toStdString();
            f2().lstBereichLinks->setCurrentItem(found.first());
            f2().cmdAdd_Click();
        }
    }

    void setRange(int min, int max)
    {
        // Widen first so neither bound ever crosses the other.
        f2().MinScore->setText(QStringLiteral("1"));
        f2().MaxScore->setText(QStringLiteral("6"));
        f2().MaxScore->setText(QString::number(max));
        f2().MinScore->setText(QString::number(min));
    }

    QSet<QString> gridIds()
    {
        QSet<QString> ids;
        for (int r = 1; r < grid()->Rows(); ++r)
            ids.insert(grid()->TextMatrix(r, 1));
        return ids;
    }

    static QSet<QString> sqlIds(const QString& path, const QStringList& areas, int min, int max)
    {
        TestDatabase check(path, TestDatabase::OpenExisting);
        QString sql = QStringLiteral("SELECT DISTINCT v.ID FROM Vokabular v");
        QStringList where;
        QVariantList args;
        if (!areas.isEmpty()) {
            sql += QStringLiteral(" JOIN Bereiche_Zwischen z ON z.IDV = v.ID JOIN Bereiche b ON b.ID = z.ID");
            QStringList marks;
            for (const QString& a : areas) {
                args << a;
                marks << QStringLiteral("?%1").arg(args.size());
            }
            where << QStringLiteral("b.Bereich_Text IN (%1)").arg(marks.join(QLatin1Char(',')));
        }
        // A Null score is listed as 6.
        if (!(min == 1 && max == 6))
            where << QStringLiteral("(v.Score >= %1 AND v.Score <= %2%3)")
                         .arg(min)
                         .arg(max)
                         .arg(max == 6 ? QStringLiteral(" OR v.Score IS NULL") : QString());
        if (!where.isEmpty())
            sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
        const QStringList ids = check.texts(sql, args);
        return QSet<QString>(ids.begin(), ids.end());
    }

    // Entries spread over the eight areas with every score and a Null score.
    QString generated()
    {
        const QString path = dir.filePath(QStringLiteral("gen.lxt"));
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        const QStringList& areas = Schema::areaNames();
        QList<qint64> areaIds;
        for (const QString& a : areas)
            areaIds << db.addArea(a);
        db.begin();
        for (int i = 0; i < 60; ++i) {
            const QVariant score = i % 7 == 6 ? QVariant() : QVariant(1 + i % 7);
            const qint64 id =
                db.addEntry({{}, QStringLiteral("wort%1").arg(i)}, {{}, QStringLiteral("mot%1").arg(i)}, score);
            db.linkArea(id, areaIds[i % 8]);
            if (i % 5 == 0)
                db.linkArea(id, areaIds[(i + 3) % 8]);
        }
        db.commit();
        return path;
    }

    void expectSelection(const QString& path, const QStringList& areas, int min, int max)
    {
        f2().cmdRemoveAll_Click();
        selectAreas(areas);
        setRange(min, max);
        f2().Command4_Click();
        const QSet<QString> expected = sqlIds(path, areas.size() == 8 ? QStringList() : areas, min, max);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(gridIds(), expected);
        EXPECT_EQ(grid()->Rows() - 1, expected.size()) << "each entry once";
        EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
    }
};

struct Selection {
    QStringList areas;
    int min, max;
};

const QList<Selection> kSelections = {
    {{}, 1, 6},
    {{QStringLiteral("Essen"), QStringLiteral("Reisen")}, 1, 6},
    {{QStringLiteral("Zahlen")}, 2, 4},
    {{QStringLiteral("Einkaufen"), QStringLiteral("Orte"), QStringLiteral("Zeiten")}, 1, 3},
    {{}, 6, 6},
    {{QStringLiteral("Basiskommunikation"), QStringLiteral("Einkaufen"), QStringLiteral("Essen"), QStringLiteral("Orte"),
      QStringLiteral("Reisen"), QStringLiteral("Richtungen"), QStringLiteral("Zahlen"), QStringLiteral("Zeiten")},
     1,
     6},
};

TEST_F(ListBuild, SelectionMatchesSqlOnGeneratedDatabase)
{
    const QString path = generated();
    open(path);
    for (const Selection& s : kSelections) {
        SCOPED_TRACE(s.areas.join(QLatin1Char(',')).toStdString() + " " + std::to_string(s.min) + ".."
                     + std::to_string(s.max));
        expectSelection(path, s.areas, s.min, s.max);
    }
}

TEST_F(ListBuild, SelectionMatchesSqlOnShippedDatabase)
{
    const QString path = TestFiles::copyShipped(QStringLiteral("Englisch.lxt"), dir);
    ASSERT_FALSE(path.isEmpty());
    open(path);
    for (const Selection& s : kSelections) {
        SCOPED_TRACE(s.areas.join(QLatin1Char(',')).toStdString() + " " + std::to_string(s.min) + ".."
                     + std::to_string(s.max));
        expectSelection(path, s.areas, s.min, s.max);
    }
}

// The builder on its own, without the selection window, against plain SQL on
// the shipped database: every row, in the order of the statement's rows, and
// each area and attribute cell with its texts in the order of the entry's links.
TEST_F(ListBuild, BuilderAloneMatchesAnIndependentReadingOfEveryLinkedCell)
{
    const QString path = TestFiles::copyShipped(QStringLiteral("Englisch.lxt"), dir);
    ASSERT_FALSE(path.isEmpty());
    open(path);
    ListBuilder builder;
    int shown = -1;
    ASSERT_TRUE(builder.build({{}, QStringLiteral("1"), QStringLiteral("6")}, nullptr, [&](int n) { shown = n; }));
    ASSERT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();

    TestDatabase check(path, TestDatabase::OpenExisting);
    const QStringList ids = check.texts(QStringLiteral("SELECT DISTINCT * FROM Vokabular"));
    ASSERT_EQ(grid()->Rows() - 1, ids.size());
    EXPECT_EQ(shown, ids.size());
    struct Linked {
        int col;
        const char* sql;
        int limit;
    };
    const Linked linked[] = {
        {Liste::txtBereich,
         "SELECT b.Bereich_Text FROM Bereiche_Zwischen z JOIN Bereiche b ON b.ID = z.ID WHERE z.IDV = ?1 ORDER BY z.rowid",
         gMaxBereich},
        {Liste::txtGrammatikalischeAttribute,
         "SELECT a.Attribut_Text FROM GrammatikalischeAttribute_Zwischen z JOIN GrammatikalischeAttribute a "
         "ON a.IDA = z.ID WHERE z.IDV = ?1 AND a.Attribut_Text IS NOT NULL ORDER BY z.rowid",
         gMaxAttribut},
        {Liste::txtFunktionaleAttribute,
         "SELECT a.Attribut_Text FROM FunktionaleAttribute_Zwischen z JOIN FunktionaleAttribute a "
         "ON a.IDA = z.ID WHERE z.IDV = ?1 AND a.Attribut_Text IS NOT NULL ORDER BY z.rowid",
         gMaxAttribut},
    };
    int severalTexts = 0;
    for (int r = 1; r < grid()->Rows(); ++r) {
        ASSERT_EQ(grid()->TextMatrix(r, 1), ids[r - 1]) << "row " << r;
        for (const Linked& l : linked) {
            QString cell;
            for (const QString& text : check.texts(QString::fromLatin1(l.sql), {ids[r - 1].toLongLong()}))
                appendCellText(cell, text, l.limit);
            severalTexts += cell.contains(QLatin1Char(';'));
            if (l.col != Liste::txtBereich && !cell.isEmpty())
                cell += QLatin1Char(';');
            EXPECT_EQ(grid()->TextMatrix(r, l.col).toStdString(), cell.toStdString()) << "row " << r << " column " << l.col;
        }
    }
    EXPECT_GT(severalTexts, 0) << "no cell whose order could differ";
}

TEST_F(ListBuild, EntryInTwoSelectedAreasAppearsOnce)
{
    const QString path = dir.filePath(QStringLiteral("two.lxt"));
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        const qint64 essen = db.addArea(QStringLiteral("Essen"));
        const qint64 reisen = db.addArea(QStringLiteral("Reisen"));
        const qint64 a = db.addEntry({{}, QStringLiteral("Brot")}, {{}, QStringLiteral("pain")}, 2);
        const qint64 b = db.addEntry({{}, QStringLiteral("Zug")}, {{}, QStringLiteral("train")}, 2);
        const qint64 c = db.addEntry({{}, QStringLiteral("Suppe")}, {{}, QStringLiteral("soupe")}, 2);
        // The second link of a comes last, far from its first.
        db.linkArea(a, essen);
        db.linkArea(b, reisen);
        db.linkArea(c, essen);
        db.linkArea(a, reisen);
    }
    open(path);
    selectAreas({QStringLiteral("Essen"), QStringLiteral("Reisen")});
    f2().Command4_Click();
    EXPECT_EQ(grid()->Rows(), 4);
    EXPECT_EQ(gridIds().size(), 3);
    EXPECT_EQ(f2().statusText(), QStringLiteral("3 Vokabeln ausgewählt"));
}

// The join reads the text ID '007' as 7; the area and its cell belong to "7" alone.
TEST_F(ListBuild, AnAreaSelectsTheEntryOfItsExactIdOnly)
{
    const QString path = dir.filePath(QStringLiteral("textids.lxt"));
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2).useTextIds();
        db.addEntryColumns({{"ID", "007"}, {"Lang1_Main", "null null sieben"}, {"Score", 1}});
        db.addEntryColumns({{"ID", "7"}, {"Lang1_Main", "sieben"}, {"Score", 1}});
        db.linkArea(7, db.addArea(QStringLiteral("Zahlen")));
    }
    open(path);
    selectAreas({QStringLiteral("Zahlen")});
    f2().Command4_Click();
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
    ASSERT_EQ(grid()->Rows(), 2);
    EXPECT_EQ(grid()->TextMatrix(1, 1), QStringLiteral("7"));
    EXPECT_EQ(grid()->TextMatrix(1, Liste::txtBereich), QStringLiteral("Zahlen"));
}

TEST_F(ListBuild, AreaNameWithApostropheSelectsItsEntries)
{
    const QString path = dir.filePath(QStringLiteral("apos.lxt"));
    qint64 kid = 0;
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        const qint64 kids = db.addArea(QStringLiteral("Kinder's"));
        const qint64 other = db.addArea(QStringLiteral("Essen"));
        kid = db.addEntry({{}, QStringLiteral("Ball")}, {{}, QStringLiteral("balle")}, 1);
        db.linkArea(kid, kids);
        db.linkArea(db.addEntry({{}, QStringLiteral("Brot")}, {{}, QStringLiteral("pain")}, 1), other);
    }
    open(path);
    AddSortedItem(f2().lstBereichLinks, QStringLiteral("Kinder's"));
    selectAreas({QStringLiteral("Kinder's")});
    f2().Command4_Click();
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
    ASSERT_EQ(grid()->Rows(), 2);
    EXPECT_EQ(grid()->TextMatrix(1, 1), QString::number(kid));
    EXPECT_EQ(grid()->TextMatrix(1, Liste::txtBereich), QStringLiteral("Kinder's"));
}

TEST_F(ListBuild, NoHitLeavesHeaderOnlyAndConsistentState)
{
    const QString path = dir.filePath(QStringLiteral("low.lxt"));
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        db.addEntry({{}, QStringLiteral("eins")}, {{}, QStringLiteral("un")}, 1);
        db.addEntry({{}, QStringLiteral("zwei")}, {{}, QStringLiteral("deux")}, 2);
    }
    open(path);
    f2().Command4_Click(); // a list with entries first
    ASSERT_TRUE(Forms::form1().ListeNichtLeer);
    ASSERT_EQ(grid()->Rows(), 3);

    setRange(5, 6);
    f2().Command4_Click();
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_EQ(msgs->shown[0].prompt, QStringLiteral("Es wurden keine Einträge gefunden."));
    EXPECT_EQ(msgs->shown[0].style, 48);
    EXPECT_EQ(f2().statusText(), QStringLiteral("0 Vokabeln ausgewählt"));
    EXPECT_EQ(grid()->Rows(), 1);
    EXPECT_FALSE(Forms::form1().ListeNichtLeer);
    EXPECT_EQ(Forms::liste().previousRow, 0);
    EXPECT_EQ(Forms::liste().windowTitle(), QStringLiteral("Vokabelliste"));
    auto* listButton = Forms::form1().findChild<QPushButton*>(QStringLiteral("Grid"));
    auto* trainerButton = Forms::form1().findChild<QPushButton*>(QStringLiteral("Command2"));
    ASSERT_TRUE(listButton && trainerButton);
    EXPECT_FALSE(listButton->isEnabled());
    EXPECT_FALSE(trainerButton->isEnabled());
    EXPECT_FALSE(Forms::progress().isVisible());
    EXPECT_TRUE(f2().Changes) << "only a build that reaches its end clears it";
}

TEST_F(ListBuild, FirstRowThatFailsStopsWithOneBoxAndNothingToTrain)
{
    const QString path = dir.filePath(QStringLiteral("bad.lxt"));
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        db.addEntry({{}, QStringLiteral("eins")}, {{}, QStringLiteral("un")}, QStringLiteral("viel"));
        db.addEntry({{}, QStringLiteral("zwei")}, {{}, QStringLiteral("deux")}, 2);
    }
    open(path);
    f2().Command4_Click();
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_EQ(msgs->shown[0].style, 16);
    EXPECT_TRUE(msgs->shown[0].prompt.startsWith(QStringLiteral("Es trat folgender Fehler auf: ")));
    // The first row failed half-way: it is not left behind with its ID only.
    EXPECT_EQ(grid()->Rows(), 1);
    EXPECT_FALSE(Forms::form1().ListeNichtLeer);
    auto* listButton = Forms::form1().findChild<QPushButton*>(QStringLiteral("Grid"));
    auto* trainerButton = Forms::form1().findChild<QPushButton*>(QStringLiteral("Command2"));
    ASSERT_TRUE(listButton && trainerButton);
    EXPECT_FALSE(listButton->isEnabled());
    EXPECT_FALSE(trainerButton->isEnabled());
    EXPECT_EQ(Forms::liste().windowTitle(), QStringLiteral("Vokabelliste"));
    EXPECT_TRUE(f2().Changes);
    EXPECT_EQ(f2().statusText(), QStringLiteral("0 Vokabeln ausgewählt"));
    EXPECT_EQ(Forms::trainer().seqCount(), 0) << "nothing to train";
    EXPECT_FALSE(Forms::progress().isVisible());
}

// A later row that fails goes too; the rows written whole stay and are counted.
TEST_F(ListBuild, RowThatFailsHalfWayIsNotLeftInTheList)
{
    const QString path = dir.filePath(QStringLiteral("mixed.lxt"));
    qint64 first = 0, second = 0;
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        first = db.addEntry({{}, QStringLiteral("eins")}, {{}, QStringLiteral("un")}, 2);
        second = db.addEntry({{}, QStringLiteral("zwei")}, {{}, QStringLiteral("deux")}, QStringLiteral("viel"));
    }
    open(path);
    f2().Command4_Click();
    ASSERT_EQ(msgs->shown.size(), 1);
    // The box names the file and the entry, so that the learner can mend it,
    // and says that the list ends there.
    for (const QString& named : {path, QString::number(second), QStringLiteral("\"viel\""),
                                 QStringLiteral("Die Liste enthält nur die Einträge davor.")})
        EXPECT_TRUE(msgs->shown[0].prompt.contains(named)) << msgs->shown[0].prompt.toStdString();
    ASSERT_EQ(grid()->Rows(), 2);
    EXPECT_EQ(grid()->TextMatrix(1, 1), QString::number(first));
    EXPECT_TRUE(Forms::form1().ListeNichtLeer);
    EXPECT_EQ(f2().statusText(), QStringLiteral("1 Vokabeln ausgewählt"));
    EXPECT_EQ(Forms::trainer().seqCount(), 1);
}

// A file of the older version, without "Zusatzinfo": its entries list that column empty.
TEST_F(ListBuild, FileWithoutAdditionalInformationListsItEmpty)
{
    const QString path = dir.filePath(QStringLiteral("older.lxt"));
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        db.addEntry({{}, QStringLiteral("eins")}, {{}, QStringLiteral("un")}, 2);
        db.exec(QStringLiteral("ALTER TABLE Vokabular DROP COLUMN Zusatzinfo"));
    }
    open(path);
    f2().Command4_Click();
    EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
    ASSERT_EQ(grid()->Rows(), 2);
    EXPECT_EQ(grid()->TextMatrix(1, Liste::txtDeutsch), QStringLiteral("un"));
    EXPECT_EQ(grid()->TextMatrix(1, Liste::txtZusatzinfo), QString());
}

TEST_F(ListBuild, CellTexts)
{
    const QString path = dir.filePath(QStringLiteral("cells.lxt"));
    const QString longMain = QString(150, QLatin1Char('m'));
    const QString wortart = QStringLiteral("  ") + QString(60, QLatin1Char('w'));
    qint64 full = 0, nulls = 0;
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        full = db.addEntryColumns({
            {QStringLiteral("Lang1_Prefix"), QStringLiteral("der")},
            {QStringLiteral("Lang1_Main"), QStringLiteral("Hund")},
            {QStringLiteral("Lang1_Kommentar"), QStringLiteral("m.")},
            {QStringLiteral("Lang2_Prefix"), QStringLiteral("  le ")},
            {QStringLiteral("Lang2_Main"), longMain},
            {QStringLiteral("Wortart"), wortart},
            {QStringLiteral("Beispielsatz"), QStringLiteral(" ") + QString(250, QLatin1Char('b'))},
            {QStringLiteral("Zusatzinfo"), QStringLiteral("  info  ")},
            {QStringLiteral("Quelle"), QString(60, QLatin1Char('q'))},
            {QStringLiteral("Eingabedatum"), QStringLiteral("20000716")},
            {QStringLiteral("Aenderungsdatum"), QStringLiteral("2000071")},
            {QStringLiteral("Score"), 3},
        });
        const qint64 essen = db.addArea(QStringLiteral("  Essen "));
        const qint64 reisen = db.addArea(QStringLiteral("Reisen"));
        db.linkArea(full, essen);
        db.linkArea(full, reisen);
        db.linkGramm(full, db.addGrammAttribute(QStringLiteral("m")));
        db.linkGramm(full, db.addGrammAttribute(QStringLiteral("sg")));
        db.linkFunkt(full, db.addFunktAttribute(QStringLiteral("Tier")));
        nulls = db.addEntryColumns({
            {QStringLiteral("Lang1_Main"), QStringLiteral("Haus")},
            {QStringLiteral("Lang2_Main"), QVariant()},
            {QStringLiteral("Zusatzinfo"), QVariant()},
            {QStringLiteral("Quelle"), QVariant()},
            {QStringLiteral("Eingabedatum"), QStringLiteral(" 20000716")},
            {QStringLiteral("Aenderungsdatum"), QVariant()},
            {QStringLiteral("Score"), QVariant()},
        });
        // An area without a text counts as the empty text.
        db.linkArea(nulls, db.addArea(QVariant()));
        db.linkArea(nulls, reisen);
    }
    open(path);
    f2().Command4_Click();
    ASSERT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
    ASSERT_EQ(grid()->Rows(), 3);
    const int rFull = grid()->TextMatrix(1, 1) == QString::number(full) ? 1 : 2;
    const int rNulls = 3 - rFull;
    ASSERT_EQ(grid()->TextMatrix(rNulls, 1), QString::number(nulls));

    struct Cell {
        int row, col;
        QString text;
    };
    const QList<Cell> cells = {
        {rFull, Liste::txtSpanisch, QStringLiteral("der Hund (m.)")},
        {rFull, Liste::txtDeutsch, QStringLiteral("le ") + QString(100, QLatin1Char('m'))},
        {rFull, Liste::txtSpanisch_Prefix, QStringLiteral("der")},
        {rFull, Liste::txtSpanisch_Suffix, QString()},
        {rFull, Liste::txtSpanisch_Kommentar, QStringLiteral("m.")},
        {rFull, Liste::txtDeutsch_Prefix, QStringLiteral("  le ")},
        {rFull, Liste::txtDeutsch_Main, QString(100, QLatin1Char('m'))},
        {rFull, Liste::txtWortart, QString(50, QLatin1Char('w'))},
        {rFull, Liste::txtBeispielsatz, QString(200, QLatin1Char('b'))},
        {rFull, Liste::txtZusatzinfo, QStringLiteral("info")},
        {rFull, Liste::txtQuelle, QString(50, QLatin1Char('q'))},
        {rFull, Liste::txtEingabedatum, QStringLiteral("16.07.00")},
        {rFull, Liste::txtEingabe_mod, QStringLiteral("20000716")},
        {rFull, Liste::txtAenderungsdatum, QStringLiteral("2000071")},
        {rFull, Liste::txtAenderung_mod, QStringLiteral("2000071")},
        {rFull, Liste::txtScore, QStringLiteral("3")},
        {rFull, Liste::txtBereich, QStringLiteral("Essen; Reisen")},
        {rFull, Liste::txtGrammatikalischeAttribute, QStringLiteral("m; sg;")},
        {rFull, Liste::txtFunktionaleAttribute, QStringLiteral("Tier;")},
        {rFull, 0, QString()},
        {rNulls, Liste::txtSpanisch, QStringLiteral("Haus")},
        {rNulls, Liste::txtDeutsch, QString()},
        {rNulls, Liste::txtDeutsch_Main, QString()},
        {rNulls, Liste::txtZusatzinfo, QString()},
        {rNulls, Liste::txtQuelle, QString()},
        {rNulls, Liste::txtEingabedatum, QStringLiteral(" 20000716")}, // nine characters: unchanged
        {rNulls, Liste::txtEingabe_mod, QStringLiteral("20000716")},
        {rNulls, Liste::txtAenderungsdatum, QString()},
        {rNulls, Liste::txtScore, QStringLiteral("6")},
        {rNulls, Liste::txtBereich, QStringLiteral("Reisen")},
        {rNulls, Liste::txtGrammatikalischeAttribute, QString()},
    };
    for (const Cell& c : cells)
        EXPECT_EQ(grid()->TextMatrix(c.row, c.col), c.text) << "row " << c.row << " col " << c.col;
}

TEST_F(ListBuild, CompletedBuildInEnglishSetsStateAndOkBuildsOnlyAfterChanges)
{
    gSprache = QStringLiteral("En");
    const QString path = dir.filePath(QStringLiteral("three.lxt"));
    {
        TestDatabase db(path);
        db.setLanguages(kLanguages).setDBVersion(2);
        const qint64 essen = db.addArea(QStringLiteral("Essen"));
        for (int i = 0; i < 3; ++i)
            db.linkArea(db.addEntry({{}, QStringLiteral("a%1").arg(i)}, {{}, QStringLiteral("b%1").arg(i)}, 1), essen);
        db.addEntry({{}, QStringLiteral("ohne")}, {{}, QStringLiteral("sans")}, 1);
    }
    open(path);
    f2().Command4_Click();
    EXPECT_EQ(f2().statusText(), QStringLiteral("4 entries selected"));
    EXPECT_TRUE(Forms::form1().ListeNichtLeer);
    EXPECT_EQ(grid()->Row(), 1);
    EXPECT_EQ(grid()->Col(), 1);
    EXPECT_FALSE(f2().Changes);
    EXPECT_EQ(Forms::liste().windowTitle(), QStringLiteral("Vocab List - 4 entries"));
    EXPECT_FALSE(Forms::progress().isVisible());
    EXPECT_TRUE(Forms::form1().findChild<QPushButton*>(QStringLiteral("Command2"))->isEnabled());

    // OK without changes only hides.
    f2().show();
    f2().Command1_Click();
    EXPECT_FALSE(f2().isVisible());
    EXPECT_EQ(grid()->Rows(), 5);

    // Moving an area is a change: OK builds the narrower list.
    selectAreas({QStringLiteral("Essen")});
    EXPECT_TRUE(f2().Changes);
    f2().Command1_Click();
    EXPECT_EQ(grid()->Rows(), 4);
    EXPECT_EQ(f2().statusText(), QStringLiteral("3 entries selected"));
}

TEST_F(ListBuild, ScreenshotsWithShippedDatabase)
{
    const QString path = TestFiles::copyShipped(QStringLiteral("Englisch.lxt"), dir);
    ASSERT_FALSE(path.isEmpty());
    open(path);
    selectAreas({QStringLiteral("Essen")});
    f2().show();
    QCoreApplication::processEvents();
    EXPECT_EQ(f2().lblLanguage->text(), Forms::form1().lang2LabelCaption());
    EXPECT_FALSE(f2().Image1->pixmap().isNull()) << "the flag of the language";
    EXPECT_TRUE(TestFiles::saveScreenshot(f2().grab().toImage(), QStringLiteral("selection_db.png")));
    f2().Command4_Click();
    ASSERT_GT(grid()->Rows(), 1);
    Forms::liste().show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(TestFiles::saveScreenshot(Forms::liste().grab().toImage(), QStringLiteral("list_db.png")));
}

} // namespace
