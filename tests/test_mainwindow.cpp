// The main window at rest: which commands are offered in which state, what
// the labels show, the clean-up when quitting, and the small helpers.
#include "MainWindowFixture.h"

#include "mainwindow/Progress.h"
#include "mainwindow/frmAboutBox.h"
#include "selection/Form2.h"
#include "selection/Liste.h"
#include "selection/frmSuchen.h"

#include "platform/HelpViewer.h"
#include "platform/MSFlexGrid.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/Trainer.h"
#include "trainer/frmOptions.h"

#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <memory>

class MainWindowStateTest : public MainWindowTest {};

TEST_F(MainWindowStateTest, CommandsFollowTheState)
{
    struct Case {
        const char* name;
        bool database, empty, listFilled;
        bool auswahl, liste, trainer; // expected: Command1/Grid/Command2 and their menu items
    };
    const Case cases[] = {
        {"no database", false, false, false, false, false, false},
        {"empty database", true, true, false, false, true, false},
        {"database, no list", true, false, false, true, false, false},
        {"list with entries", true, false, true, true, true, true},
        // Back to no database after a list existed: everything off again.
        {"no database again", false, false, true, false, false, false},
    };
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
    Form1& f = Forms::form1();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.DBName = c.database ? inApp(QStringLiteral("Englisch.lxt")) : QString();
        f.DBEmpty = c.empty;
        f.ListeNichtLeer = c.listFilled;
        f.GreyOut();
        EXPECT_EQ(child<QPushButton>(f, "Command1")->isEnabled(), c.auswahl);
        EXPECT_EQ(child<QAction>(f, "Menu_Ansicht_Auswahl")->isEnabled(), c.auswahl);
        EXPECT_EQ(child<QPushButton>(f, "Grid")->isEnabled(), c.liste);
        EXPECT_EQ(child<QAction>(f, "Menu_Auswahl_Liste")->isEnabled(), c.liste);
        EXPECT_EQ(child<QPushButton>(f, "Command2")->isEnabled(), c.trainer);
        EXPECT_EQ(child<QAction>(f, "Menu_Ansicht_Vokabeltrainer")->isEnabled(), c.trainer);
        EXPECT_EQ(child<QAction>(f, "Datei_Drucken")->isEnabled(), c.trainer);
        // Never disabled.
        EXPECT_TRUE(child<QMenu>(f, "Menu_Ansicht")->menuAction()->isEnabled());
        EXPECT_TRUE(child<QPushButton>(f, "Command4")->isEnabled());
        EXPECT_TRUE(child<QAction>(f, "Menu_Datei_Beenden")->isEnabled());
        EXPECT_TRUE(child<QPushButton>(f, "cmdDaenisch")->isEnabled());
        EXPECT_TRUE(child<QAction>(f, "mnSpracheUngarisch")->isEnabled());
        EXPECT_TRUE(child<QAction>(f, "mnuHelpInfo")->isEnabled());
    }
}

