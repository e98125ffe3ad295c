// Text procedures, the parked message box and the busy cursor.
#include "common/Global.h"
#include "common/ShowMsgBox.h"
#include "common/TextProcs.h"
#include "common/clsCursor.h"
#include "support/FakeMessageService.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Ausdruck {
    const char *prefix, *main, *suffix, *comment, *expected;
};

TEST(TextProcs, GeneriereAusdruckJoinsPartsByTheEndOfWhatIsBuilt)
{
    const Ausdruck cases[] = {
        {"der", "Hund", "", "m.", "der Hund (m.)"},
        {"to ", "go", "", "", "to go"}, // prefix ending in a blank gets no second one
        {"", "", "", "pl.", "(pl.)"},
        {"", "Haus", "", "", "Haus"},
        {"", "", "", "", ""},
        {"der", " Hund", "", "", "der  Hund"}, // the part's own blank stays
        {"", "go", "on", "", "go on"},
        {"", "", "on", "", "on"},
        {"der ", "Hund ", "", "m.", "der Hund (m.)"},
        {"la", "", "", "f.", "la (f.)"},
        {"", "Hund", " ", "", "Hund  "}, // trimming is the caller's business
    };
    for (const Ausdruck& c : cases)
        EXPECT_EQ(generiereAusdruck(QString::fromUtf8(c.prefix), QString::fromUtf8(c.main), QString::fromUtf8(c.suffix),
                                    QString::fromUtf8(c.comment)),
                  QString::fromUtf8(c.expected))
            << c.prefix << "|" << c.main << "|" << c.suffix << "|" << c.comment;
}

TEST(TextProcs, ExtractRemovesOnlyBlanks)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("   "), QString()},
        {QString(), QString()},
        {QStringLiteral("  a b  "), QStringLiteral("a b")},
        {QStringLiteral("\ta\t"), QStringLiteral("\ta\t")},
        {QStringLiteral(" \ta\n "), QStringLiteral("\ta\n")},
        {QStringLiteral("x"), QStringLiteral("x")},
        {QStringLiteral(" x"), QStringLiteral("x")},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(extract(in), out) << in.toStdString();
}

TEST(TextProcs, FormatDBDateAndCutToLength)
{
    EXPECT_EQ(FormatDBDate(QStringLiteral("20000716")), QStringLiteral("16.07.00"));
    EXPECT_EQ(FormatDBDate(QStringLiteral("abcdefgh")), QStringLiteral("gh.ef.cd")); // digits play no part
    EXPECT_EQ(FormatDBDate(QStringLiteral("2000071")), QStringLiteral("2000071"));
    EXPECT_EQ(FormatDBDate(QStringLiteral("200007160")), QStringLiteral("200007160"));
    EXPECT_EQ(FormatDBDate(QString()), QString());

    EXPECT_EQ(CutToLength(QStringLiteral("abc"), 3), QStringLiteral("abc"));
    EXPECT_EQ(CutToLength(QStringLiteral("abcd"), 3), QStringLiteral("abc"));
    EXPECT_EQ(CutToLength(QStringLiteral("ä"), 0), QString());
    EXPECT_EQ(CutToLength(QString(), 5), QString());
}

// A character outside the basic plane (an emoji: two UTF-16 units) is kept
// whole or left out by every cut, never halved.
TEST(TextProcs, CutsNeverSplitAnEmoji)
{
    const QString emoji = QStringLiteral("\U0001F600");
    const QString text = QStringLiteral("a") + emoji + emoji + emoji; // 7 units
    EXPECT_EQ(CutToLength(text, 2), QStringLiteral("a"));
    EXPECT_EQ(CutToLength(text, 3), QStringLiteral("a") + emoji);
    EXPECT_EQ(CutToLength(emoji, 1), QString());

    // One unit measures 100; "..." is three units.
    auto measure = [](const QString& t) { return int(t.size()) * 100; };
    EXPECT_EQ(FitTextToWidth(text, 500, measure), QStringLiteral("a..."));
    EXPECT_EQ(FitTextToWidth(text, 600, measure), QStringLiteral("a") + emoji + QStringLiteral("..."));
    EXPECT_EQ(FitTextToWidth(emoji + QStringLiteral("bc"), 0, measure), emoji + QStringLiteral("..."));
    for (int width = -100; width <= 800; width += 50)
        EXPECT_TRUE(FitTextToWidth(text, width, measure).isValidUtf16()) << width;
}

