// Windows on a real X display with a window manager (run by run_with_wm.sh):
// pictures of the screen taken from inside the work must show the progress
// bar painted and moving and its caption whole in the title bar; the
// trainer's question shows its caption whole and cannot be left minimised.
#include "../MainWindowFixture.h"
#include "mainwindow/Progress.h"
#include "largedb/LargeDbGenerator.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "selection/Liste.h"
#include "selection/Form2.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/Trainer.h"

#include <QGuiApplication>
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
        QTest::qWait(300);
        const QImage screen = grabScreen();
        save(screen, QStringLiteral("progress-reference.png"));
        return captionInk(screen, titleBand(wide));
    }

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
        QTest::qWait(200);
        const QImage screen = grabScreen();
        save(screen, QStringLiteral("confirm.png"));
        const QList<bool> caption = captionInk(screen, titleBand(dlg));

        // Minimising the question (which takes the trainer along under this
        // window manager) must not leave it out of reach.
        dlg.windowHandle()->showMinimized();
        QTest::qWait(1000);
        EXPECT_TRUE(dlg.windowHandle()->isExposed());
        EXPECT_FALSE(dlg.isMinimized());
        EXPECT_FALSE(t.isMinimized());
        dlg.JaButton->click();
        EXPECT_EQ(caption, wholeCaption(dlg.windowTitle())) << "caption cut or missing in the title bar";
    });
    EXPECT_TRUE(dlg.ask());
    MessageService::install(previous);
}

} // namespace
