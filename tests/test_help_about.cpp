// Help menu, help viewer, about box, web page command and the drawn pictures.
#include "common/Global.h"
#include "common/HelpKey.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Form1_Help.h"
#include "mainwindow/frmAboutBox.h"
#include "mainwindow/frmSplash.h"
#include "platform/AppPaths.h"
#include "platform/HelpViewer.h"
#include "platform/QtTranslations.h"
#include "platform/Shell.h"
#include "support/AsNobody.h"
#include "support/FakeMessageService.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHelpContentWidget>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QScreen>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>


// Readable QString values in failure messages.
void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

const QString kResources = QStringLiteral(LEXUVANT_BUILD_RESOURCES);
const QString kNoHelpGerman =
    QStringLiteral("Hilfeinhalt konnte nicht angezeigt werden. Dieser Anwendung ist keine Hilfedatei zugeordnet.");

// Restores a global on leaving the test.
struct LanguageGuard {
    QString saved = gSprache;
    ~LanguageGuard() { gSprache = saved; }
};

struct HelpFileGuard {
    QString saved = HelpViewer::appHelpFile();
    ~HelpFileGuard() { HelpViewer::setAppHelpFile(saved); }
};

// ---------------------------------------------------------------- about box

TEST(AboutBox, ShowsCaptionNameAndVersion)
{
    AppPaths::setResourceDir(kResources);
    frmAboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Lexuvant Info"));
    EXPECT_EQ(box.lblTitle->text(), QStringLiteral("Lexuvant"));
    EXPECT_EQ(box.Label5->text(), QStringLiteral("V3.0B"));
    EXPECT_FALSE(box.Image1->pixmap().isNull()) << "splash picture not loaded";
    EXPECT_EQ(box.minimumSize(), box.maximumSize()) << "the about box has a fixed size";
    EXPECT_TRUE(box.cmdOK->isDefault());
}

TEST(AboutBox, EscapeAndEnterCloseIt)
{
    struct Case {
        Qt::Key key;
        int result;
    };
    for (const Case& c : {Case{Qt::Key_Escape, QDialog::Rejected}, Case{Qt::Key_Return, QDialog::Accepted},
                          Case{Qt::Key_Enter, QDialog::Accepted}}) {
        frmAboutBox box;
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        box.cmdOK->setFocus();
        QTest::keyClick(&box, c.key);
        EXPECT_FALSE(box.isVisible()) << "key " << c.key;
        EXPECT_EQ(box.result(), c.result) << "key " << c.key;
    }
}

TEST(AboutBox, NoRegistryMeansNoSystemInformation)
{
    ScopedFakeMessages fake;
    frmAboutBox box;
    QString value = QStringLiteral("stale");
    EXPECT_FALSE(box.GetKeyValue(QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("SOFTWARE"),
                                 QStringLiteral("PATH"), value));
    EXPECT_TRUE(value.isEmpty());
    box.StartSysInfo();
    EXPECT_EQ(fake->lastPrompt(), QStringLiteral("System-Informationen sind augenblicklich nicht verfügbar."));
}

TEST(AboutBox, InfoCommandShowsItModalWithTheMainWindowAsOwner)
{
    ScopedFakeMessages fake;
    Form1 main;
    QString version;
    QWidget* owner = nullptr;
    fake->queueDialog([&](QDialog* dialog) {
        version = dialog->findChild<QLabel*>(QStringLiteral("Label5"))->text();
        owner = dialog->parentWidget();
        return int(QDialog::Accepted);
    });
    main.mnuHelpInfo_Click();
    ASSERT_EQ(fake->dialogTitles, QList<QString>{QStringLiteral("Lexuvant Info")});
    EXPECT_EQ(version, QStringLiteral("V3.0B"));
    EXPECT_EQ(owner, &main);
}

// ---------------------------------------------------------------- help commands