TEST(TextProcs, MyStoIAndIsBuchstabe)
{
    const std::pair<const char*, int> numbers[] = {{"7", 7}, {"0", 0}, {"9", 9},  {"07", 0},
                                                   {"", 0},  {"x", 0}, {" 7", 0}, {"-1", 0}};
    for (const auto& [in, out] : numbers)
        EXPECT_EQ(MyStoI(QString::fromUtf8(in)), out) << in;

    const std::pair<const char*, bool> letters[] = {{"A", true},  {"Z", true},   {"a", true},  {"z", true},
                                                    {"@", false}, {"[", false},  {"`", false}, {"{", false},
                                                    {"ä", false}, {"ab", false}, {"", false},  {"1", false}};
    for (const auto& [in, out] : letters)
        EXPECT_EQ(IsBuchstabe(QString::fromUtf8(in)), out) << in;
}

TEST(TextProcs, CheckForInternalCharactersReportsTheFirstReservedOne)
{
    ScopedFakeMessages fake;
    EXPECT_EQ(CheckForInternalCharacters(QStringLiteral("Hund")), 0);
    EXPECT_EQ(CheckForInternalCharacters(QString()), 0);
    EXPECT_TRUE(fake->shown.isEmpty());

    EXPECT_EQ(CheckForInternalCharacters(QStringLiteral("ab@c;")), 3);
    EXPECT_EQ(CheckForInternalCharacters(QStringLiteral(";x@")), 1);
    ASSERT_EQ(fake->shown.size(), 2); // one box per call
    EXPECT_EQ(fake->shown[0].prompt,
              QStringLiteral("Die Zeichen '@' und ';' werden intern verwendet und dürfen nicht eingegeben werden!"));
    EXPECT_EQ(fake->shown[0].style, 0);
    EXPECT_EQ(fake->shown[0].title, appTitle());

    gSprache = QStringLiteral("En"); // the same German text in both languages
    CheckForInternalCharacters(QStringLiteral("@"));
    EXPECT_EQ(fake->lastPrompt(), fake->shown[0].prompt);
    InitGlobals();
}

