// The find dialog on the list grid: the first row in the current sort order
// whose expression starts with the typed text (case ignored), the "not found"
// label, the language switch, long lists, and closing by key.
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/MSFlexGrid.h"
#include "selection/Liste.h"
#include "selection/frmSuchen.h"
#include "platform/AppPaths.h"
#include "selection/Form2.h"
#include "support/ChildWait.h"
#include "support/FakeMessageService.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Find : public ::testing::Test {
protected:
    ScopedFakeMessages msgs;
    void TearDown() override
    {
        Forms::unloadAll();
        gSprache = QStringLiteral("De");
    }
    MSFlexGrid* grid() { return Forms::liste().MSFlexGrid1; }

    // One row per pair (language 1, language 2); the ID is the row's number.
    void fill(const QList<QPair<QString, QString>>& rows)
    {
        MSFlexGrid* g = grid();
        g->setRows(1 + int(rows.size()));
        for (int i = 0; i < rows.size(); ++i) {
            g->setRowHeight(i + 1, 240);
            g->setTextMatrix(i + 1, 1, QString::number(i + 1));
            g->setTextMatrix(i + 1, Liste::txtSpanisch, rows[i].first);
            g->setTextMatrix(i + 1, Liste::txtDeutsch, rows[i].second);
        }
        Forms::form1().ListeNichtLeer = true;
    }
    bool notFoundShown(const frmSuchen& d) const { return !d.lblNicht->isHidden(); }
    QString currentCell() { return grid()->TextMatrix(grid()->Row(), grid()->Col()); }
};

const QList<QPair<QString, QString>> kWords = {
    {QStringLiteral("Haus"), QStringLiteral("maison")},    {QStringLiteral("hau"), QStringLiteral("frapper")},
    {QStringLiteral(" Hauch"), QStringLiteral("souffle")}, {QStringLiteral("HAUPT"), QStringLiteral("tête")},
    {QStringLiteral("Apfel"), QStringLiteral("pomme")},    {QStringLiteral("über"), QStringLiteral("sur")},
};

TEST_F(Find, OpeningSortsByLanguageOne)
{
    fill(kWords);
    frmSuchen d;
    EXPECT_EQ(d.mode, QStringLiteral("Liste"));
    EXPECT_TRUE(d.Option1->isChecked());
    EXPECT_EQ(grid()->Col(), Liste::txtSpanisch);
    QStringList col;
    for (int r = 1; r < grid()->Rows(); ++r)
        col << grid()->TextMatrix(r, Liste::txtSpanisch);
    EXPECT_EQ(col, QStringList({QStringLiteral(" Hauch"), QStringLiteral("Apfel"), QStringLiteral("hau"),
                                QStringLiteral("HAUPT"), QStringLiteral("Haus"), QStringLiteral("über")}));
}

TEST_F(Find, IncrementalSearchIgnoresCase)
{
    fill(kWords + QList<QPair<QString, QString>>{{QStringLiteral("Straße"), QStringLiteral("rue")}});
    frmSuchen d;
    struct Case {
        QString typed;
        QString found; // empty: not found
    };
    const QList<Case> cases = {
        {QStringLiteral("h"), QStringLiteral("hau")},
        {QStringLiteral("hau"), QStringLiteral("hau")},   // equal cell
        {QStringLiteral("haus"), QStringLiteral("Haus")}, // shorter "hau" skipped
        {QStringLiteral("HAUP"), QStringLiteral("HAUPT")},
        {QStringLiteral("Ü"), QStringLiteral("über")},        // the locale maps umlauts too
        {QStringLiteral("strass"), QStringLiteral("Straße")}, // "ß" upper-cases to "SS"
        {QStringLiteral("STRAßE"), QStringLiteral("Straße")},
        {QStringLiteral("strasse"), QStringLiteral("Straße")}, // longer than the cell, not upper-cased
        {QStringLiteral("strat"), QString()},
        {QStringLiteral("hauc"), QString()},    // " Hauch" has a blank first
        {QStringLiteral("haustür"), QString()}, // longer than every cell
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const int before = grid()->Row();
        d.txtAusdruck->setText(c.typed);
        if (c.found.isEmpty()) {
            EXPECT_TRUE(notFoundShown(d));
            EXPECT_EQ(grid()->Row(), before) << "the current row stays";
        } else {
            EXPECT_FALSE(notFoundShown(d));
            EXPECT_EQ(currentCell(), c.found);
            EXPECT_EQ(Forms::liste().previousRow, grid()->Row()) << "the found row carries the marker";
        }
        EXPECT_EQ(grid()->Col(), Liste::txtSpanisch);
    }
}

// In a Greek or Lithuanian locale upper-casing drops combining accents and
// makes a text shorter; the match must not move to a later row for that. The
// system locale is read at start, so each locale runs in a child of its own.
TEST_F(Find, LocalesWhoseUpperCasingShortensTheText)
{
    for (const char* locale : {"el_GR.UTF-8", "lt_LT.UTF-8"}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=Find.DISABLED_InTheSystemLocale"),
                     QStringLiteral("--gtest_also_run_disabled_tests")});
        if (!ChildWait::finished(child, QStringLiteral("the find in locale ") + QLatin1String(locale)))
            return;
        const QString output = QString::fromUtf8(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << locale << "\n" << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << locale << "\n" << output.toStdString();
    }
}