TEST(HelpCommands, WithoutHelpFileBothItemsShowTheInformation)
{
    HelpFileGuard guard;
    HelpViewer::setAppHelpFile(QString());
    Form1 main;
    main.setWindowTitle(QStringLiteral("Lexuvant"));
    for (auto command : {&Form1::mnuHelpInhalt_Click, &Form1::mnuHelpSuchen_Click}) {
        ScopedFakeMessages fake;
        (main.*command)();
        ASSERT_EQ(fake->shown.size(), 1);
        EXPECT_EQ(fake->shown[0].prompt, kNoHelpGerman);
        EXPECT_EQ(fake->shown[0].style, 64);
        EXPECT_EQ(fake->shown[0].title, QStringLiteral("Lexuvant"));
    }
    LanguageGuard language;
    gSprache = QStringLiteral("En");
    ScopedFakeMessages fake;
    main.mnuHelpSuchen_Click();
    EXPECT_EQ(fake->lastPrompt(),
              QStringLiteral("Help content could not be displayed. No help file assigned to this application."));
}

TEST(HelpCommands, MissingHelpFileIsReportedWithItsPath)
{
    HelpFileGuard guard;
    QTemporaryDir dir;
    HelpViewer::setAppHelpFile(dir.filePath(QStringLiteral("lexuvan.hlp")));
    ScopedFakeMessages fake;
    Form1 main;
    main.mnuHelpInhalt_Click();
    ASSERT_EQ(fake->shown.size(), 1);
    EXPECT_TRUE(fake->shown[0].prompt.contains(QStringLiteral("lexuvan.qhc"))) << fake->shown[0].prompt.toStdString();
    EXPECT_EQ(fake->shown[0].style, 0);
}

TEST(HelpViewer, HelpFileNamesMapToTheBuiltCollection)
{
    const QList<QPair<QString, QString>> cases = {
        {QStringLiteral("/opt/x/lexuvan.hlp"), QStringLiteral("/opt/x/lexuvan.qhc")},
        {QStringLiteral("/opt/x/lexuvane.HLP"), QStringLiteral("/opt/x/lexuvane.qhc")},
        {QStringLiteral("/opt/x.y/lexuvan"), QStringLiteral("/opt/x.y/lexuvan.qhc")},
        {QStringLiteral("/opt/x/lexuvan.qhc"), QStringLiteral("/opt/x/lexuvan.qhc")},
    };
    for (const auto& [file, collection] : cases)
        EXPECT_EQ(HelpViewer::collectionFor(file), collection) << file.toStdString();
}