TEST(TextProcs, TextualStrCompComparesPrefixesCaseSensitively)
{
    struct Case {
        const char *a, *b;
        int expected;
    };
    const Case cases[] = {{"abc", "abd", -1},  {"abd", "abc", 1}, {"ab", "abc", 0}, {"abc", "ab", 0},
                          {"", "x", 0},        {"x", "", 0},      {"B", "a", -1},   {"a", "A", 1},
                          {"same", "same", 0}, {"zb", "ac", 1}};
    for (const Case& c : cases)
        EXPECT_EQ(TextualStrComp(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.expected) << c.a << " " << c.b;
}

TEST(TextProcs, FitTextToWidthShortensOneCharacterPerStep)
{
    QWidget window;
    const QString text = QStringLiteral("Hello World");
    const int full = TextWidthTwips(text, &window);
    ASSERT_GT(full, 0);
    // Exactly as wide as the width: unchanged, no "...".
    EXPECT_EQ(FitTextToWidth(text, full, &window), text);
    EXPECT_EQ(FitTextToWidth(text, full + 1000, &window), text);
    // A width that "Hel..." just fits gives exactly that.
    const int helWidth = TextWidthTwips(QStringLiteral("Hel..."), &window);
    EXPECT_EQ(FitTextToWidth(text, helWidth, &window), QStringLiteral("Hel..."));
    // At least one character stays, even when that is still too wide.
    EXPECT_EQ(FitTextToWidth(text, 0, &window), QStringLiteral("H..."));
    EXPECT_EQ(FitTextToWidth(QStringLiteral("W"), 0, &window), QStringLiteral("W..."));

    // The width follows the window's font.
    QFont big = window.font();
    big.setPointSizeF(big.pointSizeF() * 3);
    window.setFont(big);
    EXPECT_GT(TextWidthTwips(text, &window), full);
    EXPECT_NE(FitTextToWidth(text, full, &window), text);
}

// Cutting by halves gives what dropping one character per step gives, with a
// number of measurements that grows with the logarithm of the length.
TEST(TextProcs, FitTextToWidthCutsLikeTheStepwiseLoopWithFewMeasurements)
{
    QWidget window;
    auto measure = [&](const QString& t) { return TextWidthTwips(t, &window); };
    auto stepwise = [&](const QString& text, int width) {
        if (measure(text) <= width)
            return text;
        QString t = text + QStringLiteral("...");
        while (measure(t) > width && t.size() >= 5)
            t = t.left(t.size() - 4) + QStringLiteral("...");
        return t;
    };
    const QString texts[] = {QStringLiteral("Wiiiiiiiii WWWWW mmm.lll Spanisch (Lateinamerika) Ärger ß ..."),
                             QStringLiteral("W"), QString()};
    for (const QString& full : texts)
        for (qsizetype n = 0; n <= full.size(); ++n)
            for (int width : {-500, 0, 100, 250, 600, 1200, 2500, 5000}) {
                const QString text = full.left(n);
                ASSERT_EQ(FitTextToWidth(text, width, &window), stepwise(text, width)) << n << " " << width;
            }

    for (int width : {-1, 0, 99, 4000, 99999, 10000000}) {
        int calls = 0;
        const QString text(100000, QLatin1Char('x'));
        const QString fitted = FitTextToWidth(text, width, [&](const QString& t) {
            ++calls;
            return int(t.size()) * 100;
        });
        EXPECT_LE(calls, 40) << width;
        const qsizetype kept = width >= 10000000 ? 100000 : std::max<qsizetype>(width / 100 - 3, 1);
        EXPECT_EQ(fitted, width >= 10000000 ? text : text.left(kept) + QStringLiteral("...")) << width;
    }
}

// ShowMsgBox moves the registered main window out of sight only while its box is open.
TEST(ShowMsgBox, ParksTheMainWindowAndPutsItBack)
{
    ScopedFakeMessages fake;
    QWidget mainWindow;
    mainWindow.setGeometry(300, 200, 400, 300);
    mainWindow.show();
    QCoreApplication::processEvents();
    const QPoint before = mainWindow.pos();
    setMainWindowForMsgBox(&mainWindow);

    struct Case {
        int buttons, queued, expected;
    };
    const Case cases[] = {{MsgStyle::YesNo + MsgStyle::Question, MsgResult::No, MsgResult::No},
                          {0, -1, MsgResult::OK},
                          {MsgStyle::YesNo, MsgResult::Yes, MsgResult::Yes}};
    for (const Case& c : cases) {
        int leftWhileOpen = 0;
        fake->onMessage = [&](const FakeMessageService::Shown&) { leftWhileOpen = mainWindow.x(); };
        if (c.queued >= 0)
            fake->queueAnswer(c.queued);
        EXPECT_EQ(ShowMsgBox(QStringLiteral("Wollen Sie das Programm beenden?"), c.buttons), c.expected);
        // Out of sight (the offscreen platform may add its frame margin to -10000).
        EXPECT_LE(leftWhileOpen, -9990);
        QCoreApplication::processEvents();
        EXPECT_EQ(mainWindow.pos(), before);
        EXPECT_EQ(fake->shown.last().style, c.buttons);
        EXPECT_EQ(fake->shown.last().title, appTitle());
    }
    setMainWindowForMsgBox(nullptr);
}

TEST(ShowMsgBox, WithoutOrAfterLosingTheMainWindowOnlyShowsTheBox)
{
    ScopedFakeMessages fake;
    setMainWindowForMsgBox(nullptr);
    EXPECT_EQ(ShowMsgBox(QStringLiteral("Es wurden keine Einträge gefunden."), 0), MsgResult::OK);
    ASSERT_EQ(fake->shown.size(), 1);

    // A window closed by an event that ran while the box was open is not touched afterwards.
    auto* window = new QWidget;
    window->show();
    setMainWindowForMsgBox(window);
    fake->onMessage = [&](const FakeMessageService::Shown&) { delete window; };
    EXPECT_EQ(ShowMsgBox(QStringLiteral("x"), 0), MsgResult::OK);
    EXPECT_EQ(fake->shown.size(), 2);
    setMainWindowForMsgBox(nullptr);
}

TEST(ClsCursor, RestoreGivesBackThePointerTheScreenHadWhenBusyWasSet)
{
    for (int screen : {0, 11}) {
        clsCursor::setScreenMousePointer(screen);
        clsCursor cursor;
        QWidget selection, other;
        cursor.SetCursorToBusy(&selection);
        EXPECT_EQ(clsCursor::mousePointer(&selection), 11);
        EXPECT_EQ(selection.cursor().shape(), Qt::WaitCursor);

        clsCursor::setScreenMousePointer(screen == 0 ? 11 : 0); // a later change of the screen does not count
        cursor.RestoreCursor(&other);                           // the window passed gets it
        EXPECT_EQ(clsCursor::mousePointer(&other), screen);
        EXPECT_EQ(clsCursor::mousePointer(&selection), 11);
        cursor.RestoreCursor(&selection);
        EXPECT_EQ(clsCursor::mousePointer(&selection), screen);
        EXPECT_EQ(selection.cursor().shape() == Qt::WaitCursor, screen == 11);
    }
    clsCursor::setScreenMousePointer(0);
    EXPECT_EQ(clsCursor::mousePointer(nullptr), 0);
}

} // namespace
