// Windows on a real X display with a window manager (run by run_with_wm.sh):
// pictures of the screen taken all the while a list build and a shuffle run
// at their own speed show the progress window either not at all or whole,
// its caption in the title bar and its bar painted (and moving, over a long
// build); the trainer's question shows its caption whole and cannot be left
// minimised.
#include "../MainWindowFixture.h"
#include "common/ShowMsgBox.h"
#include "mainwindow/Progress.h"
#include "largedb/LargeDbGenerator.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/WindowPlacement.h"
#include "selection/Liste.h"
#include "selection/Form2.h"
#include "selection/frmSuchen.h"
#include "support/ChildWait.h"
#include "support/TestFiles.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/Trainer.h"
#include "x11/ScreenWatcher.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QProgressBar>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <sqlite3.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>

namespace {

QImage grabScreen() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }

QRect titleBand(QWidget& w)
{
    const QRect frame = w.windowHandle()->frameGeometry();
    const QRect client = w.windowHandle()->geometry();
    return QRect(frame.left(), frame.top(), frame.width(), client.top() - frame.top());
}

// Share of the bar's middle line in the chunk's colour (blue over red).
double chunkShare(const QImage& picture, const QRect& bar)
{
    const int y = bar.center().y();
    int blue = 0;
    for (int x = bar.left() + 2; x <= bar.right() - 2; ++x) {
        const QColor c = picture.pixelColor(x, y);
        blue += c.blue() - c.red() > 60;
    }
    return double(blue) / (bar.width() - 4);
}