TEST(HelpViewer, OpensAtContextNumbersContentsAndSearch)
{
    struct Case {
        QString file;
        int command;
        int data;
        QString title;
    };
    const QString de = kResources + QStringLiteral("/help/lexuvan.hlp");
    const QString en = kResources + QStringLiteral("/help/lexuvane.hlp");
    const QList<Case> cases = {
        {de, HelpViewer::HelpContext, 1001, QStringLiteral("Das Hauptfenster")},
        {de, HelpViewer::HelpContext, 1002, QStringLiteral("Das Auswahlfenster")},
        {de, HelpViewer::HelpContext, 1004, QStringLiteral("Der Vokabeltrainer")},
        {de, HelpViewer::HelpContext, 1005, QStringLiteral("Die Optionen des Trainers")},
        {de, HelpViewer::HelpContext, 10003, QStringLiteral("Die Vokabelliste")},
        {de, HelpViewer::HelpContext, 10022, QStringLiteral("Ausdruck suchen")},
        {de, HelpViewer::HelpContext, 10024, QStringLiteral("Die Bestätigungsabfrage")},
        {de, HelpViewer::HelpContents, 0, QStringLiteral("Lexuvant-Hilfe: Inhalt")},
        {en, HelpViewer::HelpContents, 0, QStringLiteral("Lexuvant Help: Contents")},
        {en, HelpViewer::HelpContext, 1004, QStringLiteral("The trainer")},
        {en, HelpViewer::HelpContext, 10024, QStringLiteral("The confirmation dialog")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(HelpViewer::WinHelp(nullptr, c.file, c.command, c.data))
            << c.data << ": " << HelpViewer::lastError().toStdString();
        ASSERT_NE(HelpViewer::viewerWindow(), nullptr);
        EXPECT_TRUE(HelpViewer::viewerWindow()->isVisible());
        EXPECT_EQ(HelpViewer::shownPageTitle(), c.title) << c.data;
    }
    // The search keeps the viewer (reused, not a second window) and its page.
    QWidget* viewer = HelpViewer::viewerWindow();
    // Whole on the screen, here one narrower than the viewer would like to be.
    EXPECT_TRUE(viewer->screen()->availableGeometry().contains(viewer->frameGeometry()))
        << viewer->frameGeometry().width() << "x" << viewer->frameGeometry().height() << " at " << viewer->x() << ","
        << viewer->y();
    EXPECT_TRUE(HelpViewer::WinHelp(nullptr, en, HelpViewer::HelpPartialKey));
    EXPECT_EQ(HelpViewer::viewerWindow(), viewer);
    EXPECT_EQ(HelpViewer::shownPageTitle(), QStringLiteral("The confirmation dialog"));

    EXPECT_FALSE(HelpViewer::WinHelp(nullptr, de, HelpViewer::HelpContext, 4711));
    EXPECT_TRUE(HelpViewer::lastError().contains(QStringLiteral("4711")));
    HelpViewer::viewerWindow()->close();
}

TEST(HelpViewer, HelpWorksWhenMovedElsewhereAsTheInstallDoes)
{
    QTemporaryDir dir;
    for (const char* name : {"lexuvane.qhc", "lexuvane.qch"})
        ASSERT_TRUE(QFile::copy(kResources + QStringLiteral("/help/") + QLatin1String(name),
                                dir.filePath(QLatin1String(name))));
    ASSERT_TRUE(HelpViewer::WinHelp(nullptr, dir.filePath(QStringLiteral("lexuvane.hlp")), HelpViewer::HelpContext, 1002))
        << HelpViewer::lastError().toStdString();
    EXPECT_EQ(HelpViewer::shownPageTitle(), QStringLiteral("The selection window"));
    // Without its documentation file the collection is unusable: the error box, no viewer.
    delete HelpViewer::viewerWindow();
    QFile::remove(dir.filePath(QStringLiteral("lexuvane.qch")));
    EXPECT_FALSE(HelpViewer::WinHelp(nullptr, dir.filePath(QStringLiteral("lexuvane.hlp")), HelpViewer::HelpContents));
    ScopedFakeMessages fake;
    HelpKey::reportHelpError();
    ASSERT_EQ(fake->shown.size(), 1);
    EXPECT_EQ(fake->shown[0].style, MsgStyle::Critical);
    EXPECT_TRUE(fake->shown[0].prompt.contains(dir.filePath(QStringLiteral("lexuvane.qhc"))))
        << fake->shown[0].prompt.toStdString();
}

// An installed, read-only help folder: the help is used from a copy in the
// user's cache folder; when no copy can be made there, the error box says why.
TEST(HelpViewer, ReadOnlyHelpFolderIsCopiedToTheUsersCache)
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    for (const char* sub : {"help", "cache", "cache-ro", "tmp"})
        ASSERT_TRUE(root.mkpath(QLatin1String(sub)));
    for (const char* name : {"lexuvan.qhc", "lexuvan.qch"})
        ASSERT_TRUE(QFile::copy(kResources + QStringLiteral("/help/") + QLatin1String(name),
                                root.filePath(QStringLiteral("help/")) + QLatin1String(name)));
    for (const char* sub : {"cache", "tmp"})
        QFile::setPermissions(root.filePath(QLatin1String(sub)), QFile::Permissions(0x7777));
    for (const char* sub : {"help", "cache-ro"})
        AsNobody::makeReadOnly(root.filePath(QLatin1String(sub)));
    AsNobody::openPath(root.filePath(QStringLiteral("help")));
    AsNobody::runTest(QStringLiteral("HelpViewer.DISABLED_ReadOnlyHelpFolderChild"),
                      {{"LEXUVANT_CHILD_DIR", QFile::encodeName(dir.path())},
                       {"TMPDIR", QFile::encodeName(root.filePath(QStringLiteral("tmp")))},
                       {"HOME", QFile::encodeName(root.filePath(QStringLiteral("tmp")))}});
    QFile::setPermissions(root.filePath(QStringLiteral("help")), QFile::Permissions(0x7755));
}