// The child of the test above.
TEST_F(Find, DISABLED_InTheSystemLocale)
{
    const auto nfd = [](const char* text) { return QString::fromUtf8(text).normalized(QString::NormalizationForm_D); };
    struct Case {
        QString typed, found;
    };
    QList<Case> cases;
    const QLocale::Language language = QLocale::system().language();
    if (language == QLocale::Greek) {
        // "ά" decomposed is alpha and an accent; upper-cased it is one letter.
        // An eta with an accent keeps it upper-cased only as a word of its own:
        // typed alone it is still the start of a word.
        fill({{QStringLiteral("αλ"), QStringLiteral("1")},
              {nfd("άλφα βήτα"), QStringLiteral("2")},
              {QStringLiteral("αλφάβητο"), QStringLiteral("3")},
              {QStringLiteral("ήλιος"), QStringLiteral("4")},
              {QStringLiteral("ηχώ"), QStringLiteral("5")}});
        cases = {{nfd("άλ"), QStringLiteral("αλ")},
                 {QStringLiteral("αλφ"), nfd("άλφα βήτα")},
                 {QStringLiteral("ΑΛΦΑ Β"), nfd("άλφα βήτα")},
                 {QStringLiteral("ΑΛΦΑΒ"), QStringLiteral("αλφάβητο")},
                 {QStringLiteral("ή"), QStringLiteral("ήλιος")},
                 {QStringLiteral("αλφαγ"), QString()}};
    } else if (language == QLocale::Lithuanian) {
        // A dot above after "i" goes when it is upper-cased.
        fill({{QStringLiteral("i\u0307s"), QStringLiteral("1")}, {QStringLiteral("isla"), QStringLiteral("2")}});
        cases = {{QStringLiteral("is"), QStringLiteral("i\u0307s")}, {QStringLiteral("isl"), QStringLiteral("isla")}};
    } else {
        FAIL() << "started in " << QLocale::system().name().toStdString();
    }
    frmSuchen d;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        d.txtAusdruck->setText(c.typed);
        EXPECT_EQ(notFoundShown(d), c.found.isEmpty());
        if (!c.found.isEmpty()) {
            EXPECT_EQ(currentCell(), c.found);
        }
    }
}

TEST_F(Find, EmptyTextShowsTheLastFoundRowAtTheTop)
{
    fill(kWords);
    frmSuchen d;
    d.txtAusdruck->setText(QStringLiteral("ap"));
    const int found = grid()->Row();
    ASSERT_EQ(currentCell(), QStringLiteral("Apfel"));
    d.txtAusdruck->setText(QStringLiteral("apx"));
    ASSERT_TRUE(notFoundShown(d));
    d.txtAusdruck->clear();
    EXPECT_FALSE(notFoundShown(d));
    EXPECT_EQ(grid()->Row(), found);
    EXPECT_EQ(Forms::liste().previousRow, found);
}

