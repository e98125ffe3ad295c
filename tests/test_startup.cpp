// Start-up: the splash, the choice of the database to open, and what happens
// when the chosen database cannot be used.
#include "MainWindowFixture.h"

#include "mainwindow/Progress.h"
#include "platform/HelpViewer.h"
#include "selection/Form2.h"
#include "selection/Liste.h"
#include "support/AsNobody.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
const QString kErrPrefix = QStringLiteral("Es trat folgender Fehler auf: \r");
}

class StartupTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
        makeLanguageDb(QStringLiteral("Ungarisch.lxt"), QStringLiteral("Ungarisch"));
    }

    // The state the main window shows when no database is open.
    void expectNoDatabase(Form1& f)
    {
        EXPECT_TRUE(f.DBName.isEmpty());
        EXPECT_FALSE(f.clsdb.dbKopieren);
        EXPECT_FALSE(f.clsdb.rsKopieren);
        EXPECT_FALSE(f.clsdb.rsVokabular);
        EXPECT_EQ(labelText(f, "Lang1Label"), QStringLiteral("<keine>"));
        EXPECT_EQ(labelText(f, "Lang2Label"), QStringLiteral("<keine>"));
        for (const char* name : {"Command1", "Grid", "Command2"})
            EXPECT_FALSE(child<QPushButton>(f, name)->isEnabled()) << name;
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(f.bLoading);
        EXPECT_EQ(endCalls, 0);
        EXPECT_EQ(Forms::splash(), nullptr);
    }
};

TEST_F(StartupTest, SplashShowsProductVersionAndLoadingStatus)
{
    auto* splash = new frmSplash;
    EXPECT_EQ(splash->Label2->text(), QStringLiteral("Lexuvant V3.0B"));
    EXPECT_EQ(splash->lblPlatform->text(), QStringLiteral("für Linux"));
    EXPECT_EQ(splash->labStatus->text(), QStringLiteral("Programm wird geladen ..."));
    EXPECT_EQ(splash->ProgressBar1->value(), 1);
    EXPECT_EQ(splash->Timer1->interval(), 2000);
    EXPECT_TRUE(splash->Timer1->isActive());
    EXPECT_EQ(Forms::splash(), splash);
    EXPECT_FALSE(Forms::isLoaded(nullptr));
}