// The child of the test above, run as an account that cannot write into the help folder.
TEST(HelpViewer, DISABLED_ReadOnlyHelpFolderChild)
{
    const QDir root(qEnvironmentVariable("LEXUVANT_CHILD_DIR"));
    const QString help = root.filePath(QStringLiteral("help"));
    ASSERT_FALSE(QFileInfo(help).isWritable());
    HelpFileGuard guard;
    HelpViewer::setAppHelpFile(help + QStringLiteral("/lexuvan.hlp"));
    ScopedFakeMessages fake;
    qputenv("XDG_CACHE_HOME", root.filePath(QStringLiteral("cache")).toLocal8Bit());
    HelpCommands::showHelp(nullptr, HelpViewer::HelpContents);
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
    EXPECT_EQ(HelpViewer::shownPageTitle(), QStringLiteral("Lexuvant-Hilfe: Inhalt"));
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help");
    EXPECT_TRUE(cache.startsWith(root.filePath(QStringLiteral("cache/")))) << cache.toStdString();
    for (const char* name : {"/lexuvan.qhc", "/lexuvan.qch"})
        EXPECT_TRUE(QFileInfo(cache + QLatin1String(name)).isFile()) << name;
    delete HelpViewer::viewerWindow();

    // A copy damaged later, with the size and time of the installed file
    // still, is made again instead of being used.
    const QString copy = cache + QStringLiteral("/lexuvan.qhc");
    const QString installed = help + QStringLiteral("/lexuvan.qhc");
    {
        QFile damaged(copy);
        ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
        damaged.write(QByteArray(16, '\0')); // no SQLite header any more
        damaged.flush();
        damaged.setFileTime(QFileInfo(installed).lastModified(), QFileDevice::FileModificationTime);
    }
    ASSERT_EQ(QFileInfo(copy).size(), QFileInfo(installed).size());
    HelpCommands::showHelp(nullptr, HelpViewer::HelpContents);
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
    EXPECT_EQ(HelpViewer::shownPageTitle(), QStringLiteral("Lexuvant-Hilfe: Inhalt"));
    QFile a(copy), b(installed);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_TRUE(a.readAll() == b.readAll()) << "the copy is the installed file again";
    delete HelpViewer::viewerWindow();

    // No copy can be made: the error box names both places and the reason,
    // in the user's language.
    qputenv("XDG_CACHE_HOME", root.filePath(QStringLiteral("cache-ro")).toLocal8Bit());
    HelpCommands::showHelp(nullptr, HelpViewer::HelpContents);
    ASSERT_EQ(fake->shown.size(), 1);
    EXPECT_EQ(fake->shown[0].style, MsgStyle::Critical);
    EXPECT_EQ(fake->shown[0].prompt,
              QStringLiteral("Es trat folgender Fehler auf: \rDie Hilfedatei \"%1/lexuvan.qhc\" kann nicht nach \"%2\" "
                             "kopiert werden: keine Schreibberechtigung.")
                  .arg(help, QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help")));
    EXPECT_EQ(HelpViewer::viewerWindow(), nullptr);
}

TEST(HelpViewer, StaysUsableWhenOpenedFromAModalWindow)
{
    const QString de = kResources + QStringLiteral("/help/lexuvan.hlp");
    {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
        ASSERT_TRUE(HelpViewer::WinHelp(&dialog, de, HelpViewer::HelpContext, 10024));
        EXPECT_EQ(HelpViewer::viewerWindow()->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(QApplication::activeModalWidget(), HelpViewer::viewerWindow());
        HelpViewer::viewerWindow()->close();
    }
    ASSERT_TRUE(HelpViewer::WinHelp(nullptr, de, HelpViewer::HelpContents));
    EXPECT_EQ(HelpViewer::viewerWindow()->windowModality(), Qt::NonModal);
    HelpViewer::viewerWindow()->close();
}

TEST(HelpViewer, F1OpensTheWindowsTopic)
{
    HelpFileGuard guard;
    HelpViewer::setAppHelpFile(kResources + QStringLiteral("/help/lexuvan.hlp"));
    QWidget window;
    HelpKey::installF1(&window, 10022);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ScopedFakeMessages fake;
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
    EXPECT_EQ(HelpViewer::shownPageTitle(), QStringLiteral("Ausdruck suchen"));
    ASSERT_NE(HelpViewer::viewerWindow(), nullptr);

    // The contents tree marks that page (its contents are read in the
    // background), and one click on another title opens that one.
    auto* tree = HelpViewer::viewerWindow()->findChild<QHelpContentWidget*>();
    ASSERT_NE(tree, nullptr);
    auto marked = [tree] { return tree->currentIndex().data().toString(); };
    EXPECT_TRUE(QTest::qWaitFor([&] { return marked() == QLatin1String("Ausdruck suchen"); }, 5000))
        << marked().toStdString();
    QModelIndex list;
    for (const QModelIndex& i :
         tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("Die Vokabelliste"), 1,
                              Qt::MatchExactly | Qt::MatchRecursive))
        list = i;
    ASSERT_TRUE(list.isValid());
    tree->scrollTo(list);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(list).center());
    EXPECT_EQ(HelpViewer::shownPageTitle(), QStringLiteral("Die Vokabelliste"));
    EXPECT_EQ(marked(), QStringLiteral("Die Vokabelliste"));

    // F1 again, with the viewer and its contents already there.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(HelpViewer::shownPageTitle(), QStringLiteral("Ausdruck suchen"));
    EXPECT_EQ(marked(), QStringLiteral("Ausdruck suchen"));
    HelpViewer::viewerWindow()->close();
}

// A link on a help page opens the linked page in the viewer.
TEST(HelpViewer, LinksBetweenPagesStayInTheViewer)
{
    ASSERT_TRUE(HelpViewer::WinHelp(nullptr, kResources + QStringLiteral("/help/lexuvan.hlp"), HelpViewer::HelpContents));
    auto* browser = HelpViewer::viewerWindow()->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab); // the first link: "Hauptfenster"
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(HelpViewer::shownPageTitle(), QStringLiteral("Das Hauptfenster"));
    HelpViewer::viewerWindow()->close();
}

