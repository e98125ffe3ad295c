// Windows on a real X display with a window manager (run by run_with_wm.sh):
// pictures of the screen taken from inside the work must show the progress
// bar painted and moving and its caption whole in the title bar; the
// trainer's question shows its caption whole and cannot be left minimised.
#include "../MainWindowFixture.h"
#include "mainwindow/Progress.h"
#include "largedb/LargeDbGenerator.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/WindowPlacement.h"
#include "selection/Liste.h"
#include "selection/Form2.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/Trainer.h"

#include <QAction>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QProgressBar>
#include <QRandomGenerator>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

namespace {

struct Shot {
    QImage screen;
    QRect bar;     // the bar, in screen coordinates
    QRect title;   // the title bar above the client area
    double share;  // how far the bar should be
};

QImage grabScreen() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

QRect titleBand(QWidget& w)
{
    const QRect frame = w.windowHandle()->frameGeometry();
    const QRect client = w.windowHandle()->geometry();
    return QRect(frame.left(), frame.top(), frame.width(), client.top() - frame.top());
}

// Share of the bar's middle line in the chunk's colour (blue over red).
double chunkShare(const Shot& s)
{
    const int y = s.bar.center().y();
    int blue = 0;
    for (int x = s.bar.left() + 2; x <= s.bar.right() - 2; ++x) {
        const QColor c = s.screen.pixelColor(x, y);
        blue += c.blue() - c.red() > 60;
    }
    return double(blue) / (s.bar.width() - 4);
}

// The columns of the title bar with text or pictures on them: pixels that
// differ clearly from the bar's own colour, as one mask per column.
QList<bool> inkColumns(const QImage& screen, const QRect& band)
{
    const QColor ground = screen.pixelColor(band.left() + band.width() / 2, band.top() + 1);
    QList<bool> ink(band.width(), false);
    for (int x = 0; x < band.width(); ++x)
        for (int y = band.top() + 2; y < band.bottom() - 1; ++y) {
            const QColor c = screen.pixelColor(band.left() + x, y);
            if (std::abs(c.red() - ground.red()) + std::abs(c.green() - ground.green()) + std::abs(c.blue() - ground.blue()) > 150) {
                ink[x] = true;
                break;
            }
        }
    return ink;
}

// Column runs of ink, gaps below 12 pixels joined: the caption is one run,
// the window's buttons lie apart.
QList<QPair<int, int>> inkRuns(const QList<bool>& ink)
{
    QList<QPair<int, int>> runs;
    for (int x = 0; x < ink.size(); ++x) {
        if (!ink[x])
            continue;
        if (!runs.isEmpty() && x - runs.last().second < 12)
            runs.last().second = x;
        else
            runs.append({x, x});
    }
    return runs;
}

void save(const QImage& image, const QString& name)
{
    const QString out = qEnvironmentVariable("LEXUVANT_SCREENSHOTS");
    if (!out.isEmpty())
        image.save(out + QLatin1Char('/') + name);
}

class OnScreenTest : public MainWindowTest {
protected:
    std::vector<Shot> shots;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        QString error;
        ASSERT_TRUE(LargeDb::generate(inApp(QStringLiteral("large.lxt")), 3000, &error)) << qPrintable(error);
        Forms::form1().Open_DB(QStringLiteral("large.lxt"));
        ASSERT_FALSE(Forms::form1().DBName.isEmpty());
        Forms::form2().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Forms::form2()));
    }

    // At half and at nine tenths of the 3000 entries the screen is grabbed,
    // inside the work (which the tests slow down to about a second).
    void step(int done)
    {
        Progress& p = Forms::progress();
        if (!p.isVisible() || shots.size() >= 2 || done < (shots.empty() ? 1500 : 2700))
            return;
        const QRect bar(p.ProgressBar1->mapToGlobal(QPoint(0, 0)), p.ProgressBar1->size());
        shots.push_back({grabScreen(), bar, titleBand(p), done / 3000.0});
    }

    // The caption's ink in the title bar: its widest run of columns.
    static QList<bool> captionInk(const QImage& screen, const QRect& band)
    {
        const QList<bool> ink = inkColumns(screen, band);
        QPair<int, int> widest{0, -1};
        for (const auto& r : inkRuns(ink))
            if (r.second - r.first > widest.second - widest.first)
                widest = r;
        return ink.mid(widest.first, widest.second - widest.first + 1);
    }

    // The caption as a wide window of the same kind shows it, for comparison.
    QList<bool> wholeCaption(const QString& caption)
    {
        Progress wide;
        wide.setWindowTitle(caption);
        wide.setFixedSize(900, wide.height());
        wide.move(40, 40);
        wide.show();
        wide.activateWindow();
        const QImage screen = settledCaption(wide);
        save(screen, QStringLiteral("progress-reference.png"));
        return captionInk(screen, titleBand(wide));
    }

    // A picture of the screen once the window manager has framed the window
    // and its title bar shows the same caption in two pictures in a row.
    static QImage settledCaption(QWidget& w)
    {
        QImage screen;
        QList<bool> last;
        QTest::qWaitFor(
            [&] {
                if (!w.windowHandle()->isExposed() || !frameKnown(w) || !w.isActiveWindow())
                    return false;
                screen = grabScreen();
                const QList<bool> ink = captionInk(screen, titleBand(w));
                const bool same = ink.size() > 20 && ink == last;
                last = ink;
                return same;
            },
            5000);
        return screen;
    }

    // The same caption: as wide (to two columns) and with ink in nearly all
    // the same columns. Under load the window manager's drawing of a title
    // differs now and then in single columns; a cut caption is far narrower.
    static bool sameCaption(const QList<bool>& shown, const QList<bool>& whole)
    {
        if (whole.size() < 20 || std::abs(shown.size() - whole.size()) > 2)
            return false;
        int same = 0;
        for (int x = 0; x < std::min(shown.size(), whole.size()); ++x)
            same += shown[x] == whole[x];
        return same >= whole.size() * 9 / 10;
    }

    static bool frameKnown(QWidget& w) { return w.windowHandle() && w.windowHandle()->frameMargins().top() > 0; }

    void checkShots(const QString& caption, const QString& name)
    {
        ASSERT_EQ(shots.size(), 2u);
        const double first = chunkShare(shots[0]);
        const double second = chunkShare(shots[1]);
        save(shots[0].screen, name + QStringLiteral("-1.png"));
        save(shots[1].screen, name + QStringLiteral("-2.png"));
        // Painted a short while ago (about 30 repaints a second): somewhat
        // behind, never ahead of the work.
        EXPECT_GT(first, 0.3);
        EXPECT_LE(first, shots[0].share + 0.02);
        EXPECT_GT(second, first + 0.2);
        EXPECT_LE(second, shots[1].share + 0.02);

        const QList<bool> expected = wholeCaption(caption);
        EXPECT_GT(expected.size(), 50);
        for (const Shot& s : shots)
            EXPECT_EQ(captionInk(s.screen, s.title), expected) << "caption cut or missing in the title bar";
    }

    // Waits until the window manager has shown or hidden the window.
    static bool waitExposed(QWidget& w, bool exposed)
    {
        return QTest::qWaitFor([&] { return w.windowHandle() && w.windowHandle()->isExposed() == exposed; }, 3000);
    }

    // Minimises the window as the window manager's button or a panel does:
    // a request from another client, carried out by the window manager.
    // Returns once the program knows it is minimised.
    static bool minimiseByWindowManager(QWidget& w)
    {
        return xdotool({QStringLiteral("windowminimize"), QStringLiteral("--sync"), QString::number(w.winId())})
               && QTest::qWaitFor([&] { return w.isMinimized(); }, 5000);
    }

    // Input and requests from outside the program, as the learner and the
    // window manager give them.
    static bool xdotool(const QStringList& arguments)
    {
        QProcess run;
        run.start(QStringLiteral("xdotool"), arguments);
        return run.waitForFinished(5000) && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
    }

    // In front: not minimised, shown by the window manager, and active.
    static bool waitInFront(QWidget& w)
    {
        return QTest::qWaitFor(
            [&] { return !w.isMinimized() && w.windowHandle() && w.windowHandle()->isExposed() && w.isActiveWindow(); },
            5000);
    }

    // The window's frame where it is expected (the window manager moves it
    // after it is shown); the frame as it is when the wait ends.
    static QRect frameOnceAt(QWidget& w, const QRect& expected)
    {
        QTest::qWaitFor([&] { return w.windowHandle()->frameGeometry() == expected; }, 3000);
        return w.windowHandle()->frameGeometry();
    }

    static QRect onScreen(QWidget& w) { return QRect(w.mapToGlobal(QPoint(0, 0)), w.size()); }
};