TEST_F(MainWindowStateTest, LabelsShowTheOpenDatabase)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), 5);
    Form1& f = Forms::form1();
    f.ConditionToUI();
    EXPECT_EQ(labelText(f, "Lang1Label"), QStringLiteral("<keine>"));
    EXPECT_EQ(labelText(f, "Lang2Label"), QStringLiteral("<keine>"));
    EXPECT_EQ(labelText(f, "DBAnzeige"), QStringLiteral("Datenbank: <keine>"));
    EXPECT_EQ(labelText(f, "AnzahlLabel"), QStringLiteral("Anzahl Einträge: <keine>"));

    f.Open_DB(QStringLiteral("Englisch.lxt"));
    EXPECT_EQ(labelText(f, "Lang1Label"), QStringLiteral("Deutsch"));
    EXPECT_EQ(labelText(f, "Lang2Label"), QStringLiteral("Englisch"));
    EXPECT_EQ(f.lang2LabelCaption(), QStringLiteral("Englisch"));
    EXPECT_TRUE(labelText(f, "DBAnzeige").startsWith(QStringLiteral("Datenbank: ")));
    const long count = f.clsdb.rsKopieren->RecordCount();
    EXPECT_GE(count, 1);
    EXPECT_EQ(labelText(f, "AnzahlLabel"), QStringLiteral("Anzahl Einträge: %1").arg(count));
    // The list header carries the language names.
    EXPECT_EQ(Forms::liste().MSFlexGrid1->TextMatrix(0, Liste::txtSpanisch), QStringLiteral("Deutsch"));
    EXPECT_EQ(Forms::liste().MSFlexGrid1->TextMatrix(0, Liste::txtDeutsch), QStringLiteral("Englisch"));
    EXPECT_EQ(Forms::liste().mnDeutsch->text(), QStringLiteral("nach Englisch"));

    // Every language name is shown whole and fits its label.
    for (const QString& file : AppPaths::languageDatabaseNames()) {
        const QString name = file.chopped(4);
        f.lang2 = name;
        f.SetzeAnzeigen();
        QLabel* l = child<QLabel>(f, "Lang2Label");
        EXPECT_EQ(l->text(), name);
        EXPECT_LE(l->fontMetrics().horizontalAdvance(name), l->width()) << name.toStdString();
    }

    // A name too wide for its label is cut with "...", keeping at least one character.
    f.lang2 = QString(200, QLatin1Char('W'));
    f.SetzeAnzeigen();
    const QString cut = labelText(f, "Lang2Label");
    EXPECT_TRUE(cut.endsWith(QStringLiteral("...")));
    EXPECT_GE(cut.size(), 4);
    EXPECT_LT(cut.size(), 200);

    // The count cannot be read: it shows 0 and nothing is reported.
    f.clsdb.rsKopieren.reset();
    f.SetzeAnzeigen();
    EXPECT_EQ(labelText(f, "AnzahlLabel"), QStringLiteral("Anzahl Einträge: 0"));
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(MainWindowStateTest, ActivationRefreshesTheWindow)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
    Form1& f = Forms::form1();
    f.Open_DB(QStringLiteral("Englisch.lxt"));
    f.ListeNichtLeer = true;
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&f, &activate);
    EXPECT_TRUE(child<QPushButton>(f, "Command2")->isEnabled());
}

// A database with things the clean-up must remove and things it must keep.
class QuitTest : public MainWindowTest {
protected:
    qint64 usedArea = 0, usedGramm = 0, usedFunkt = 0, entry = 0;
    void SetUp() override
    {
        MainWindowTest::SetUp();
        TestDatabase db(inApp(QStringLiteral("Englisch.lxt")));
        db.setLanguages(QStringLiteral("Sprache1=Deutsch@Sprache2=Englisch@")).setDBVersion(2);
        entry = db.addEntry({{}, QStringLiteral("Hund")}, {{}, QStringLiteral("dog")});
        usedArea = db.addArea(QStringLiteral("Tiere"));
        db.addArea(QStringLiteral("Unbenutzt"));
        db.linkArea(entry, usedArea);
        usedGramm = db.addGrammAttribute(QStringLiteral("Substantiv"));
        db.addGrammAttribute(QStringLiteral("Verb"));
        db.linkGramm(entry, usedGramm);
        usedFunkt = db.addFunktAttribute(QStringLiteral("neutral"));
        db.addFunktAttribute(QStringLiteral("derb"));
        db.linkFunkt(entry, usedFunkt);
        db.addSynonym(entry, 2, {{}, QStringLiteral("hound")});
        db.addSynonym(entry + 100, 2, {{}, QStringLiteral("verwaist")});
    }

    void expectCleanedUp()
    {
        TestDatabase check(inApp(QStringLiteral("Englisch.lxt")), TestDatabase::OpenExisting);
        EXPECT_EQ(check.texts(QStringLiteral("SELECT Bereich_Text FROM Bereiche")), QStringList{QStringLiteral("Tiere")});
        EXPECT_EQ(check.texts(QStringLiteral("SELECT Attribut_Text FROM GrammatikalischeAttribute")),
                  QStringList{QStringLiteral("Substantiv")});
        EXPECT_EQ(check.texts(QStringLiteral("SELECT Attribut_Text FROM FunktionaleAttribute")),
                  QStringList{QStringLiteral("neutral")});
        EXPECT_EQ(check.texts(QStringLiteral("SELECT Main FROM Synonyme")), QStringList{QStringLiteral("hound")});
        EXPECT_EQ(check.count(QStringLiteral("Bereiche_Zwischen")), 1);
    }
};

TEST_F(QuitTest, QuitButtonCleansUpAndEnds)
{
    Form1& f = startUp();
    ASSERT_EQ(f.DBName, inApp(QStringLiteral("Englisch.lxt")));
    EXPECT_THROW(child<QPushButton>(f, "Command4")->click(), ProcessEnded);
    EXPECT_EQ(endCalls, 1);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(Forms::liste().isVisible());
    EXPECT_FALSE(f.clsdb.dbKopieren && f.clsdb.dbKopieren->isOpen());
    expectCleanedUp();
    EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
}

