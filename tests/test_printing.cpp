// Printing the vocabulary list into a PDF file: the order question and the
// printer dialog end the job without output, the rows come in list order,
// the trainer's shuffled order or a fresh random order, pages break before
// the bottom, every page has its header, long texts are cut where they would
// collide or leave the page, and a printer failure leaves no document.
#include "common/Global.h"
#include "common/clsCursor.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/Printer.h"
#include "platform/SystemServices.h"
#include "selection/Form2.h"
#include "selection/Liste.h"
#include "support/ChildWait.h"
#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"
#include "trainer/Trainer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

// Readable QString values in failure messages.
void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

struct Word {
    int page;
    double x0, y0, x1, y1;
    QString text;
};

// Text and word boxes (in points) of a PDF, as pdftotext reads them.
QString runPdftotext(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    if (!ChildWait::finished(p, QStringLiteral("reading the printed PDF")) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfText(const QString& pdf)
{
    return runPdftotext({QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

QList<Word> pdfWords(const QString& pdf)
{
    const QString html = runPdftotext({QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                                       QStringLiteral("-")});
    QList<Word> words;
    int page = 0;
    static const QRegularExpression token(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        words << Word{page,
                      m.captured(1).toDouble(),
                      m.captured(2).toDouble(),
                      m.captured(3).toDouble(),
                      m.captured(4).toDouble(),
                      text};
    }
    return words;
}

const Word* findWord(const QList<Word>& words, const QString& text, int page = 0)
{
    for (const Word& w : words)
        if (w.text == text && (page == 0 || w.page == page))
            return &w;
    return nullptr;
}

// The entry words (left-column texts of the test lists) in printed order.
QStringList printedMatches(const QString& text, const QString& pattern)
{
    QStringList found;
    for (auto it = QRegularExpression(pattern).globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    return found;
}

class Printing : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedFakeMessages msgs;
    QString pdf;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        AppPaths::setAppPath(dir.path());
        pdf = dir.filePath(QStringLiteral("out.pdf"));
        Printer::setOutputFile(pdf);
        gErrText.clear();
    }

    void TearDown() override
    {
        // To look at the pages: LEXUVANT_PRINT_SAMPLES=<folder> keeps each test's PDF there.
        const QString keep = qEnvironmentVariable("LEXUVANT_PRINT_SAMPLES");
        if (!keep.isEmpty() && QFile::exists(pdf))
            QFile::copy(pdf, keep + QLatin1Char('/')
                                 + QLatin1String(::testing::UnitTest::GetInstance()->current_test_info()->name())
                                 + QStringLiteral(".pdf"));
        Forms::unloadAll();
        Printer::setOutputFile(QString());
        SystemServices::setRandomSource(nullptr);
        gSprache = QStringLiteral("De");
    }

    Trainer& trainer() { return Forms::trainer(); }
    MSFlexGrid& grid() { return *Forms::liste().MSFlexGrid1; }

    // A database of n entries "WortNNN" / "wordNNN" (with the given long
    // texts instead for the first ones), opened and listed whole.
    void openList(int n, const QList<QPair<QString, QString>>& firsts = {})
    {
        const QString path = AppPaths::appPath() + QStringLiteral("/Testsprache.lxt");
        {
            TestDatabase db(path);
            db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Englisch@")).setDBVersion(2);
            db.begin();
            for (int i = 0; i < n; ++i) {
                QString l1 = QStringLiteral("Wort%1").arg(i, 3, 10, QLatin1Char('0'));
                QString l2 = QStringLiteral("word%1").arg(i, 3, 10, QLatin1Char('0'));
                if (i < firsts.size())
                    std::tie(l1, l2) = std::pair(firsts[i].first, firsts[i].second);
                db.addEntry({{}, l1}, {{}, l2}, 3);
            }
            db.commit();
        }
        Forms::form1().Open_DB(QFileInfo(path).fileName());
        ASSERT_FALSE(Forms::form1().DBName.isEmpty()) << msgs->lastPrompt().toStdString();
        if (n > 0) {
            Forms::form2().Command4_Click();
            ASSERT_EQ(grid().Rows() - 1, n) << msgs->lastPrompt().toStdString();
        }
        msgs->clear();
    }

    void setOrder(bool sequential, bool shuffle, bool random)
    {
        trainer().OptSequentiell = sequential;
        trainer().OptShuffle = shuffle;
        trainer().OptRandom = random;
    }

    // Yes to the question, OK in the printer dialog, then the job.
    void printAccepted()
    {
        msgs->queueAnswer(MsgResult::Yes);
        msgs->queueDialog([](QDialog* dialog) {
            const QString keep = qEnvironmentVariable("LEXUVANT_PRINT_SAMPLES");
            if (!keep.isEmpty())
                dialog->grab().save(keep + QStringLiteral("/printer-dialog.png"));
            return int(QDialog::Accepted);
        });
        Forms::form1().Datei_Drucken_Click();
    }

    // Yes to the question; in the real printer dialog, shown, choose() sets
    // its controls before OK takes them over into the printer.
    void printChoosing(const std::function<void(QDialog*)>& choose)
    {
        msgs->queueAnswer(MsgResult::Yes);
        msgs->queueDialog([&](QDialog* dialog) {
            dialog->show();
            QCoreApplication::processEvents();
            choose(dialog);
            dialog->accept();
            return dialog->result();
        });
        Forms::form1().Datei_Drucken_Click();
    }

    // The page header of each printed sheet in order ("Seite2", ...).
    QStringList sheetHeaders()
    {
        QStringList headers;
        for (const Word& w : pdfWords(pdf))
            if (w.text.startsWith(QLatin1String("Seite")))
                headers << w.text;
        return headers;
    }

    QStringList listColumn(int col)
    {
        QStringList texts;
        for (int r = 1; r < grid().Rows(); ++r)
            texts << grid().TextMatrix(r, col);
        return texts;
    }

    // The printable area of the printer the job uses, in points.
    static QRectF printableArea()
    {
        Printer p;
        const QRectF paper = p.device().paperRect(QPrinter::Point);
        const QRectF page = p.device().pageRect(QPrinter::Point);
        return page.translated(paper.topLeft());
    }
};

TEST_F(Printing, QuestionTextsTitleAndNoEndsTheJob)
{
    const QString explanationDe = QStringLiteral(
        "Wenn Sie die Vokabeln in einer anderen Reihenfolge drucken wollen, ändern Sie die Reihenfolgenoption bzw. "
        "sortieren Sie die Vokabeln in der Vokabelliste.\r\rSollen die Vokabeln in der aktuell eingestellten "
        "Reihenfolge ausgedruckt werden?");
    const QString explanationEn =
        QStringLiteral("If you want to print out the vocabulary in a different order, change the order option or sort the "
                       "vocabulary in the Vocab List.\r\rShall the vocabulary be printed out in the current order?");
    struct Case {
        const char* language;
        bool seq, shuffle, random;
        QString order;
        QString rest;
        QString title;
    } cases[] = {
        {"De", true, false, false,
         QStringLiteral("Für den Vokabeltrainer ist die Option 'Sequentiell' eingestellt. Die Vokabeln werden in der "
                        "selben Reihenfolge wie in der Vokabelliste ausgedruckt."),
         explanationDe, QStringLiteral("Vokabelreihenfolge OK?")},
        {"De", false, true, false,
         QStringLiteral("Für den Vokabeltrainer ist die Option 'Mischen' eingestellt. Die Vokabeln werden vor dem "
                        "Ausdrucken gemischt."),
         explanationDe, QStringLiteral("Vokabelreihenfolge OK?")},
        {"De", false, false, true,
         QStringLiteral("Für den Vokabeltrainer ist die Option 'Random' eingestellt. Die Vokabeln werden vor dem "
                        "Ausdrucken gemischt."),
         explanationDe, QStringLiteral("Vokabelreihenfolge OK?")},
        {"De", false, false, false, QString(), explanationDe, QStringLiteral("Vokabelreihenfolge OK?")},
        {"En", true, false, false,
         QStringLiteral("For the Trainer the option 'sequential' is set. The vocabulary will be printed out in the "
                        "same order as currently in the Vocab List."),
         explanationEn, QStringLiteral("Order of vocabulary OK?")},
        {"En", false, true, false,
         QStringLiteral("For the Trainer the option 'Shuffle' is set. The vocabulary will be shuffled before printed "
                        "out."),
         explanationEn, QStringLiteral("Order of vocabulary OK?")},
        {"En", false, false, true,
         QStringLiteral("For the Trainer the option 'Random' is set. The vocabulary will be shuffled before printed "
                        "out."),
         explanationEn, QStringLiteral("Order of vocabulary OK?")},
    };
    openList(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.order.left(60).toStdString());
        gSprache = QLatin1String(c.language);
        setOrder(c.seq, c.shuffle, c.random);
        msgs->clear();
        msgs->queueAnswer(MsgResult::No);
        Forms::form1().Datei_Drucken_Click();
        ASSERT_EQ(msgs->shown.size(), 1);
        EXPECT_EQ(msgs->shown[0].prompt, c.order + c.rest);
        EXPECT_EQ(msgs->shown[0].title, c.title);
        EXPECT_EQ(msgs->shown[0].style, MsgStyle::YesNo) << "plain Yes/No box without icon";
        EXPECT_TRUE(msgs->dialogTitles.isEmpty()) << "No ends before the printer dialog";
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

// The real message box: the two carriage returns before the question show as
// a blank line, not run together with the sentences around them.
TEST_F(Printing, QuestionBoxShowsTheQuestionAfterABlankLine)
{
    openList(3);
    setOrder(true, false, false);
    const auto fake = MessageService::install(std::make_shared<QtMessageService>());
    QString shownText, labelText;
    int labelHeight = 0, lineHeight = 0;
    bool answered = false;
    std::function<void()> answer = [&] {
        QMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible())
                box = b;
        if (!box) {
            QTimer::singleShot(0, answer); // the box is not up yet
            return;
        }
        shownText = box->text();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            labelText = label->text();
            labelHeight = label->sizeHint().height();
            lineHeight = label->fontMetrics().lineSpacing();
        }
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QMessageBox::NoRole)
                b->click();
        answered = true;
    };
    QTimer::singleShot(0, answer);
    Forms::form1().Datei_Drucken_Click();
    MessageService::install(fake);
    ASSERT_TRUE(answered);
    EXPECT_FALSE(shownText.contains(QLatin1Char('\r')));
    EXPECT_TRUE(shownText.endsWith(QStringLiteral(
        "Vokabelliste.\n\nSollen die Vokabeln in der aktuell eingestellten Reihenfolge ausgedruckt werden?")))
        << shownText.toStdString();
    EXPECT_EQ(labelText, shownText);
    EXPECT_GE(labelHeight, 3 * lineHeight) << "at least the text, the blank line and the question";
    EXPECT_TRUE(msgs->dialogTitles.isEmpty()) << "No ends before the printer dialog";
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(Printing, CancelInThePrinterDialogEndsSilently)
{
    openList(3);
    for (bool shuffle : {false, true}) {
        setOrder(!shuffle, shuffle, false);
        msgs->clear();
        msgs->queueAnswer(MsgResult::Yes); // no dialog script: the fake cancels the dialog
        Forms::form1().Datei_Drucken_Click();
        EXPECT_EQ(msgs->dialogTitles.size(), 1) << "the printer dialog was shown";
        EXPECT_EQ(msgs->shown.size(), 1) << "only the question, no error box";
        EXPECT_TRUE(gErrText.isEmpty());
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

// An output file in a folder that does not exist: the learner is told that
// the folder is missing, naming it, and the printer dialog stays open (Qt's
// own check would call the file write-protected).
TEST_F(Printing, MissingFolderOfTheOutputFileIsNamedAndTheDialogStaysOpen)
{
    openList(3);
    setOrder(true, false, false);
    const QString missing = dir.filePath(QStringLiteral("no/such/folder"));
    QString qtWarning;
    bool stayedOpen = false;
    msgs->queueAnswer(MsgResult::Yes);
    msgs->queueDialog([&](QDialog* dialog) {
        dialog->show();
        QCoreApplication::processEvents();
        dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(missing + QStringLiteral("/out.pdf"));
        // Qt's own warning, should it come, is closed so that the test goes on.
        QTimer::singleShot(200, dialog, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                qtWarning = box->text();
                box->reject();
            }
        });
        dialog->findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly)->button(QDialogButtonBox::Ok)->click();
        stayedOpen = dialog->isVisible();
        dialog->reject();
        return dialog->result();
    });
    Forms::form1().Datei_Drucken_Click();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(qtWarning, QString());
    ASSERT_EQ(msgs->shown.size(), 2);
    EXPECT_EQ(msgs->shown[1].prompt,
              QStringLiteral("Den Ordner \"%1\" gibt es nicht.\nBitte wählen Sie einen anderen Ordner für die Datei.")
                  .arg(missing));
    EXPECT_FALSE(QFile::exists(pdf));
}

// The printer dialog of the next print job starts with the output file
// chosen last, not with the default file.
TEST_F(Printing, NextPrinterDialogStartsWithTheFileChosenLast)
{
    openList(3);
    setOrder(true, false, false);
    const QString chosen = dir.filePath(QStringLiteral("liste.pdf"));
    auto fileField = [](QDialog* dialog) { return dialog->findChild<QLineEdit*>(QStringLiteral("filename")); };
    printChoosing([&](QDialog* dialog) { fileField(dialog)->setText(chosen); });
    QString offered;
    printChoosing([&](QDialog* dialog) { offered = fileField(dialog)->text(); });
    EXPECT_EQ(offered, chosen);
}

TEST_F(Printing, SequentialPrintsListOrderUnderTheHeader)
{
    openList(12);
    // A list order that differs from the database order.
    Forms::liste().mnDeutsch_Click();
    grid().setRow(1);
    setOrder(true, false, false);
    const QStringList expected = listColumn(Liste::txtSpanisch);
    printAccepted();
    ASSERT_TRUE(QFile::exists(pdf)) << msgs->lastPrompt().toStdString();
    EXPECT_EQ(msgs->shown.size(), 1);

    const QString text = pdfText(pdf);
    EXPECT_EQ(printedMatches(text, QStringLiteral("Wort\\d{3}")), expected);
    EXPECT_EQ(printedMatches(text, QStringLiteral("word\\d{3}")), listColumn(Liste::txtDeutsch));
    EXPECT_EQ(grid().Row(), grid().Rows() - 1) << "the current cell stays on the last printed row";

    const QList<Word> words = pdfWords(pdf);
    const QRectF area = printableArea();
    const Word* page = findWord(words, QStringLiteral("Seite1"));
    const Word* path = findWord(words, Forms::form1().DBName);
    const Word* lang1 = findWord(words, QStringLiteral("Deutsch"));
    const Word* lang2 = findWord(words, QStringLiteral("Englisch"));
    ASSERT_TRUE(page && path && lang1 && lang2) << text.toStdString();
    EXPECT_NEAR((page->x0 + page->x1) / 2, area.center().x(), 2.0) << "page number centred";
    EXPECT_NEAR(path->x1, area.right() - 50.0, 2.0) << "path ends 1000 twips before the right edge";
    EXPECT_GT(path->y0, page->y0) << "path on the line below the page number";
    EXPECT_LT(lang1->x0, lang2->x0);
    EXPECT_NEAR(lang1->x0, area.left() + 5.0, 1.5) << "left column at one margin";
    EXPECT_NEAR(lang2->x0, area.center().x(), 1.5) << "right column from the middle";
    const Word* first = findWord(words, expected.first());
    ASSERT_TRUE(first);
    EXPECT_GT(first->y0, lang1->y1 + 5.0) << "an empty line after the language names";
}

TEST_F(Printing, LanguageTwoFirstSwapsColumnsAndHeaderNames)
{
    openList(4);
    setOrder(true, false, false);
    trainer().OptSpanisch1st = false;
    trainer().OptDeutsch1st = true;
    gSprache = QStringLiteral("En");
    printAccepted();
    const QList<Word> words = pdfWords(pdf);
    const Word* page = findWord(words, QStringLiteral("page1"));
    const Word* l1 = findWord(words, QStringLiteral("Deutsch"));
    const Word* l2 = findWord(words, QStringLiteral("Englisch"));
    const Word* w1 = findWord(words, QStringLiteral("Wort002"));
    const Word* w2 = findWord(words, QStringLiteral("word002"));
    ASSERT_TRUE(page && l1 && l2 && w1 && w2);
    EXPECT_LT(l2->x0, l1->x0) << "language 2 named on the left";
    EXPECT_LT(w2->x0, w1->x0) << "language 2 expressions on the left";
    EXPECT_DOUBLE_EQ(w1->y0, w2->y0) << "both columns on one line";
}

TEST_F(Printing, ShuffledPrintsTheTrainersNewOrder)
{
    openList(20);
    setOrder(false, true, false);
    // A full-period generator, so the trainer's redraws always find a free row.
    quint32 state = 12345;
    SystemServices::setRandomSource([&] {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777216.0f;
    });
    printAccepted();
    ASSERT_TRUE(QFile::exists(pdf)) << msgs->lastPrompt().toStdString();

    auto trainerOrder = [&] {
        QStringList order;
        for (int i = 1; i <= 20; ++i) {
            const int r = trainer().returnSequenz(i);
            if (r >= 1 && r <= 20)
                order << grid().TextMatrix(r, Liste::txtSpanisch);
        }
        return order;
    };
    const QStringList expected = trainerOrder();
    ASSERT_EQ(expected.size(), 20) << "the print-out drew a shuffle in the trainer";
    const QStringList printed = printedMatches(pdfText(pdf), QStringLiteral("Wort\\d{3}"));
    EXPECT_EQ(printed, expected);
    QStringList sorted = printed;
    sorted.sort();
    EXPECT_EQ(sorted, listColumn(Liste::txtSpanisch)) << "each entry once";

    // Each print-out draws its own order.
    QFile::remove(pdf);
    printAccepted();
    const QStringList second = printedMatches(pdfText(pdf), QStringLiteral("Wort\\d{3}"));
    EXPECT_EQ(second, trainerOrder());
    EXPECT_NE(second, printed);
}

TEST_F(Printing, RandomPrintsEveryEntryOnceInAFreshOrder)
{
    openList(15);
    setOrder(false, false, true);
    int reseeds = 0;
    SystemServices::setRandomSource([] { return 0.0f; }, [&] { ++reseeds; });
    printAccepted();
    const QStringList printed = printedMatches(pdfText(pdf), QStringLiteral("Wort\\d{3}"));
    const QStringList listOrder = listColumn(Liste::txtSpanisch);
    EXPECT_NE(printed, listOrder) << "shuffled, as the question said";
    QStringList sorted = printed;
    sorted.sort();
    EXPECT_EQ(sorted, listOrder) << "each entry once";
    EXPECT_GE(reseeds, 1);
}

// The busy cursor is over the main window and the list while the print runs
// (seen from inside it, where the random order is drawn), and gone afterwards.
TEST_F(Printing, BusyCursorWhileThePrintRuns)
{
    openList(5);
    setOrder(false, false, true);
    QList<int> during;
    SystemServices::setRandomSource([&] {
        during << clsCursor::mousePointer(&Forms::form1()) << clsCursor::mousePointer(&Forms::liste());
        return 0.0f;
    });
    printAccepted();
    ASSERT_FALSE(during.isEmpty());
    EXPECT_EQ(during, QList<int>(during.size(), 11));
    EXPECT_EQ(clsCursor::mousePointer(&Forms::form1()), 0);
    EXPECT_EQ(clsCursor::mousePointer(&Forms::liste()), 0);
}

TEST_F(Printing, ManyEntriesBreakPagesEachWithItsHeader)
{
    const int n = 130;
    openList(n);
    setOrder(true, false, false);
    printAccepted();
    const QList<Word> words = pdfWords(pdf);
    const int pages = words.isEmpty() ? 0 : words.last().page;
    ASSERT_GE(pages, 3);
    const QRectF area = printableArea();
    QSet<QString> seen;
    for (int pg = 1; pg <= pages; ++pg) {
        SCOPED_TRACE(pg);
        EXPECT_TRUE(findWord(words, QStringLiteral("Seite%1").arg(pg), pg));
        EXPECT_TRUE(findWord(words, QStringLiteral("Deutsch"), pg));
        EXPECT_TRUE(findWord(words, QStringLiteral("Englisch"), pg));
        for (const Word& w : words) {
            if (w.page != pg || !w.text.startsWith(QLatin1String("Wort")))
                continue;
            EXPECT_LT(w.y1, area.bottom()) << "nothing below the printable area";
            EXPECT_FALSE(seen.contains(w.text));
            seen.insert(w.text);
        }
    }
    EXPECT_EQ(seen.size(), n);
    EXPECT_EQ(printedMatches(pdfText(pdf), QStringLiteral("Wort\\d{3}")), listColumn(Liste::txtSpanisch));
}

TEST_F(Printing, LongTextsAreCutWhereTheyWouldCollideOrLeaveThePage)
{
    const QString longLeft = QStringLiteral("Links") + QString(120, QLatin1Char('m'));
    const QString longRight = QStringLiteral("Rechts") + QString(120, QLatin1Char('w'));
    openList(3, {{longLeft, longRight}, {QStringLiteral("kurz"), QStringLiteral("short")}});
    setOrder(true, false, false);
    const QString listed = grid().TextMatrix(1, Liste::txtSpanisch);
    printAccepted();
    const QList<Word> words = pdfWords(pdf);
    const QRectF area = printableArea();
    const Word* left = nullptr;
    const Word* right = nullptr;
    for (const Word& w : words) {
        if (w.text.startsWith(QLatin1String("Linksmmm")))
            left = &w;
        if (w.text.startsWith(QLatin1String("Rechtswww")))
            right = &w;
    }
    ASSERT_TRUE(left && right);
    EXPECT_TRUE(left->text.endsWith(QLatin1String("m...")));
    EXPECT_LT(left->text.size(), listed.size());
    EXPECT_LE(left->x1, right->x0) << "the cut left text stops before the right column";
    EXPECT_TRUE(right->text.endsWith(QLatin1String("w...")));
    EXPECT_LE(right->x1, area.right() + 0.5) << "the right text stays on the page";
    EXPECT_TRUE(findWord(words, QStringLiteral("kurz")) && findWord(words, QStringLiteral("short")))
        << "short texts are not cut";
    EXPECT_EQ(grid().TextMatrix(1, Liste::txtSpanisch), listed) << "only the printed copy is cut";
}

TEST_F(Printing, PathTooLongForThePageStartsAtItsLeftEdge)
{
    const QString deep = dir.filePath(QString(200, QLatin1Char('d')));
    ASSERT_TRUE(QDir().mkpath(deep));
    AppPaths::setAppPath(deep);
    openList(2);
    setOrder(true, false, false);
    printAccepted();
    const QList<Word> words = pdfWords(pdf);
    const Word* path = nullptr;
    for (const Word& w : words)
        if (w.text.contains(QLatin1String("dddd")))
            path = &w;
    ASSERT_TRUE(path);
    EXPECT_NEAR(path->x0, printableArea().left(), 1.0);
}

TEST_F(Printing, EmptyListPrintsTheHeaderPageOnly)
{
    openList(0);
    ASSERT_EQ(Forms::liste().entryCount(), 0);
    setOrder(true, false, false);
    printAccepted();
    const QList<Word> words = pdfWords(pdf);
    ASSERT_FALSE(words.isEmpty());
    EXPECT_EQ(words.last().page, 1);
    EXPECT_TRUE(findWord(words, QStringLiteral("Seite1")));
    EXPECT_TRUE(findWord(words, QStringLiteral("Englisch")));
}

// The pages, their order and the copies chosen in the printer dialog are
// what comes out; the page numbers stay those of the whole list.
TEST_F(Printing, PagesOrderAndCopiesOfTheDialogAreHonoured)
{
    openList(130); // four pages
    setOrder(true, false, false);
    // Pages after the end of the list: nothing printed, and the learner is told.
    printChoosing([](QDialog* dialog) {
        dialog->findChild<QRadioButton*>(QStringLiteral("printRange"))->setChecked(true);
        dialog->findChild<QSpinBox*>(QStringLiteral("to"))->setValue(6);
        dialog->findChild<QSpinBox*>(QStringLiteral("from"))->setValue(5);
    });
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_EQ(msgs->shown.size(), 2);
    EXPECT_EQ(msgs->shown[1].prompt, QStringLiteral("Die gewählten Seiten (5-6) gibt es nicht: der Ausdruck hat 4 "
                                                    "Seiten. Es wurde nichts gedruckt."));

    struct Case {
        const char* name;
        int from, to, copies;
        bool collate, reverse;
        QStringList sheets;
    };
    const QList<Case> cases = {
        {"all", 0, 0, 1, true, false, {"Seite1", "Seite2", "Seite3", "Seite4"}},
        {"pages 2 to 3", 2, 3, 1, true, false, {"Seite2", "Seite3"}},
        {"page 1 only", 1, 1, 1, true, false, {"Seite1"}},
        {"reversed", 2, 4, 1, true, true, {"Seite4", "Seite3", "Seite2"}},
        {"two copies, not collated", 1, 2, 2, false, false, {"Seite1", "Seite1", "Seite2", "Seite2"}},
        {"two collated copies", 2, 3, 2, true, false, {"Seite2", "Seite3", "Seite2", "Seite3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(pdf);
        msgs->clear();
        printChoosing([&](QDialog* dialog) {
            if (c.from > 0) {
                dialog->findChild<QRadioButton*>(QStringLiteral("printRange"))->setChecked(true);
                dialog->findChild<QSpinBox*>(QStringLiteral("to"))->setValue(c.to);
                dialog->findChild<QSpinBox*>(QStringLiteral("from"))->setValue(c.from);
            }
            dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(c.copies);
            dialog->findChild<QCheckBox*>(QStringLiteral("collate"))->setChecked(c.collate);
            dialog->findChild<QCheckBox*>(QStringLiteral("reverse"))->setChecked(c.reverse);
        });
        EXPECT_EQ(msgs->shown.size(), 1) << msgs->lastPrompt().toStdString();
        EXPECT_EQ(sheetHeaders(), c.sheets);
    }
}

// The error box names the file and why it could not be written, in German.
TEST_F(Printing, PrinterFailureIsReportedAndLeavesNoDocument)
{
    openList(3);
    setOrder(true, false, false);
    const QString folder = dir.filePath(QStringLiteral("no/such/folder"));
    const QString taken = dir.filePath(QStringLiteral("taken.pdf"));
    ASSERT_TRUE(QDir().mkpath(taken));
    const QList<QPair<QString, QString>> cases = {
        {folder + QStringLiteral("/out.pdf"), QStringLiteral("den Ordner \"%1\" gibt es nicht").arg(folder)},
        {taken, QStringLiteral("es gibt einen Ordner dieses Namens")},
    };
    for (const auto& [file, reason] : cases) {
        SCOPED_TRACE(file.toStdString());
        msgs->clear();
        Printer::setOutputFile(file);
        printAccepted();
        ASSERT_EQ(msgs->shown.size(), 2);
        EXPECT_EQ(msgs->shown[1].style & 0xF0, MsgStyle::Critical);
        EXPECT_EQ(msgs->shown[1].prompt, QStringLiteral("Es trat folgender Fehler auf: \rDer Ausdruck in die Datei \"%1\" ist "
                                                        "fehlgeschlagen: %2.")
                                             .arg(file, reason));
        EXPECT_FALSE(QFileInfo(file).isFile());
    }
}

} // namespace