TEST_F(OnScreenTest, ListBuildShowsBarAndWholeCaption)
{
    MSFlexGrid* grid = Forms::liste().MSFlexGrid1;
    QObject::connect(grid->view()->model(), &QAbstractItemModel::rowsInserted, grid,
                     [this, grid] {
                         QThread::usleep(300);
                         step(grid->Rows() - 1);
                     });
    Forms::form2().Command4_Click();
    checkShots(QStringLiteral("Vokabelliste wird erstellt"), QStringLiteral("progress-build"));
}

TEST_F(OnScreenTest, ShuffleShowsBarAndWholeCaption)
{
    Forms::form2().Command4_Click();
    ASSERT_EQ(Forms::trainer().seqCount(), 3000);
    QObject::connect(Forms::progress().ProgressBar1, &QProgressBar::valueChanged, [this](int v) { step(v); });
    Trainer& t = Forms::trainer();
    t.OptSequentiell = false;
    t.OptShuffle = true;
    SystemServices::setRandomSource([] {
        QThread::usleep(40);
        return float(QRandomGenerator::global()->generateDouble());
    });
    t.Command6_Click();
    SystemServices::setRandomSource(nullptr);
    checkShots(QStringLiteral("Vokabeln werden gemischt"), QStringLiteral("progress-shuffle"));
}