// Share of the pixels of an area that differ between two pictures.
double differing(const QImage& a, const QImage& b, const QRect& area, const QRect& skip = QRect())
{
    int differ = 0, all = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (skip.contains(x, y))
                continue;
            ++all;
            differ += a.pixel(x, y) != b.pixel(x, y);
        }
    return all ? double(differ) / all : 0.0;
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
            if (std::abs(c.red() - ground.red()) + std::abs(c.green() - ground.green()) + std::abs(c.blue() - ground.blue())
                > 150) {
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
        // Taken once it is on the screen, active, and looks the same twice.
        QImage screen;
        QList<bool> ink, previous;
        (void)QTest::qWaitFor(
            [&] {
                if (!wide.windowHandle()->isExposed() || !wide.isActiveWindow())
                    return false;
                screen = grabScreen();
                ink = captionInk(screen, titleBand(wide));
                const bool settled = ink.size() > 50 && ink == previous;
                previous = ink;
                return settled;
            },
            10000);
        save(screen, QStringLiteral("progress-reference.png"));
        return ink;
    }

    // A picture of the screen once the window manager has framed the window
    // and its title bar shows the same caption in two pictures in a row.
    static QImage settledCaption(QWidget& w)
    {
        QImage screen;
        QList<bool> last;
        (void)QTest::qWaitFor(
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

    // Runs the job while pictures of the progress window's place are taken
    // on a connection of their own; each picture shows the screen as it was
    // before, or the window whole. Returns the bar's share in each picture
    // that shows the window.
    std::vector<double> watchProgress(const QString& caption, const QString& name, const std::function<void()>& job)
    {
        // Where the window comes (centred on the screen, in a frame of the
        // window manager), and how its client area looks when painted.
        Progress& p = Forms::progress();
        p.setWindowTitle(caption);
        p.show();
        EXPECT_TRUE(waitExposed(p, true));
        const QRect frameOnScreen = p.windowHandle()->frameGeometry();
        const QRect clientOnScreen = p.windowHandle()->geometry();
        p.hide();
        EXPECT_TRUE(waitExposed(p, false));
        const QRect place = frameOnScreen.adjusted(-20, -20, 20, 20);
        // Under it, a plain ground that never changes its look (the other
        // windows do, as they become active or not).
        QWidget ground(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        ground.setAttribute(Qt::WA_ShowWithoutActivating);
        ground.setStyleSheet(QStringLiteral("background: magenta"));
        ground.setGeometry(place);
        ground.show();
        EXPECT_TRUE(waitExposed(ground, true));
        ground.repaint();

        const QRect frame = frameOnScreen.translated(-place.topLeft());
        const QImage ground0 = grabScreen().copy(place);
        ScreenWatcher watcher(place);
        job();
        // The job hides the window as it ends, but the window manager takes
        // it off the screen a moment later: the watch goes on until the
        // ground is back, so that the window's leaving is seen as well, and
        // on a busy machine until enough pictures are taken to judge by.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return watcher.count() > 20 && differing(grabScreen().copy(place), ground0, frame) == 0.0; }, 5000));
        std::vector<QImage> pictures = watcher.stop();
        EXPECT_GT(pictures.size(), 20u);
        if (pictures.size() < 2 || !p.windowHandle())
            return {};

        const QRect client = clientOnScreen.translated(-place.topLeft());
        const QRect title(frame.left(), frame.top(), frame.width(), client.top() - frame.top());
        const QRect bar(client.topLeft() + p.ProgressBar1->pos(), p.ProgressBar1->size());
        auto look = [](QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); };
        const QImage painted = look(p);
        // The bar empty and full: on the screen each of its columns is one of the two.
        const int value = p.ProgressBar1->value();
        p.ProgressBar1->setValue(p.ProgressBar1->minimum());
        const QImage empty = look(*p.ProgressBar1);
        p.ProgressBar1->setValue(p.ProgressBar1->maximum());
        const QImage full = look(*p.ProgressBar1);
        p.ProgressBar1->setValue(value);
        auto barPainted = [&](const QImage& picture) {
            int odd = 0;
            for (int x = 0; x < bar.width(); ++x) {
                bool asEmpty = true, asFull = true;
                for (int y = 0; y < bar.height(); ++y) {
                    const QRgb c = picture.pixel(bar.left() + x, bar.top() + y);
                    asEmpty = asEmpty && c == empty.pixel(x, y);
                    asFull = asFull && c == full.pixel(x, y);
                }
                odd += !asEmpty && !asFull;
            }
            return odd <= 8; // the rounded ends of the chunk
        };
        // The caption's width as a wide window of the same kind shows it
        // (active or not, its letters take the same columns, give or take an edge).
        const auto inkWidth = [](const QList<bool>& ink) { return int(ink.size()); };
        const int captionWidth = inkWidth(wholeCaption(caption));
        EXPECT_GT(captionWidth, 50);

        std::vector<double> shares;
        const QImage& before = pictures.front();
        int shown = 0, saved = 0;
        for (const QImage& picture : pictures) {
            if (differing(picture, before, frame) == 0.0)
                continue;
            ++shown;
            const QImage inClient = picture.copy(client);
            const QRect barInClient(bar.topLeft() - client.topLeft(), bar.size());
            const double wrong = differing(inClient, painted, inClient.rect(), barInClient);
            const bool barWhole = barPainted(picture);
            const int width = inkWidth(captionInk(picture, title));
            if (wrong > 0 || !barWhole || std::abs(width - captionWidth) > 3) {
                save(picture, name + QStringLiteral("-not-whole.png"));
                ADD_FAILURE() << "the progress window on the screen is not whole: " << wrong * 100
                              << "% of its client area wrong, bar " << (barWhole ? "painted" : "not painted")
                              << ", caption " << width << " pixels wide instead of " << captionWidth << " (picture "
                              << (&picture - &pictures.front()) << " of " << pictures.size() << ")";
                break;
            }
            shares.push_back(chunkShare(picture, bar));
            if (saved < 3 && (saved == 0 || shares.back() > 0.4 * saved))
                save(picture, name + QStringLiteral("-%1.png").arg(++saved));
        }
        std::cout << name.toStdString() << ": " << pictures.size() << " pictures, " << shown << " with the window\n";
        return shares;
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
        return ChildWait::finished(run, QStringLiteral("input from outside"), 5)
               && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
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
        (void)QTest::qWaitFor([&] { return w.windowHandle()->frameGeometry() == expected; }, 3000);
        return w.windowHandle()->frameGeometry();
    }

    static QRect onScreen(QWidget& w) { return QRect(w.mapToGlobal(QPoint(0, 0)), w.size()); }

    // Runs the check with the next message box once it is on the screen,
    // then answers it with its first button. The box is the real one; keep
    // the returned watch until it has been answered.
    static std::unique_ptr<QTimer> onceBoxIsOpen(const std::function<void(QMessageBox&)>& check)
    {
        const auto previous = MessageService::install(std::make_shared<QtMessageService>());
        auto watch = std::make_unique<QTimer>();
        watch->setInterval(50);
        QTimer* w = watch.get();
        QObject::connect(w, &QTimer::timeout, w, [w, check, previous] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->windowHandle() || !box->windowHandle()->isExposed())
                return;
            w->stop();
            check(*box);
            box->buttons().first()->click();
            MessageService::install(previous);
        });
        watch->start();
        return watch;
    }
};