TEST_F(QuitTest, ClosingTheWindowRunsTheQuitSequence)
{
    Form1& f = startUp();
    f.Open_DB(QStringLiteral("Englisch.lxt"));
    EXPECT_TRUE(Forms::form2().isVisible());
    f.close();
    EXPECT_EQ(endCalls, 1);
    EXPECT_FALSE(Forms::form2().isVisible());
    expectCleanedUp();
}

// Another program holds the file when the program quits: the clean-up waits
// for it as a write does; held longer, the clean-up is skipped without a word,
// as it changes nothing of the learner's.
class QuitWhileLockedTest : public QuitTest {
protected:
    std::unique_ptr<TestDatabase> other;
    void SetUp() override
    {
        QuitTest::SetUp();
        other = std::make_unique<TestDatabase>(inApp(QStringLiteral("Englisch.lxt")), TestDatabase::OpenExisting);
        other->exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    void TearDown() override
    {
        other.reset();
        QuitTest::TearDown();
    }
};

TEST_F(QuitWhileLockedTest, CleanUpWaitsForTheLock)
{
    Form1& f = startUp();
    QTimer::singleShot(300, qApp, [this] { other->exec(QStringLiteral("COMMIT")); });
    EXPECT_THROW(f.Command4_Click(), ProcessEnded);
    EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
    expectCleanedUp();
}

TEST_F(QuitWhileLockedTest, LockHeldLongerSkipsTheCleanUpWithoutABox)
{
    Form1& f = startUp();
    EXPECT_THROW(f.Command4_Click(), ProcessEnded);
    other->exec(QStringLiteral("COMMIT"));
    EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(other->count(QStringLiteral("Bereiche")), 2);
}

TEST_F(QuitTest, QuitWithoutDatabaseOnlyEnds)
{
    Form1& f = Forms::form1();
    EXPECT_THROW(f.Command4_Click(), ProcessEnded);
    EXPECT_EQ(endCalls, 1);
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(QuitTest, UnsavedChangesQuestionCanKeepTheProgramRunning)
{
    Form1& f = startUp();
    Forms::liste().lfd = 1;
    msgs->queueAnswer(MsgResult::No);
    f.close();
    EXPECT_EQ(endCalls, 0);
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_EQ(msgs->shown.first().prompt,
              QStringLiteral("Es wurden noch nicht alle Änderungen gesichert! Wirklich beenden?"));
    EXPECT_EQ(msgs->shown.first().style, 292);
    EXPECT_TRUE(Forms::liste().isVisible());
    EXPECT_TRUE(f.isVisible());

    msgs->queueAnswer(MsgResult::Yes);
    EXPECT_THROW(f.Command4_Click(), ProcessEnded);
    EXPECT_EQ(Forms::liste().lfd, 0);
    expectCleanedUp();
}

TEST_F(MainWindowStateTest, EqualCharacterPairsAreReadBackAtStartUp)
{
    // Stored as the options window writes them: its hidden blank row is "",
    // and a value that is not two characters is no pair (an emoji is one
    // character in two code units, never a pair of halves).
    const QStringList stored = {QStringLiteral("ae"), QString(),
                                QStringLiteral("x"),  QStringLiteral("xyz"),
                                QStringLiteral("ßs"), QStringLiteral("\U0001F600"),
                                QStringLiteral("ou")};
    const QString section = QStringLiteral("Exceptions");
    for (int i = 0; i < stored.size(); ++i)
        SettingsStore::SaveSetting(QStringLiteral("lexuvan"), section, QStringLiteral("Exc_%1").arg(i + 1), stored[i]);
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
    Form1& f = startUp();
    SettingsStore::DeleteSetting(QStringLiteral("lexuvan"), section);
    ASSERT_EQ(f.NumExceptions, 3);
    EXPECT_EQ(f.ReturnIteExceptionL(2) + f.ReturnIteExceptionR(2), QStringLiteral("ßs"));
    EXPECT_EQ(f.WorkInException(QStringLiteral("Straße o")), QStringLiteral("Strese u"));
    EXPECT_EQ(f.WorkInException(QString()), QString());
    EXPECT_TRUE(msgs->shown.isEmpty());
    // A count raised past the pairs must not read past the table.
    f.NumExceptions = 5;
    EXPECT_EQ(f.WorkInException(QStringLiteral("abc")), QStringLiteral("ebc"));
    EXPECT_EQ(f.ReturnIteExceptionL(4), QStringLiteral(" "));
    EXPECT_EQ(f.ReturnIteExceptionR(0), QStringLiteral(" "));
    EXPECT_EQ(prompts(), (QStringList{QStringLiteral("FEHLER in ReturnIteExceptionL"),
                                      QStringLiteral("FEHLER in ReturnIteExceptionR")}));
}

// All pairs of a large settings file are read, up to the first missing number.
TEST_F(MainWindowStateTest, ManyStoredPairsAreReadWhole)
{
    const int n = 100000;
    auto pair = [](int i) { return QByteArray(1, char('a' + i % 26)) + char('A' + i / 26 % 26); };
    const QString file = SettingsStore::fileName(QStringLiteral("lexuvan"));
    {
        QByteArray text = "[Exceptions]\n";
        for (int i = 1; i <= n; ++i)
            text += "Exc_" + QByteArray::number(i) + '=' + pair(i) + '\n';
        text += "Exc_" + QByteArray::number(n + 2) + "=zz\n";
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
    Form1& f = startUp();
    QFile::remove(file);
    ASSERT_EQ(f.NumExceptions, n);
    for (const int i : {1, 2, 677, n})
        EXPECT_EQ(f.ReturnIteExceptionL(i) + f.ReturnIteExceptionR(i), QString::fromLatin1(pair(i))) << i;
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(MainWindowStateTest, ProgressBarShowsValuesInsideItsRange)
{
    Progress& p = Forms::progress();
    EXPECT_FALSE(p.txtStatus->isVisible());
    struct Case {
        double min, max, value;
        int shown;
    };
    const Case cases[] = {{0, 100, 50, 50}, {0, 100, 250, 100}, {0, 10, 10.4, 10}, {5, 10, 1, 5}, {0, 1, 0.6, 1}};
    for (const Case& c : cases) {
        p.setMin(c.min);
        p.setMax(c.max);
        p.setValue(c.value);
        EXPECT_EQ(p.Value(), c.value);
        EXPECT_EQ(p.ProgressBar1->value(), c.shown) << c.value;
        EXPECT_EQ(p.ProgressBar1->maximum(), int(c.max));
    }
    p.Refresh(true);
    p.Refresh();
}

TEST_F(MainWindowStateTest, FixedSizeWindowsOfferNoMaximiseAndDialogsNoMinimise)
{
    frmAboutBox about;
    ConfirmDlg confirm;
    frmOptions options;
    struct Case {
        QWidget* window;
        bool minimise;
    };
    const Case cases[] = {
        {&Forms::form1(), true}, {&Forms::trainer(), false}, {&about, false}, {&confirm, false}, {&options, false}};
    for (const Case& c : cases) {
        const Qt::WindowFlags flags = c.window->windowFlags();
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint) << qPrintable(c.window->windowTitle());
        EXPECT_EQ(bool(flags & Qt::WindowMinimizeButtonHint), c.minimise) << qPrintable(c.window->windowTitle());
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << qPrintable(c.window->windowTitle());
        EXPECT_EQ(c.window->minimumSize(), c.window->maximumSize()) << qPrintable(c.window->windowTitle());
    }
}

TEST_F(MainWindowStateTest, UpgradeOfACurrentDatabaseReportsTheEngineMessage)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
    Form1& f = Forms::form1();
    f.Open_DB(QStringLiteral("Englisch.lxt"));
    f.Command5_Click();
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_FALSE(msgs->lastPrompt().isEmpty());
    EXPECT_EQ(msgs->shown.first().style, 0);
    EXPECT_FALSE(child<QPushButton>(f, "Command5")->isVisible());
    EXPECT_FALSE(f.clsdb.rsKopieren && f.clsdb.rsKopieren->isOpen());
}

TEST_F(MainWindowStateTest, UpgradeAddsTheAdditionalInformationColumnOnce)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), 2);
    {
        TestDatabase older(inApp(QStringLiteral("Englisch.lxt")), TestDatabase::OpenExisting);
        older.exec(QStringLiteral("ALTER TABLE Vokabular DROP COLUMN Zusatzinfo"));
    }
    Form1& f = Forms::form1();
    f.Open_DB(QStringLiteral("Englisch.lxt"));
    ASSERT_FALSE(f.DBName.isEmpty());
    msgs->clear();
    f.Command5_Click();
    EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
    // The record sets stay closed; the window is not refreshed.
    EXPECT_FALSE(f.clsdb.rsKopieren && f.clsdb.rsKopieren->isOpen());
    EXPECT_FALSE(f.clsdb.rsVokabular && f.clsdb.rsVokabular->isOpen());
    EXPECT_EQ(f.DBName, inApp(QStringLiteral("Englisch.lxt")));
    f.clsdb.CloseAllDBObjects();
    {
        TestDatabase check(inApp(QStringLiteral("Englisch.lxt")), TestDatabase::OpenExisting);
        // The existing entries take the empty default.
        EXPECT_EQ(check.texts(QStringLiteral("SELECT Zusatzinfo FROM Vokabular")), (QStringList{QString(), QString()}));
        EXPECT_EQ(check.scalar(QStringLiteral("SELECT COUNT(*) FROM Vokabular WHERE Zusatzinfo = ''")).toInt(), 2);
    }
    // A second run finds the column there and reports the engine's message.
    f.Command5_Click();
    ASSERT_EQ(msgs->shown.size(), 1);
    EXPECT_FALSE(msgs->lastPrompt().isEmpty());
}