// Auswahl (its button), Liste (Ctrl+L), Trainer (Ctrl+T) and a language
// button, given by the learner in the main window, bring their window to the
// front: a window
// hidden and shown again appears where it was, a window the window manager
// minimised comes back.
TEST_F(OnScreenTest, CommandsBringWindowsBackWhereTheyWere)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
    Form1& f1 = Forms::form1();
    f1.show();
    Forms::form2().Command4_Click();   // a list, so that every command is offered
    // The learner brings the main window forward, then clicks or types.
    auto inMainWindow = [&](const QStringList& input) {
        ASSERT_TRUE(waitExposed(f1, true));
        ASSERT_TRUE(xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(f1.winId())}));
        ASSERT_TRUE(waitInFront(f1));
        ASSERT_TRUE(xdotool(input));
    };
    const auto button = [&](const char* name) {
        QWidget* b = child<QPushButton>(f1, name);
        const QPoint centre = b->mapToGlobal(b->rect().center());
        return QStringList{QStringLiteral("mousemove"), QString::number(centre.x()),
                           QString::number(centre.y()), QStringLiteral("click"), QStringLiteral("1")};
    };
    struct Case {
        const char* name;
        QWidget& window;
        QStringList input;
    };
    const Case cases[] = {
        {"Auswahl", Forms::form2(), button("Command1")},
        {"Liste", Forms::liste(), {QStringLiteral("key"), QStringLiteral("ctrl+l")}},
        {"Trainer", Forms::trainer(), {QStringLiteral("key"), QStringLiteral("ctrl+t")}},
        // A language button opens its database and shows the selection window.
        {"Englisch", Forms::form2(), button("Command8")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget& w = c.window;
        inMainWindow(c.input);
        ASSERT_TRUE(waitInFront(w));
        ASSERT_TRUE(QTest::qWaitFor([&] { return frameKnown(w); }));
        const QRect placed = w.windowHandle()->frameGeometry();

        w.hide();
        ASSERT_TRUE(waitExposed(w, false));
        inMainWindow(c.input);
        EXPECT_TRUE(waitInFront(w));
        EXPECT_EQ(frameOnceAt(w, placed), placed) << "moved when shown again";

        ASSERT_TRUE(minimiseByWindowManager(w));
        inMainWindow(c.input);
        EXPECT_TRUE(waitInFront(w)) << "left minimised";
        EXPECT_EQ(frameOnceAt(w, placed), placed);
    }
    save(grabScreen(), QStringLiteral("windows-back.png"));
}

