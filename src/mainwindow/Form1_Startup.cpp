// Start-up of the main window: the load step the splash's timer runs, with
// the checks of the database it opens first.
#include "common/ErrorBox.h"
#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Form1_Settings.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/HelpViewer.h"
#include "platform/MessageService.h"
#include "platform/SettingsStore.h"
#include "selection/Liste.h"
#include "trainer/Trainer.h"

#include <QFileInfo>
#include <utility>

using namespace Form1Settings;

namespace {
// A failure found before the main window existed, reported by its load step.
QString g_startupError;
} // namespace

void Form1::setStartupError(const QString& description) { g_startupError = description; }

void Form1::Form_Load()
{
    using ErrorHandling::Always;
    ErrorHandling::Steps step(Always::Yes); // every step not named below: report and go on
    bLoading = true;

    step([&] {
        Forms::splashProgress(5);
        setWindowTitle(appTitle());
        HelpViewer::setAppHelpFile(AppPaths::helpDir()
                                   + (isEnglish() ? QStringLiteral("/lexuvane.hlp") : QStringLiteral("/lexuvan.hlp")));
    });
    step([&] {
        Forms::splashProgress(6);
        Forms::splashProgress(10);
    });
    step([&] {
        PrintMargin = 100;
        SetUserInterfaceProperties();
        DBEmpty = false;
        ListeNichtLeer = false;
    });
    step([&] { Marke_bmp = AppPaths::picturePath(QStringLiteral("marke.png")); });
    // A settings file that cannot be used is reported here, once; the start
    // goes on with the defaults.
    step([&] { SettingsStore::CheckFile(kSettingsApp); });
    step([&] {
        DBName = SettingsStore::GetSetting(kSettingsApp, kSettingsSection, kRecentDB, QString());
        if (!IsSprachdatei())
            DBName = AppPaths::appPath() + QStringLiteral("/Englisch.lxt");
    });
    step([&] {
        Forms::splashProgress(13);
        Forms::splashProgress(20);
        Forms::splashProgress(20, "Opening database ...", "Datenbank wird geöffnet ...");
        Forms::splashProgress(22);
    });

    // A database that cannot be used leaves the program without one: the
    // user can still choose another language.
    bool usable = true;
    // The data folder could not take the language databases: that is the one
    // box; a database that did not get there is then simply not opened.
    if (!g_startupError.isEmpty()) {
        gErrText = std::exchange(g_startupError, QString());
        ::FehlerAusgabe(gErrText);
        if (!QFileInfo::exists(DBName)) {
            DBName.clear();
            usable = false;
        }
    }
    try {
        if (usable)
            clsdb.dbKopieren = Database::OpenDatabase(DBName, false, false);
    } catch (...) {
        gErrText = ErrorHandling::currentError().description();
        FehlerUndEnde();
        usable = false;
    }

    if (usable) {
        step([&] {
            for (int v : {25, 27, 30, 33, 35, 40})
                Forms::splashProgress(v);
            Forms::splashProgress(40, "Database is open ...", "Datenbank geöffnet ...");
        });
        step([&] {
            for (int v : {42, 45, 48, 50})
                Forms::splashProgress(v);
            Forms::splashProgress(50, "Retrieving languages ...", "Sprachen werden extrahiert ...");
        });
        bool valid = false;
        bool raised = false;
        raised = !step([&] { valid = SetLanguageSettings(); });
        if (!valid) {
            // Reported as a language button reports it, naming the file and what is wrong.
            if (!raised)
                gErrText = clsdb.NotLanguageDatabaseText();
            FehlerUndEnde();
            usable = false;
        }
    }

    if (usable) {
        step([&] {
            Forms::splashProgress(52);
            Forms::splashProgress(55, "Reading database ...", "Datenbank wird gelesen ...");
        });
        try {
            // false: the handler has shown its error box already.
            if (!clsdb.OpenAllRecordsets()) {
                clsdb.DropDatabase();
                DBName.clear();
                usable = false;
            }
        } catch (...) {
            gErrText = ErrorHandling::currentError().description();
            FehlerUndEnde();
            usable = false;
        }
    }

    step([&] {
        Forms::splashProgress(57);
        Forms::splashProgress(60);
    });
    if (usable) {
        step([&] {
            if (mustBeSet(clsdb.rsKopieren).IsEOF()) {
                Forms::splashProgress(60, "Databse is empty", "Datenbank ist leer");
                MsgBox(tr2(QStringLiteral("The database is empty!"), QStringLiteral("Die Datenbank ist leer!")),
                       MsgStyle::OKOnly, appTitle());
                DBEmpty = true;
            }
        });
    }
    step([&] {
        Forms::splashProgress(62, "Initializing Vocab List ...", "Vokabelliste initialisieren ...");
        // Creating the list window runs its load step (it reports on the
        // splash); it stays hidden, without flashing up on the screen.
        Forms::liste().setVisible(false);
    });
    step([&] { Forms::splashProgress(80); });
    if (usable) {
        step([&] {
            Forms::liste().SetHeaders();
            Forms::liste().AdjustControls();
        });
    }
    step([&] {
        Forms::splashProgress(81, "Initializing Trainer ...", "Vokabeltrainer initialisieren ...");
        // Showing the trainer loads it (it reports on the splash); it stays hidden.
        Forms::trainer().show();
        Forms::splashProgress(95);
        Forms::trainer().setVisible(false);
    });
    step([&] {
        NumExceptions = 0;
        GetExceptions();
        Forms::splashProgress(95);
    });
    step([&] {
        ConditionToUI();
        Forms::splashProgress(100);
    });
    bLoading = false;
    // Without a database the refresh above returned early (it must not touch
    // a list that is still loading); now the window shows the no-database state.
    if (DBName.isEmpty())
        step([&] { ConditionToUI(); });
}

bool Form1::SetLanguageSettings()
{
    if (!clsdb.CheckLanguageDatabase())
        return false;
    lang1 = clsdb.lang1;
    lang2 = clsdb.lang2;
    lang1_prefix = clsdb.lang1_prefix;
    lang1_main = clsdb.lang1_main;
    lang1_suffix = clsdb.lang1_suffix;
    lang1_comment = clsdb.lang1_comment;
    lang2_prefix = clsdb.lang2_prefix;
    lang2_main = clsdb.lang2_main;
    lang2_suffix = clsdb.lang2_suffix;
    lang2_comment = clsdb.lang2_comment;
    return true;
}

bool Form1::IsSprachdatei() const
{
    const QString folder = AppPaths::appPath() + QLatin1Char('/');
    for (const QString& name : AppPaths::languageDatabaseNames()) {
        if (DBName == folder + name) // exact: no normalising of case or path
            return true;
    }
    return false;
}