TEST_F(Find, LanguageSwitchResortsAndClears)
{
    QTemporaryDir pictures;
    QPixmap marker(8, 8);
    marker.fill(Qt::blue);
    ASSERT_TRUE(marker.save(pictures.filePath(QStringLiteral("marke.png"))));
    Forms::form1().Marke_bmp = pictures.filePath(QStringLiteral("marke.png"));
    fill(kWords);
    frmSuchen d;
    d.txtAusdruck->setText(QStringLiteral("zzz"));
    ASSERT_TRUE(notFoundShown(d));
    d.Option2->setChecked(true);
    EXPECT_EQ(grid()->Col(), Liste::txtDeutsch);
    EXPECT_TRUE(d.txtAusdruck->text().isEmpty());
    EXPECT_FALSE(notFoundShown(d));
    EXPECT_EQ(grid()->TextMatrix(1, Liste::txtDeutsch), QStringLiteral("frapper"));

    d.txtAusdruck->setText(QStringLiteral("S"));
    EXPECT_EQ(currentCell(), QStringLiteral("souffle"));
    d.txtAusdruck->setText(QStringLiteral("Hau"));
    EXPECT_TRUE(notFoundShown(d)) << "language 1 is no longer searched";

    // With the box already empty the switch still runs the empty search:
    // the first row of the new order is marked.
    d.txtAusdruck->clear();
    grid()->setRow(4);
    Forms::liste().SetzeMarke();
    d.Option1->setChecked(true);
    EXPECT_EQ(grid()->Col(), Liste::txtSpanisch);
    EXPECT_EQ(grid()->Row(), 1);
    EXPECT_EQ(Forms::liste().previousRow, 1);
    grid()->setCol(0);
    EXPECT_FALSE(grid()->CellPicture().isNull()) << "row 1 carries the marker";
    grid()->setRow(4);
    EXPECT_TRUE(grid()->CellPicture().isNull());
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(Find, ListLongerThanSixteenBitRows)
{
    QList<QPair<QString, QString>> rows;
    for (int i = 0; i < 40000; ++i)
        rows.append({QStringLiteral("w%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("x")});
    rows.append({QStringLiteral("zebra"), QStringLiteral("zèbre")});
    fill(rows);
    Forms::liste().show();
    QCoreApplication::processEvents();
    frmSuchen d;
    d.txtAusdruck->setText(QStringLiteral("ZEB"));
    EXPECT_FALSE(notFoundShown(d));
    EXPECT_EQ(grid()->Row(), 40001);
    EXPECT_GT(grid()->TopRow(), 30000) << "scrolled to the found row";
    EXPECT_EQ(currentCell(), QStringLiteral("zebra"));
}

TEST_F(Find, EnterAndEscapeClose)
{
    fill(kWords);
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        bool closed = false;
        msgs->queueDialog([&](QDialog* dlg) {
            auto* d = qobject_cast<frmSuchen*>(dlg);
            EXPECT_TRUE(d);
            dlg->show();
            EXPECT_EQ(d->Option1->text(), Forms::form1().clsdb.lang1);
            QTest::keyClick(d->txtAusdruck, key);
            closed = !dlg->isVisible();
            return dlg->result();
        });
        showFindDialogForList();
        EXPECT_TRUE(closed) << int(key);
    }
}

TEST_F(Find, EnglishTextsAndScreenshot)
{
    gSprache = QStringLiteral("En");
    fill(kWords);
    frmSuchen d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Search Expression"));
    EXPECT_EQ(d.lblNicht->text(), QStringLiteral("Not found"));
    EXPECT_EQ(d.Command1->text(), QStringLiteral("Close"));
    d.txtAusdruck->setText(QStringLiteral("qqq"));
    d.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(TestFiles::saveScreenshot(d.grab().toImage(), QStringLiteral("find.png")));
    Forms::liste().show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(TestFiles::saveScreenshot(Forms::liste().grab().toImage(), QStringLiteral("find_list.png")));
}

// The dialog over a list built from a shipped database: the two languages
// are named, and every control lies inside the dialog in both languages.
TEST_F(Find, OverAListFromAShippedDatabase)
{
    for (const char* sprache : {"De", "En"}) {
        SCOPED_TRACE(sprache);
        gSprache = QString::fromLatin1(sprache);
        QTemporaryDir dir;
        AppPaths::setAppPath(dir.path());
        const QString path = TestFiles::copyShipped(QStringLiteral("Englisch.lxt"), dir);
        ASSERT_FALSE(path.isEmpty());
        Form1& f1 = Forms::form1();
        f1.Marke_bmp = AppPaths::picturePath(QStringLiteral("marke.png")); // as start-up sets it
        f1.Open_DB(QFileInfo(path).fileName());
        ASSERT_FALSE(f1.DBName.isEmpty());
        Forms::form2().Command4_Click();
        ASSERT_GT(grid()->Rows(), 2);
        Liste& liste = Forms::liste();
        liste.show();
        QCoreApplication::processEvents();
        msgs->clear();

        frmSuchen d;
        d.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(d.Option1->text(), f1.lang1);
        EXPECT_EQ(d.Option2->text(), f1.lang2);
        EXPECT_FALSE(d.Option1->text().isEmpty());
        // German: a row found and marked; English: the "not found" label.
        const bool german = gSprache == QLatin1String("De");
        d.txtAusdruck->setText(german ? QStringLiteral("der a") : QStringLiteral("qqqq"));
        EXPECT_EQ(notFoundShown(d), !german);
        if (german) {
            EXPECT_TRUE(currentCell().startsWith(QStringLiteral("der A")));
        }
        for (QWidget* w : d.findChildren<QWidget*>()) {
            if (w->parentWidget() != &d || w->isHidden())
                continue;
            EXPECT_TRUE(d.rect().contains(w->geometry())) << w->objectName().toStdString();
        }
        // The texts fit: the language names beside their buttons, the labels.
        for (QAbstractButton* b : {static_cast<QAbstractButton*>(d.Option1), static_cast<QAbstractButton*>(d.Option2)})
            EXPECT_LE(b->sizeHint().width(), b->width()) << b->text().toStdString();
        EXPECT_LT(d.Command1->fontMetrics().horizontalAdvance(d.Command1->text()), d.Command1->width());
        EXPECT_LE(d.lblNicht->sizeHint().width(), d.lblNicht->width());

        // The list with the dialog drawn where it stands on the screen.
        QImage shot = liste.grab().toImage();
        QPainter p(&shot);
        p.drawImage(d.geometry().topLeft() - liste.geometry().topLeft(), d.grab().toImage());
        p.end();
        EXPECT_TRUE(TestFiles::saveScreenshot(shot, QStringLiteral("find_db_%1.png").arg(gSprache)));
        EXPECT_TRUE(msgs->shown.isEmpty()) << msgs->lastPrompt().toStdString();
        d.close();
        Forms::unloadAll();
        AppPaths::setAppPath(QString());
    }
}

} // namespace