TEST_F(MainWindowStateTest, WritingSingleEntries)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), 1);
    Form1& f = Forms::form1();
    SystemServices::setClock([] { return QDateTime(QDate(2003, 7, 16), QTime(12, 0)); });
    f.schreibeVokabel1(QStringLiteral("Katze"));
    EXPECT_TRUE(msgs->lastPrompt().startsWith(QStringLiteral("Es trat folgender Fehler auf: "))); // nothing open yet
    msgs->clear();
    f.Open_DB(QStringLiteral("Englisch.lxt"));
    f.schreibeVokabel1(QStringLiteral("Katze"));
    SystemServices::setClock(nullptr);
    EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
    TestDatabase check(inApp(QStringLiteral("Englisch.lxt")), TestDatabase::OpenExisting);
    EXPECT_EQ(check.texts(QStringLiteral("SELECT Eingabedatum FROM Vokabular WHERE Lang1_Main = 'Katze'")),
              QStringList{QStringLiteral("20030716")});
    EXPECT_EQ(check.texts(QStringLiteral("SELECT Lang2_Main FROM Vokabular WHERE Lang1_Main = 'Katze'")),
              QStringList{QString()});
}

// With the language code "En" every text of the window, the splash stages and
// the help file are the English ones; the language names stay as they are.
TEST_F(MainWindowStateTest, EnglishTextsReplaceTheGermanOnes)
{
    struct LanguageGuard {
        ~LanguageGuard() { gSprache = QStringLiteral("De"); }
    } guard;
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), 3);
    makeLanguageDb(QStringLiteral("Finnisch.lxt"), QStringLiteral("Finnisch"), 0);
    auto* splash = new frmSplash; // its load step sets the German code
    gSprache = QStringLiteral("En");
    splash->SetUserInterfaceProperties();
    EXPECT_EQ(splash->lblPlatform->text(), QStringLiteral("for Linux"));
    QStringList statuses;
    QObject::connect(splash->ProgressBar1, &QProgressBar::valueChanged, [&](int) {
        if (statuses.isEmpty() || statuses.last() != splash->labStatus->text())
            statuses << splash->labStatus->text();
    });

    Form1& f = Forms::form1();
    f.Form_Load();
    EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(HelpViewer::appHelpFile(), AppPaths::helpDir() + QStringLiteral("/lexuvane.hlp"));
    for (const char* text : {"Opening database ...", "Database is open ...", "Retrieving languages ...",
                             "Reading database ...", "Initializing Vocab List ...", "Initializing Trainer ..."})
        EXPECT_TRUE(statuses.contains(QString::fromLatin1(text))) << text;

    const std::pair<const char*, const char*> menus[] = {
        {"Menu_Datei", "&File"}, {"mnSprache", "Sprache"}, {"Menu_Ansicht", "&View"}, {"mnuHelp", "&?"}};
    for (const auto& [name, title] : menus)
        EXPECT_EQ(child<QMenu>(f, name)->title(), QString::fromLatin1(title)) << name;
    const std::pair<const char*, const char*> items[] = {
        {"Datei_Drucken", "&Print..."},
        {"Menu_Datei_Beenden", "&Quit"},
        {"Menu_Ansicht_Auswahl", "&Selection"},
        {"Menu_Auswahl_Liste", "Vocab &List"},
        {"Menu_Ansicht_Vokabeltrainer", "&Trainer"},
        {"mnuHelpInhalt", "&Content"},
        {"mnuHelpSuchen", "&Search in Help"},
        {"mnuHelpInfo", "&About Trelmoor"},
        {"mnWeb", "Trelmoor in the &Web"},
        {"mnSpracheIslaendisch", "Isländisch"},
    };
    for (const auto& [name, text] : items)
        EXPECT_EQ(child<QAction>(f, name)->text(), QString::fromUtf8(text)) << name;
    // The shortcuts are the same in both languages.
    EXPECT_EQ(child<QAction>(f, "Datei_Drucken")->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(child<QAction>(f, "Menu_Ansicht_Auswahl")->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(child<QAction>(f, "Menu_Auswahl_Liste")->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
    EXPECT_EQ(child<QAction>(f, "Menu_Ansicht_Vokabeltrainer")->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
    const std::tuple<const char*, const char*, const char*> buttons[] = {
        {"Command1", "&Selection", "Opens the Selection Window"},
        {"Grid", "&List", "Opens the Vocab List"},
        {"Command2", "&Trainer", "Opens the Trainer"},
        {"Command4", "&Quit", "Terminates the Application"},
        {"Command9", "", "Isländisch"},
    };
    for (const auto& [name, text, tip] : buttons) {
        EXPECT_EQ(child<QPushButton>(f, name)->text(), QString::fromLatin1(text)) << name;
        EXPECT_EQ(child<QPushButton>(f, name)->toolTip(), QString::fromUtf8(tip)) << name;
    }
    EXPECT_EQ(labelText(f, "Label1"), QStringLiteral("Help: F1"));
    // The count is the record set's, as far as it has been read.
    EXPECT_EQ(labelText(f, "AnzahlLabel"), QStringLiteral("Number of entries: %1").arg(f.clsdb.rsKopieren->RecordCount()));
    EXPECT_TRUE(labelText(f, "DBAnzeige").startsWith(QStringLiteral("Database: ")))
        << labelText(f, "DBAnzeige").toStdString();
    EXPECT_EQ(labelText(f, "Lang2Label"), QStringLiteral("Englisch"));
    EXPECT_EQ(Forms::liste().mnSpanisch->text(), QStringLiteral("by Deutsch"));
    EXPECT_EQ(Forms::liste().mnDeutsch->text(), QStringLiteral("by Englisch"));

    // The messages of opening a database.
    f.Open_DB(QStringLiteral("Finnisch.lxt"));
    EXPECT_EQ(prompts(), QStringList{QStringLiteral("The database is empty!")});
    msgs->clear();
    {
        TestDatabase broken(inApp(QStringLiteral("Spanisch.lxt")));
        broken.dropTable(QStringLiteral("Vokabular"));
    }
    f.Open_DB(QStringLiteral("Spanisch.lxt"));
    EXPECT_EQ(msgs->lastPrompt(), QStringLiteral("The following error occured: \rThe file is not a valid language "
                                                 "database.\rFile: %1\rThe table \"Vokabular\" is missing.")
                                      .arg(inApp(QStringLiteral("Spanisch.lxt"))));
    EXPECT_EQ(labelText(f, "DBAnzeige"), QStringLiteral("Database: <none>"));
    EXPECT_EQ(labelText(f, "Lang1Label"), QStringLiteral("<none>"));
    EXPECT_EQ(labelText(f, "Lang2Label"), QStringLiteral("<none>"));
    EXPECT_EQ(labelText(f, "AnzahlLabel"), QStringLiteral("Number of Entries: <none>"));
    delete splash;
}

// F1 in each window of the program opens the help at that window's topic.
TEST_F(MainWindowStateTest, F1OpensEachWindowsHelpTopic)
{
    struct HelpFileGuard {
        QString saved = HelpViewer::appHelpFile();
        ~HelpFileGuard() { HelpViewer::setAppHelpFile(saved); }
    } guard;
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
    Form1& f = startUp();
    ASSERT_TRUE(HelpViewer::appHelpFile().endsWith(QStringLiteral("/lexuvan.hlp")));
    frmSuchen find;
    const std::pair<QWidget*, const char*> windows[] = {
        {&f, "Das Hauptfenster"},
        {&Forms::form2(), "Das Auswahlfenster"},
        {&Forms::liste(), "Die Vokabelliste"},
        {&find, "Ausdruck suchen"},
    };
    for (const auto& [window, title] : windows) {
        SCOPED_TRACE(title);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_F1);
        EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(HelpViewer::shownPageTitle(), QString::fromUtf8(title));
        window->hide();
    }
    if (HelpViewer::viewerWindow())
        HelpViewer::viewerWindow()->close();
}