// The learner compares the answer with the text in the trainer: the self-test
// question covers neither the question nor the answer, lies whole on the
// screen, and is asked again where it was while that still holds.
TEST_F(OnScreenTest, ConfirmationDialogLeavesQuestionAndAnswerInSight)
{
    Forms::form2().Command4_Click();
    Trainer& t = Forms::trainer();
    Forms::form1().Command2_Click();
    ASSERT_TRUE(waitInFront(t));
    t.OptTest = true;
    ConfirmDlg& dlg = t.confirmDlg();
    const QRect area = t.screen()->availableGeometry();
    const auto previous = MessageService::install(std::make_shared<QtMessageService>());
    // Steps to the answer; the checks run while the question is open.
    auto ask = [&](const QString& picture) {
        QRect frame;
        QTimer::singleShot(0, &dlg, [&] {
            EXPECT_TRUE(waitExposed(dlg, true));
            EXPECT_TRUE(QTest::qWaitFor([&] { return frameKnown(dlg); }));
            frame = dlg.windowHandle()->frameGeometry();
            const QRect fields = onScreen(*t.VokabelnGrid);
            EXPECT_FALSE(frame.intersects(fields)) << "over the question and answer: " << qPrintable(picture) << " dialog "
                                                   << frame.x() << "," << frame.y() << " fields " << fields.x() << ","
                                                   << fields.y() << " " << fields.width() << "x" << fields.height();
            EXPECT_TRUE(area.contains(frame)) << "not whole on the screen";
            save(grabScreen(), picture);
            dlg.JaButton->click();
        });
        t.Command3_Click();   // the question
        t.Command3_Click();   // the answer, then the self-test question
        return frame;
    };
    const QRect first = ask(QStringLiteral("confirm-beside.png"));
    EXPECT_EQ(ask(QStringLiteral("confirm-again.png")), first) << "moved when shown again";

    // The trainer moved over the dialog's place, then to the right edge of
    // the screen, where there is no room on its right.
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameKnown(t); }));
    const int width = t.windowHandle()->frameGeometry().width();
    for (const int left : {first.left() - 40, area.right() + 1 - width}) {
        // Until the window manager has moved it there (under load it may
        // report places in between, and may put it a pixel off).
        t.move(left, t.y());
        ASSERT_TRUE(QTest::qWaitFor([&] { return std::abs(t.windowHandle()->frameGeometry().left() - left) <= 1; }));
        ASSERT_TRUE(onScreen(*t.VokabelnGrid).intersects(first) || area.right() - t.frameGeometry().right() < first.width());
        ask(QStringLiteral("confirm-trainer-at-%1.png").arg(left));
    }
    MessageService::install(previous);
}

TEST_F(OnScreenTest, ConfirmationDialogShowsItsCaptionAndComesBackWhenMinimised)
{
    Trainer& t = Forms::trainer();
    t.show();
    ASSERT_TRUE(waitExposed(t, true));
    ConfirmDlg& dlg = t.confirmDlg();
    // The real modal run; the checks happen while the question is open.
    const auto previous = MessageService::install(std::make_shared<QtMessageService>());
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_TRUE(waitExposed(dlg, true));
        const QImage screen = settledCaption(dlg);
        save(screen, QStringLiteral("confirm.png"));
        const QList<bool> caption = captionInk(screen, titleBand(dlg));

        // Minimising the question (which takes the trainer along under this
        // window manager) must not leave it out of reach.
        EXPECT_TRUE(minimiseByWindowManager(dlg));
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.windowHandle()->isExposed() && !dlg.isMinimized() && !t.isMinimized(); },
                                    5000))
            << "left minimised";
        dlg.JaButton->click();
        EXPECT_TRUE(sameCaption(caption, wholeCaption(dlg.windowTitle()))) << "caption cut or missing in the title bar";
    });
    EXPECT_TRUE(dlg.ask());
    MessageService::install(previous);
}

} // namespace