TEST_F(StartupTest, RecentDatabaseChoosesTheFileToOpen)
{
    struct Case {
        const char* name;
        QString recent;
        QString expectedLanguage;
    };
    const QString appDir = dir.path();
    const QList<Case> cases = {
        {"no setting", QString(), QStringLiteral("Englisch")},
        {"language database in the program folder", appDir + QStringLiteral("/Ungarisch.lxt"), QStringLiteral("Ungarisch")},
        {"same name in another folder", QStringLiteral("/somewhere/else/Ungarisch.lxt"), QStringLiteral("Englisch")},
        {"other letter case", appDir + QStringLiteral("/ungarisch.lxt"), QStringLiteral("Englisch")},
        {"not a language database name", appDir + QStringLiteral("/Mein.lxt"), QStringLiteral("Englisch")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        msgs->clear();
        if (c.recent.isEmpty())
            SettingsStore::DeleteSetting(QStringLiteral("lexuvan"), QStringLiteral("Parameters"));
        else
            setRecentDB(c.recent);
        Form1& f = startUp();
        EXPECT_EQ(f.DBName, inApp(c.expectedLanguage + QStringLiteral(".lxt")));
        EXPECT_EQ(f.lang1, QStringLiteral("Deutsch"));
        EXPECT_EQ(f.lang2, c.expectedLanguage);
        EXPECT_EQ(f.lang2_main, QStringLiteral("Lang2_Main"));
        EXPECT_TRUE(f.clsdb.rsKopieren && f.clsdb.rsKopieren->isOpen());
        EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(f.bLoading);
        EXPECT_EQ(f.Marke_bmp, AppPaths::picturePath(QStringLiteral("marke.png")));
        // A database with entries and no list: only the selection is offered.
        EXPECT_TRUE(child<QPushButton>(f, "Command1")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(f, "Grid")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(f, "Command2")->isEnabled());
        EXPECT_TRUE(Forms::listeLoaded());
        EXPECT_FALSE(Forms::liste().isVisible());
        EXPECT_FALSE(Forms::form2Loaded() && Forms::form2().isVisible());
        EXPECT_FALSE(Forms::progressLoaded());
        EXPECT_EQ(Forms::splash(), nullptr);
        Forms::unloadAll();
    }
}

TEST_F(StartupTest, ShippedSampleDatabaseOpens)
{
    const QString shipped = TestFiles::shippedDatabaseDir() + QStringLiteral("/Englisch.lxt");
    if (!QFileInfo::exists(shipped))
        GTEST_SKIP() << "shipped databases not built";
    QFile::remove(inApp(QStringLiteral("Englisch.lxt")));
    ASSERT_TRUE(QFile::copy(shipped, inApp(QStringLiteral("Englisch.lxt"))));
    QFile::setPermissions(inApp(QStringLiteral("Englisch.lxt")), QFile::ReadOwner | QFile::WriteOwner);
    Form1& f = startUp();
    EXPECT_EQ(f.lang2, QStringLiteral("Englisch"));
    EXPECT_FALSE(f.DBEmpty);
    EXPECT_TRUE(msgs->shown.isEmpty());
}

TEST_F(StartupTest, LoadStepReportsEveryStageUpTo100)
{
    auto* splash = new frmSplash;
    QList<int> values;
    QStringList statuses;
    QObject::connect(splash->ProgressBar1, &QProgressBar::valueChanged, [&](int v) { values << v; });
    // The status texts are read whenever the bar moves.
    QObject::connect(splash->ProgressBar1, &QProgressBar::valueChanged, [&](int) {
        if (statuses.isEmpty() || statuses.last() != splash->labStatus->text())
            statuses << splash->labStatus->text();
    });
    Form1& f = Forms::form1();
    f.Form_Load();
    EXPECT_EQ(splash->ProgressBar1->value(), 100);
    ASSERT_FALSE(values.isEmpty());
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    for (int v : {5, 10, 22, 40, 50, 55, 60, 62, 80, 81, 95})
        EXPECT_TRUE(values.contains(v)) << v;
    // The stages in their order, each status shown once.
    const QStringList expectedStatuses = {
        QStringLiteral("Programm wird geladen ..."),
        QStringLiteral("Datenbank wird geöffnet ..."),
        QStringLiteral("Datenbank geöffnet ..."),
        QStringLiteral("Sprachen werden extrahiert ..."),
        QStringLiteral("Datenbank wird gelesen ..."),
        QStringLiteral("Vokabelliste initialisieren ..."),
        QStringLiteral("Vokabeltrainer initialisieren ..."),
    };
    EXPECT_EQ(statuses, expectedStatuses);
    // Right-aligned in a label of fixed width: a wider text loses its start.
    for (const QString& status : statuses)
        EXPECT_LE(splash->labStatus->fontMetrics().horizontalAdvance(status), splash->labStatus->contentsRect().width())
            << status.toStdString();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Lexuvant"));
    EXPECT_EQ(HelpViewer::appHelpFile(), AppPaths::helpDir() + QStringLiteral("/lexuvan.hlp"));
    delete splash;
    // Reports after the splash has gone do nothing.
    Forms::splashProgress(50, "x", "y");
    EXPECT_EQ(Forms::splash(), nullptr);
}

TEST_F(StartupTest, UnusableSampleDatabaseLeavesTheProgramWithoutDatabase)
{
    // As a language button refuses it: the file named, then what is wrong.
    const auto refused = [this](const QString& fault) {
        return kErrPrefix + QStringLiteral("Die Datei ist keine gültige Sprachdatenbank.\rDatei: ")
               + inApp(QStringLiteral("Englisch.lxt")) + QLatin1Char('\r') + fault;
    };
    struct Case {
        const char* name;
        std::function<void(const QString&)> spoil;
        QString expectedPrompt; // empty: the box starts with the error prefix
        int boxes;
    };
    const QList<Case> cases = {
        {"missing", [](const QString& p) { QFile::remove(p); }, QString(), 1},
        {"not a database at all",
         [](const QString& p) {
             QFile::remove(p);
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("this is no database file, just some text\n");
         },
         QString(), 1},
        {"language pair cannot be read",
         [](const QString& p) {
             TestDatabase db(p, TestDatabase::OpenExisting);
             db.setLanguages(QStringLiteral("@x=Deutsch@"));
         },
         refused(QStringLiteral("Die Sprachen der Datei sind nicht lesbar (Eigenschaft \"Languages\" der Tabelle "
                                "\"Vokabular\").")),
         1},
        {"a table is missing",
         [](const QString& p) {
             TestDatabase db(p, TestDatabase::OpenExisting);
             db.dropTable(QStringLiteral("Synonyme"));
         },
         refused(QStringLiteral("Die Tabelle \"Synonyme\" fehlt.")), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        msgs->clear();
        SettingsStore::DeleteSetting(QStringLiteral("lexuvan"), QStringLiteral("Parameters"));
        const QString sample = makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"));
        c.spoil(sample);
        Form1& f = startUp();
        ASSERT_EQ(msgs->shown.size(), c.boxes) << prompts().join(QLatin1Char('|')).toStdString();
        if (c.expectedPrompt.isEmpty())
            EXPECT_TRUE(msgs->shown.first().prompt.startsWith(kErrPrefix)) << msgs->shown.first().prompt.toStdString();
        else
            EXPECT_EQ(msgs->shown.first().prompt, c.expectedPrompt);
        EXPECT_EQ(msgs->shown.first().style, 16);
        expectNoDatabase(f);
        // Another language can still be chosen.
        msgs->clear();
        child<QPushButton>(f, "Command14")->click();
        EXPECT_EQ(f.DBName, inApp(QStringLiteral("Ungarisch.lxt")));
        EXPECT_TRUE(child<QPushButton>(f, "Command1")->isEnabled());
        EXPECT_TRUE(msgs->shown.isEmpty()) << prompts().join(QLatin1Char('|')).toStdString();
        Forms::unloadAll();
    }
}

TEST_F(StartupTest, EmptyDatabaseIsReportedAndOnlyTheListIsOffered)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), 0);
    auto* splash = new frmSplash;
    QString statusDuringBox;
    msgs->onMessage = [&](const FakeMessageService::Shown&) {
        if (Forms::splash())
            statusDuringBox = Forms::splash()->labStatus->text();
    };
    splash->Timer1_Timer();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Form1& f = Forms::form1();
    ASSERT_EQ(prompts(), QStringList{QStringLiteral("Die Datenbank ist leer!")});
    EXPECT_EQ(statusDuringBox, QStringLiteral("Datenbank ist leer"));
    EXPECT_TRUE(f.DBEmpty);
    EXPECT_EQ(f.DBName, inApp(QStringLiteral("Englisch.lxt")));
    EXPECT_FALSE(child<QPushButton>(f, "Command1")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(f, "Grid")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(f, "Command2")->isEnabled());
    EXPECT_EQ(Forms::splash(), nullptr);
    EXPECT_TRUE(f.isVisible());
}