TEST_F(OnScreenTest, ProgressOfAListBuildAndAShuffleIsWholeWheneverItIsOnTheScreen)
{
    Forms::form2().hide();
    // A long build (100,000 entries, over a second) with the bar moving ...
    const int entries = TestFiles::largeEntryCount();
    QString error;
    ASSERT_TRUE(LargeDb::generate(inApp(QStringLiteral("huge.lxt")), entries, &error)) << qPrintable(error);
    Forms::form1().Open_DB(QStringLiteral("huge.lxt"));
    ASSERT_FALSE(Forms::form1().DBName.isEmpty());
    const std::vector<double> build = watchProgress(QStringLiteral("Vokabelliste wird erstellt"),
                                                    QStringLiteral("progress-build"),
                                                    [] { Forms::form2().Command4_Click(); });
    ASSERT_FALSE(build.empty());
    EXPECT_TRUE(std::any_of(build.begin(), build.end(), [](double s) { return s > 0.2 && s < 0.8; }));
    EXPECT_TRUE(std::is_sorted(build.begin(), build.end()));

    // ... and shuffles of 100,000 and of 3,000 entries, a few milliseconds long.
    Trainer& t = Forms::trainer();
    ASSERT_EQ(t.seqCount(), entries);
    t.OptSequentiell = false;
    t.OptShuffle = true;
    EXPECT_FALSE(watchProgress(QStringLiteral("Vokabeln werden gemischt"), QStringLiteral("progress-shuffle"), [&] {
                     t.Command6_Click();
                 }).empty());
    Forms::form1().Open_DB(QStringLiteral("large.lxt"));
    Forms::form2().Command4_Click();
    ASSERT_EQ(t.seqCount(), 3000);
    watchProgress(QStringLiteral("Vokabeln werden gemischt"), QStringLiteral("progress-short"),
                  [&] { t.Command6_Click(); });
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
    Forms::form2().Command4_Click(); // a list, so that every command is offered
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
        return QStringList{QStringLiteral("mousemove"), QString::number(centre.x()), QString::number(centre.y()),
                           QStringLiteral("click"), QStringLiteral("1")};
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
            EXPECT_FALSE(frame.intersects(fields))
                << "over the question and answer: " << qPrintable(picture) << " dialog " << frame.x() << "," << frame.y()
                << " fields " << fields.x() << "," << fields.y() << " " << fields.width() << "x" << fields.height();
            EXPECT_TRUE(area.contains(frame)) << "not whole on the screen";
            save(grabScreen(), picture);
            dlg.JaButton->click();
        });
        t.Command3_Click(); // the question
        t.Command3_Click(); // the answer, then the self-test question
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
        ASSERT_TRUE(onScreen(*t.VokabelnGrid).intersects(first)
                    || area.right() - t.frameGeometry().right() < first.width());
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
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return dlg.windowHandle()->isExposed() && !dlg.isMinimized() && !t.isMinimized(); }, 5000))
            << "left minimised";
        dlg.JaButton->click();
        EXPECT_TRUE(sameCaption(caption, wholeCaption(dlg.windowTitle()))) << "caption cut or missing in the title bar";
    });
    EXPECT_TRUE(dlg.ask());
    MessageService::install(previous);
}

// While a notice is open nothing of the main window is on the screen (a
// window manager may keep part of a window there wherever the program moves
// it); afterwards it is back where it was, and the window the notice was
// about keeps the focus.
TEST_F(OnScreenTest, NoticeLeavesNothingOfTheMainWindowOnTheScreen)
{
    Form1& f = Forms::form1();
    f.show();
    ASSERT_TRUE(waitExposed(f, true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameKnown(f); }));
    const QRect placed = f.windowHandle()->frameGeometry();
    Trainer& t = Forms::trainer();
    Forms::form1().Command2_Click();
    ASSERT_TRUE(waitInFront(t));
    const QRect screen = f.screen()->geometry();
    const auto watch = onceBoxIsOpen([&](QMessageBox&) {
        const bool gone = QTest::qWaitFor(
            [&] { return !f.windowHandle()->isExposed() || !f.windowHandle()->frameGeometry().intersects(screen); }, 2000);
        save(grabScreen(), QStringLiteral("notice-main-window.png"));
        EXPECT_TRUE(gone) << "main window on the screen at " << f.windowHandle()->frameGeometry().x() << ","
                          << f.windowHandle()->frameGeometry().y();
    });
    ShowMsgBox(QStringLiteral("Die Sequenz ist beendet."), MsgStyle::OKOnly);
    EXPECT_TRUE(waitExposed(f, true));
    EXPECT_EQ(frameOnceAt(f, placed), placed);
    EXPECT_TRUE(waitInFront(t)) << "the focus went elsewhere";
}

// The trainer's notices, like its self-test question, leave the question and
// the answer in sight and lie whole on the screen.
TEST_F(OnScreenTest, TrainerNoticeLeavesQuestionAndAnswerInSight)
{
    Forms::form2().Command4_Click();
    Trainer& t = Forms::trainer();
    Forms::form1().Command2_Click();
    ASSERT_TRUE(waitInFront(t));
    t.ToEnd_Click();
    const auto watch = onceBoxIsOpen([&](QMessageBox& box) {
        EXPECT_EQ(box.text(), QStringLiteral("Die Sequenz ist beendet."));
        EXPECT_TRUE(QTest::qWaitFor([&] { return frameKnown(box); }));
        const QRect frame = box.windowHandle()->frameGeometry();
        const QRect fields = onScreen(*t.VokabelnGrid);
        save(grabScreen(), QStringLiteral("notice-beside.png"));
        EXPECT_FALSE(frame.intersects(fields)) << "over the question and answer: notice " << frame.x() << ","
                                               << frame.y() << " fields " << fields.x() << "," << fields.y();
        EXPECT_TRUE(t.screen()->availableGeometry().contains(frame)) << "not whole on the screen";
    });
    t.Command2_Click(); // one past the last entry
}