// Qt's own texts (key names in menus, the help viewer's search page, the
// printer dialog) follow the interface language.
TEST(QtTexts, GermanInterfaceLoadsQtsGermanTranslations)
{
    LanguageGuard guard;
    const QKeySequence keys(QStringLiteral("Ctrl+A"));
    gSprache = QStringLiteral("De");
    EXPECT_TRUE(QtTranslations::install());
    EXPECT_EQ(keys.toString(QKeySequence::NativeText), QStringLiteral("Strg+A"));
    EXPECT_EQ(QCoreApplication::translate("QHelpSearchQueryWidget", "Search"), QStringLiteral("Suche"));
    gSprache = QStringLiteral("En");
    EXPECT_FALSE(QtTranslations::install());
    EXPECT_EQ(keys.toString(QKeySequence::NativeText), QStringLiteral("Ctrl+A"));
    // The start-up sets the language (German) and Qt's texts follow it.
    delete new frmSplash;
    EXPECT_EQ(keys.toString(QKeySequence::NativeText), QStringLiteral("Strg+A"));
}

// ---------------------------------------------------------------- web page

// A desktop of our own: one HTML association (or none) in temporary XDG folders.
class WebBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kVariables)
            m_saved.append(qgetenv(name));
        QDir root(m_dir.path());
        for (const char* sub : {"config", "data/applications", "none", "bin", "tmp"})
            root.mkpath(QString::fromLatin1(sub));
        qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", root.filePath(QStringLiteral("none")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", root.filePath(QStringLiteral("none")).toLocal8Bit());
        qputenv("PATH", (root.filePath(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin")).toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
        // A private temporary folder: test programs running side by side share /tmp.
        qputenv("TMPDIR", root.filePath(QStringLiteral("tmp")).toLocal8Bit());
        writeFile(QStringLiteral("data/applications/lexfake.desktop"),
                  "[Desktop Action new]\nExec=wrong\n[Desktop Entry]\nType=Application\nName=Fake\n"
                  "Exec=fakebrowser --new %u\n");
        s_calls.clear();
        s_startSucceeds = true;
        Shell::setStarter(&record);
    }

    void TearDown() override
    {
        Shell::setStarter(nullptr);
        for (int i = 0; i < int(std::size(kVariables)); ++i)
            m_saved[i].isNull() ? qunsetenv(kVariables[i]) : qputenv(kVariables[i], m_saved[i]);
    }

    void associate()
    {
        writeFile(QStringLiteral("config/mimeapps.list"), "[Default Applications]\ntext/html=lexfake.desktop;\n");
    }

    void writeFile(const QString& relative, const QByteArray& bytes)
    {
        QFile f(QDir(m_dir.path()).filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // What the private temporary folder holds (broken links included).
    QStringList tempFolder() const
    {
        return QDir(m_dir.filePath(QStringLiteral("tmp")))
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    static bool record(const QString& program, const QStringList& arguments)
    {
        const QDir tmp(qEnvironmentVariable("TMPDIR"));
        const QStringList probes = tmp.entryList({QStringLiteral("*.htm")}, QDir::Files | QDir::NoSymLinks);
        s_calls.append({program, arguments, probes.size() == 1});
        return s_startSucceeds;
    }

    struct Call {
        QString program;
        QStringList arguments;
        bool probeExisted;
    };
    static inline QList<Call> s_calls;
    static inline bool s_startSucceeds = true;
    static constexpr const char* kVariables[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CONFIG_DIRS",
                                                 "XDG_DATA_DIRS",   "PATH",          "XDG_CURRENT_DESKTOP",
                                                 "TMPDIR"};
    QTemporaryDir m_dir;
    QList<QByteArray> m_saved;
};

TEST_F(WebBrowserTest, StartsTheAssociatedBrowserWithTheAddress)
{
    associate();
    ScopedFakeMessages fake;
    Form1 main;
    const QString url = QStringLiteral("file:///tmp/page.html");
    EXPECT_TRUE(main.LaunchWebBrowser(url));
    EXPECT_TRUE(fake->shown.isEmpty());
    ASSERT_EQ(s_calls.size(), 1);
    EXPECT_EQ(s_calls[0].program, QStringLiteral("fakebrowser"));
    EXPECT_EQ(s_calls[0].arguments, (QStringList{QStringLiteral("--new"), url}));
    EXPECT_TRUE(s_calls[0].probeExisted);
    EXPECT_TRUE(tempFolder().isEmpty()) << tempFolder().join(u' ').toStdString();
}

TEST_F(WebBrowserTest, FailuresShowTheirMessageAndRemoveTheProbeFile)
{
    struct Case {
        const char* name;
        bool associated;
        bool starts;
        QString prompt;
        QString title;
        int calls;
    };
    const QList<Case> cases = {
        {"no association", false, true, QStringLiteral("Could not find associated Browser"),
         QStringLiteral("Browser Not Found"), 0},
        {"browser does not start", true, false, QStringLiteral("Web Page not Opened"), QStringLiteral("URL Failed"), 1},
    };
    for (const Case& c : cases) {
        QFile::remove(QDir(m_dir.path()).filePath(QStringLiteral("config/mimeapps.list")));
        if (c.associated)
            associate();
        s_calls.clear();
        s_startSucceeds = c.starts;
        ScopedFakeMessages fake;
        EXPECT_FALSE(HelpCommands::launchWebBrowser(QStringLiteral("file:///x.html"))) << c.name;
        ASSERT_EQ(fake->shown.size(), 1) << c.name;
        EXPECT_EQ(fake->shown[0].prompt, c.prompt) << c.name;
        EXPECT_EQ(fake->shown[0].title, c.title) << c.name;
        EXPECT_EQ(fake->shown[0].style, 48) << c.name;
        EXPECT_EQ(s_calls.size(), c.calls) << c.name;
        EXPECT_TRUE(tempFolder().isEmpty()) << c.name;
    }
}

TEST_F(WebBrowserTest, TheDesktopsOwnQueryToolIsAskedFirst)
{
    writeFile(QStringLiteral("bin/xdg-mime"), "#!/bin/sh\necho lexfake.desktop\n");
    QFile::setPermissions(QDir(m_dir.path()).filePath(QStringLiteral("bin/xdg-mime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QString browser;
    QFile probe(m_dir.filePath(QStringLiteral("probe.HTM")));
    ASSERT_TRUE(probe.open(QIODevice::WriteOnly));
    probe.close();
    EXPECT_GT(Shell::FindExecutable(probe.fileName(), QString(), browser), 32);
    EXPECT_EQ(browser, QStringLiteral("fakebrowser --new %u"));
    EXPECT_LE(Shell::FindExecutable(m_dir.filePath(QStringLiteral("missing.HTM")), QString(), browser), 32);
}

TEST_F(WebBrowserTest, ExecLineFieldCodesTakeTheAddress)
{
    struct Case {
        QString exec;
        QString program;
        QStringList arguments;
    };
    const QString url = QStringLiteral("file:///p.html");
    const QList<Case> cases = {
        {QStringLiteral("browser %u"), QStringLiteral("browser"), {url}},
        {QStringLiteral("browser --flag %U"), QStringLiteral("browser"), {QStringLiteral("--flag"), url}},
        {QStringLiteral("browser"), QStringLiteral("browser"), {url}},
        {QStringLiteral("browser %F %i %c"), QStringLiteral("browser"), {url}},
        {QStringLiteral("\"/opt/my browser/run\" --x=100%% %f"),
         QStringLiteral("/opt/my browser/run"),
         {QStringLiteral("--x=100%"), url}},
    };
    for (const Case& c : cases) {
        s_calls.clear();
        EXPECT_GT(Shell::ShellExecute(QStringLiteral("open"), c.exec, url, QString(), 1), 32);
        ASSERT_EQ(s_calls.size(), 1);
        EXPECT_EQ(s_calls[0].program, c.program) << c.exec.toStdString();
        EXPECT_EQ(s_calls[0].arguments, c.arguments) << c.exec.toStdString();
    }
    EXPECT_LE(Shell::ShellExecute(QStringLiteral("open"), QString(), url, QString(), 1), 32);
}

TEST_F(WebBrowserTest, WebCommandOpensTheShippedPageOfTheLanguage)
{
    associate();
    AppPaths::setResourceDir(kResources);
    LanguageGuard language;
    Form1 main;
    for (const auto& [code, page] : {std::pair{QStringLiteral("De"), QStringLiteral("index.html")},
                                     std::pair{QStringLiteral("En"), QStringLiteral("index-en.html")}}) {
        gSprache = code;
        s_calls.clear();
        ScopedFakeMessages fake;
        main.mnWeb_Click();
        ASSERT_EQ(s_calls.size(), 1);
        const QUrl url(s_calls[0].arguments.last());
        EXPECT_TRUE(url.isLocalFile());
        EXPECT_EQ(url.toLocalFile(), kResources + QStringLiteral("/web/") + page);
        EXPECT_TRUE(QFile::exists(url.toLocalFile())) << page.toStdString();
    }
}

TEST_F(WebBrowserTest, NothingPlantedInTheTemporaryFolderIsFollowed)
{
    associate();
    // Another account's link at the name the command once used: its target stays as it is.
    const QString target = m_dir.filePath(QStringLiteral("theirs.txt"));
    writeFile(QStringLiteral("theirs.txt"), "their own text\n");
    ASSERT_TRUE(QFile::link(target, m_dir.filePath(QStringLiteral("tmp/temphtm.HTM"))));
    const QStringList planted = tempFolder();
    ScopedFakeMessages fake;
    Form1 main;
    main.mnWeb_Click();
    EXPECT_TRUE(fake->shown.isEmpty()) << fake->lastPrompt().toStdString();
    ASSERT_EQ(s_calls.size(), 1);
    EXPECT_TRUE(s_calls[0].probeExisted);
    QFile theirs(target);
    ASSERT_TRUE(theirs.open(QIODevice::ReadOnly));
    EXPECT_EQ(theirs.readAll(), QByteArray("their own text\n"));
    EXPECT_EQ(tempFolder(), planted);

    // A temporary folder that cannot be written in (a file): reported, and the program goes on.
    qputenv("TMPDIR", target.toLocal8Bit());
    s_calls.clear();
    main.mnWeb_Click();
    ASSERT_EQ(fake->shown.size(), 1);
    EXPECT_EQ(fake->shown[0].prompt,
              QStringLiteral("Es trat folgender Fehler auf: \rIm Ordner für temporäre Dateien \"%1\" kann keine Datei "
                             "angelegt werden: \"%1\" ist kein Ordner.")
                  .arg(target));
    EXPECT_TRUE(s_calls.isEmpty());

    // A folder the user may not write in: which one, and why.
    const QString readOnly = m_dir.filePath(QStringLiteral("readonly"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    AsNobody::makeReadOnly(readOnly);
    AsNobody::openPath(readOnly);
    AsNobody::run([&] {
        qputenv("TMPDIR", readOnly.toLocal8Bit());
        try {
            HelpCommands::launchWebBrowser(QStringLiteral("file:///x.html"));
            ADD_FAILURE() << "no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.description(), QStringLiteral("Im Ordner für temporäre Dateien \"%1\" kann keine Datei "
                                                      "angelegt werden: keine Schreibberechtigung.")
                                           .arg(readOnly));
        }
    });
}

// ---------------------------------------------------------------- pictures

TEST(Pictures, AllAreBuiltWithTheirSizes)
{
    struct Case {
        const char* name;
        QSize size;
    };
    const QSize flag(120, 72);
    const QList<Case> cases = {
        {"Dänemark.bmp", flag},         {"GB.bmp", flag},
        {"Finnland.bmp", flag},         {"Französisch.bmp", flag},
        {"Island.bmp", flag},           {"Italien.bmp", flag},
        {"Portugal.bmp", flag},         {"Schweden.bmp", flag},
        {"Spanien.bmp", flag},          {"Ungarn.bmp", flag},
        {"marke.png", {16, 16}},        {"splash.png", {280, 60}},
        {"background.png", {340, 284}}, {"lexuvant.png", {256, 256}},
        {"lexuvant-48.png", {48, 48}},
    };
    for (const Case& c : cases) {
        const QImage image(kResources + QStringLiteral("/pictures/") + QString::fromUtf8(c.name));
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(image.size(), c.size) << c.name;
    }
}

TEST(Pictures, FlagColoursAndTransparentMarker)
{
    auto pixel = [](const char* name, int x, int y) {
        return QImage(kResources + QStringLiteral("/pictures/") + QString::fromUtf8(name)).pixelColor(x, y);
    };
    struct Case {
        const char* name;
        QPoint at;
        QColor colour;
    };
    const QList<Case> cases = {
        {"Dänemark.bmp", {5, 5}, QColor(0xC8, 0x10, 0x2E)},    // red field
        {"Dänemark.bmp", {45, 5}, Qt::white},                  // the cross's upright
        {"Schweden.bmp", {110, 36}, QColor(0xFE, 0xCC, 0x02)}, // yellow bar
        {"Ungarn.bmp", {60, 5}, QColor(0xCE, 0x29, 0x39)},     // red on top
        {"Ungarn.bmp", {60, 66}, QColor(0x47, 0x70, 0x50)},    // green below
        {"Italien.bmp", {5, 36}, QColor(0x00, 0x92, 0x46)},    // green at the hoist
        {"Spanien.bmp", {110, 5}, QColor(0xAA, 0x15, 0x1B)},   // red band: a quarter of the height
        {"Spanien.bmp", {110, 20}, QColor(0xF1, 0xBF, 0x00)},  // yellow band: half of it
        {"Portugal.bmp", {3, 3}, QColor(0x00, 0x66, 0x00)},
        {"Portugal.bmp", {116, 3}, QColor(0xFF, 0x00, 0x00)},
        {"GB.bmp", {60, 36}, QColor(0xC8, 0x10, 0x2E)}, // centre of St George's cross
    };
    for (const Case& c : cases)
        EXPECT_EQ(pixel(c.name, c.at.x(), c.at.y()).rgb(), c.colour.rgb()) << c.name << " " << c.at.x() << "," << c.at.y();
    EXPECT_EQ(pixel("marke.png", 0, 0).alpha(), 0);
    EXPECT_GT(pixel("marke.png", 6, 8).alpha(), 200);
}

} // namespace