TEST_F(StartupTest, KeyPressBringsTheMainWindowAtOnceAndTheTimerWorksOnce)
{
    makeLanguageDb(QStringLiteral("Englisch.lxt"), QStringLiteral("Englisch"), 0); // one box per load step
    QPointer<frmSplash> splash = new frmSplash;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(splash, &key);
    EXPECT_EQ(endCalls, 0);
    EXPECT_EQ(Forms::splash(), nullptr);
    ASSERT_TRUE(splash); // deleted later, not inside its own event
    EXPECT_FALSE(splash->isVisible());
    EXPECT_TRUE(Forms::form1().isVisible());
    EXPECT_EQ(msgs->shown.size(), 1);

    // A late tick or key press does nothing: no second load step.
    Form1* first = &Forms::form1();
    splash->Timer1_Timer();
    QCoreApplication::sendEvent(splash, &key);
    EXPECT_EQ(msgs->shown.size(), 1);
    EXPECT_EQ(&Forms::form1(), first);
    EXPECT_EQ(Forms::splash(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(splash);
}

TEST_F(StartupTest, TimerShowsTheMainWindowAfterTwoSeconds)
{
    QPointer<frmSplash> splash = new frmSplash;
    splash->show();
    // Nothing but the splash before its timer has fired.
    QCoreApplication::processEvents();
    EXPECT_TRUE(splash && splash->isVisible());
    EXPECT_TRUE(Forms::splash());
    // The wait is only a bound for a hung run, not part of what is checked.
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 60000);
    EXPECT_TRUE(Forms::form1().isVisible());
    EXPECT_EQ(Forms::form1().DBName, inApp(QStringLiteral("Englisch.lxt")));
}

TEST_F(StartupTest, UserDatabasesAreCopiedOnceAndMadeWritable)
{
    QTemporaryDir templates;
    QDir().mkpath(templates.path() + QStringLiteral("/databases"));
    for (const QString& name : AppPaths::languageDatabaseNames()) {
        QFile t(templates.path() + QStringLiteral("/databases/") + name);
        ASSERT_TRUE(t.open(QIODevice::WriteOnly));
        t.write("template");
        t.close();
        QFile::setPermissions(t.fileName(), QFile::ReadOwner);
    }
    AppPaths::setResourceDir(templates.path());
    QTemporaryDir user;
    AppPaths::setAppPath(user.path());
    {
        QFile mine(user.path() + QStringLiteral("/Spanisch.lxt"));
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("mine");
    }
    EXPECT_EQ(AppPaths::ensureUserDatabases(), QString());
    AppPaths::setResourceDir(QString());

    EXPECT_EQ(AppPaths::languageDatabaseNames().size(), 10);
    for (const QString& name : AppPaths::languageDatabaseNames()) {
        SCOPED_TRACE(name.toStdString());
        QFile f(user.path() + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), name == QStringLiteral("Spanisch.lxt") ? QByteArray("mine") : QByteArray("template"));
        EXPECT_TRUE(f.permissions() & QFile::WriteOwner);
    }
    EXPECT_EQ(AppPaths::picturePath(QStringLiteral("GB.bmp")),
              AppPaths::resourceDir() + QStringLiteral("/pictures/GB.bmp"));
}