// Asks a window to close the way a window manager does, from a connection
// of its own.
void closeAsWindowManager(QWidget& window)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return a;
    };
    xcb_client_message_event_t close{};
    close.response_type = XCB_CLIENT_MESSAGE;
    close.format = 32;
    close.window = xcb_window_t(window.winId());
    close.type = atom("WM_PROTOCOLS");
    close.data.data32[0] = atom("WM_DELETE_WINDOW");
    close.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, close.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&close));
    // A round trip: the display has taken the request before the connection ends.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

// The find window comes at the bottom right of the list, which fills the
// screen, with the whole of its frame on the screen.
TEST_F(OnScreenTest, FindWindowLiesWholeOnTheScreen)
{
    Forms::form2().Command4_Click();
    Liste& l = Forms::liste();
    l.show();
    ASSERT_TRUE(waitExposed(l, true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameKnown(l) && l.isMaximized(); }));
    frmSuchen d;
    d.show();
    ASSERT_TRUE(waitExposed(d, true));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frameKnown(d); }));
    const QRect area = d.screen()->availableGeometry();
    const QRect frame = d.windowHandle()->frameGeometry();
    EXPECT_TRUE(area.contains(frame))
        << "frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_EQ(frame.right(), std::min(area.right(), l.frameGeometry().right()));
    save(grabScreen(), QStringLiteral("find-window.png"));
}

// The window manager's close of the main window, made while a list is being
// built, is neither lost nor handled inside the build: the program quits
// once the build is done.
TEST_F(OnScreenTest, ACloseDuringAListBuildQuitsAfterIt)
{
    Form1& f = Forms::form1();
    f.show();
    ASSERT_TRUE(waitExposed(f, true));
    auto* model = Forms::liste().MSFlexGrid1->view()->model();
    bool sent = false;
    const auto once = QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] {
        if (!sent)
            closeAsWindowManager(f);
        sent = true;
    });
    Forms::form2().Command4_Click();
    QObject::disconnect(once);
    ASSERT_TRUE(sent);
    EXPECT_EQ(endCalls, 0);
    EXPECT_EQ(Forms::liste().MSFlexGrid1->Rows() - 1, 3000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return endCalls > 0; }, 10000));
    EXPECT_EQ(endCalls, 1);
}

// The window manager's close of the trainer, made while an answer waits for
// another program's lock, is carried out once the command has returned,
// though the box offering to try again came between.
TEST_F(OnScreenTest, ACloseDuringTheWaitForALockIsCarriedOutAfterIt)
{
    // The self-test question is answered "Ja" without a window; the box
    // offering to try again is the real one, answered "Abbrechen" once it is
    // on the screen.
    class AnswerAndGiveUp : public QtMessageService {
    public:
        int execModal(QDialog* dialog) override
        {
            static_cast<ConfirmDlg*>(dialog)->JaButton->click();
            return dialog->result();
        }
        int message(const MessageRequest& request) override
        {
            QTimer watch;
            watch.setInterval(50);
            QObject::connect(&watch, &QTimer::timeout, [&watch] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box || !box->windowHandle() || !box->windowHandle()->isExposed())
                    return;
                watch.stop();
                for (QAbstractButton* b : box->buttons())
                    if (box->buttonRole(b) == QMessageBox::RejectRole)
                        b->click();
            });
            watch.start();
            return QtMessageService::message(request);
        }
    };
    const auto previous = MessageService::install(std::make_shared<AnswerAndGiveUp>());
    Forms::form2().Command4_Click();
    Trainer& t = Forms::trainer();
    t.OptTest = true;
    Forms::form1().Command2_Click();
    ASSERT_TRUE(waitInFront(t));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(inApp(QStringLiteral("large.lxt"))).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; UPDATE Vokabular SET Score = 2", nullptr, nullptr, nullptr), SQLITE_OK);
    QTimer::singleShot(300, &t, [&t] { closeAsWindowManager(t); }); // while the answer waits
    t.Command3_Click();
    t.Command3_Click();
    sqlite3_close(other);
    MessageService::install(previous);
    EXPECT_TRUE(t.isVisible()) << "closed inside the command";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !t.isVisible(); }, 5000)) << "the close was lost";
}

} // namespace