TEST_F(StartupTest, DataFolderThatCannotTakeTheDatabasesGivesOneBoxAndNoDatabase)
{
    QTemporaryDir data;
    AsNobody::makeReadOnly(data.path());
    AsNobody::openPath(data.path());
    AsNobody::runTest(QStringLiteral("StartupTest.DISABLED_DataFolderThatCannotTakeTheDatabasesChild"),
                      {{"LEXUVANT_CHILD_DIR", QFile::encodeName(data.path())}});
}

// The child of the test above, as nobody: the data folder is read-only.
TEST_F(StartupTest, DISABLED_DataFolderThatCannotTakeTheDatabasesChild)
{
    const QString data = qEnvironmentVariable("LEXUVANT_CHILD_DIR");
    // The folder exists read-only, or cannot be created inside it.
    for (const QString& folder : {data, data + QStringLiteral("/lexuvant")}) {
        SCOPED_TRACE(folder.toStdString());
        msgs->clear();
        AppPaths::setAppPath(folder);
        const QString problem = AppPaths::ensureUserDatabases();
        EXPECT_EQ(problem, QStringLiteral("Die Sprachdatenbanken konnten nicht in den Ordner \"%1\" kopiert werden: "
                                          "keine Schreibberechtigung.")
                               .arg(folder));
        Form1::setStartupError(problem);
        Form1& f = startUp();
        EXPECT_EQ(prompts(), QStringList{kErrPrefix + problem});
        expectNoDatabase(f);
        Forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

namespace {
// After five seconds, opens the named pipe at path for writing again and
// again, so that a reader blocked in open() reads an empty file instead of
// hanging the test; released() tells whether that was needed.
class PipeWatchdog {
public:
    explicit PipeWatchdog(const QString& path) : m_path(QFile::encodeName(path)), m_thread([this] { watch(); }) {}
    ~PipeWatchdog()
    {
        m_done = true;
        m_thread.join();
    }
    bool released() const { return m_released; }

private:
    void watch()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!m_done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (std::chrono::steady_clock::now() < deadline)
                continue;
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                m_released = true;
                ::close(fd);
            }
        }
    }

    QByteArray m_path;
    std::atomic<bool> m_done{false}, m_released{false};
    std::thread m_thread;
};
} // namespace

// A settings file that is no regular file: one box naming it, the start goes
// on with the defaults, and nothing is written there (a named pipe would
// otherwise block the start for ever).
TEST_F(StartupTest, SettingsFileThatIsNoRegularFileGivesOneBoxAndTheDefaults)
{
    const QString savedRoot = QFileInfo(SettingsStore::fileName(QStringLiteral("lexuvan"))).path();
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "named pipe" : "folder");
        QTemporaryDir config;
        SettingsStore::setRoot(config.path());
        const QString ini = config.filePath(QStringLiteral("lexuvan.ini"));
        ASSERT_EQ(pipe ? ::mkfifo(QFile::encodeName(ini).constData(), 0600)
                       : ::mkdir(QFile::encodeName(ini).constData(), 0700),
                  0);
        msgs->clear();
        {
            PipeWatchdog guard(ini);
            Form1& f = startUp();
            EXPECT_EQ(f.DBName, inApp(QStringLiteral("Englisch.lxt")));
            EXPECT_EQ(f.NumExceptions, 0);
            SettingsStore::SaveSetting(QStringLiteral("lexuvan"), QStringLiteral("Exceptions"), QStringLiteral("Exc_1"),
                                       QStringLiteral("ae"));
            EXPECT_FALSE(guard.released()) << "the start waited for a writer to the settings file";
        }
        EXPECT_EQ(prompts(), QStringList{kErrPrefix
                                         + QStringLiteral("Die Einstellungsdatei \"%1\" ist keine gewöhnliche "
                                                          "Datei, sondern %2. Das Programm arbeitet mit den "
                                                          "Voreinstellungen weiter und speichert darin keine "
                                                          "Einstellungen.")
                                               .arg(ini, pipe ? QStringLiteral("eine benannte Pipe (FIFO)")
                                                              : QStringLiteral("ein Ordner"))});
        EXPECT_FALSE(QFileInfo(ini).isFile()) << "nothing was written in its place";
        Forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    SettingsStore::setRoot(savedRoot);
}
