#include "mainwindow/Form1.h"
#include "mainwindow/Form1_Settings.h"

#include "common/ErrorBox.h"
#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/HelpKey.h"
#include "common/ShowMsgBox.h"
#include "common/TextProcs.h"
#include "mainwindow/Forms.h"
#include "trainer/Trainer.h"
#include "mainwindow/Progress.h"
#include "platform/AppPaths.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/SettingsStore.h"
#include "platform/SystemServices.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "selection/Form2.h"
#include "selection/Liste.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <cmath>
#include <utility>

namespace {

struct LanguageButton {
    const char* button;
    const char* menuItem;
    const char* name; // tooltip, menu caption, and the file name without ".lxt"
    const char* flag;
    int left, top;
};

constexpr LanguageButton kLanguages[10] = {
    {"cmdDaenisch", "mnSpracheDaenisch", "Dänisch", "Dänemark.bmp", 120, 120},
    {"Command8", "mnSpracheEnglisch", "Englisch", "GB.bmp", 1080, 120},
    {"Command6", "mnSpracheFinnisch", "Finnisch", "Finnland.bmp", 2040, 120},
    {"Command7", "mnSpracheFranzoesisch", "Französisch", "Französisch.bmp", 3000, 120},
    {"Command9", "mnSpracheIslaendisch", "Isländisch", "Island.bmp", 3960, 120},
    {"Command10", "mnSpracheItalienisch", "Italienisch", "Italien.bmp", 120, 720},
    {"Command11", "mnSprachePortugiesisch", "Portugiesisch", "Portugal.bmp", 1080, 720},
    {"Command12", "mnSpracheSchwedisch", "Schwedisch", "Schweden.bmp", 2040, 720},
    {"Command13", "mnSpracheSpanisch", "Spanisch", "Spanien.bmp", 3000, 720},
    {"Command14", "mnSpracheUngarisch", "Ungarisch", "Ungarn.bmp", 3960, 720},
};

using namespace Form1Settings;
const QString kExceptionsSection = QStringLiteral("Exceptions");

QString u8(const char* s) { return QString::fromUtf8(s); }

QPushButton* commandButton(QWidget* parent, const char* name, const QString& text, const QString& tip, int left)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setGeometry(Twips::rect(left, 3720, 975, 495));
    b->setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25, true));
    QPalette pal = b->palette();
    pal.setColor(QPalette::Button, QColor(255, 255, 192)); // light yellow
    b->setPalette(pal);
    b->setAutoFillBackground(true);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QRect& geometry, const QFont& font)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setFont(font);
    return l;
}

} // namespace

struct Form1::Ui {
    QWidget* central = nullptr;
    QLabel* background = nullptr;
    QPushButton* languageButtons[10] = {};
    QFrame* Frame1 = nullptr;
    QLabel* Lang1Label = nullptr;
    QLabel* Lang2Label = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Grid = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* DBAnzeige = nullptr;
    QLabel* AnzahlLabel = nullptr;
    QMenu* Menu_Datei = nullptr;
    QMenu* mnSprache = nullptr;
    QMenu* Menu_Ansicht = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* Datei_Drucken = nullptr;
    QAction* Menu_Datei_Beenden = nullptr;
    QAction* Menu_Ansicht_Auswahl = nullptr;
    QAction* Menu_Auswahl_Liste = nullptr;
    QAction* Menu_Ansicht_Vokabeltrainer = nullptr;
    QAction* mnuHelpInhalt = nullptr;
    QAction* mnuHelpSuchen = nullptr;
    QAction* mnuHelpInfo = nullptr;
    QAction* mnWeb = nullptr;
};

Form1::Form1(QWidget* parent) : QMainWindow(parent), ui(new Ui)
{
    buildUi();
    setMainWindowForMsgBox(this);
    HelpKey::installF1(this, 1001);
}

Form1::~Form1()
{
    setMainWindowForMsgBox(nullptr);
    delete ui;
}

void Form1::buildUi()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(appTitle());
    // Fixed size: the window can be minimised, not maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    ui->central = new QWidget(this);
    ui->central->setObjectName(QStringLiteral("central"));
    ui->central->setFixedSize(Twips::size(5085, 4260));
    setCentralWidget(ui->central);

    ui->background = new QLabel(ui->central);
    ui->background->setObjectName(QStringLiteral("background"));
    ui->background->setGeometry(QRect(QPoint(0, 0), ui->central->size()));
    ui->background->setScaledContents(true);
    const QPixmap back(AppPaths::picturePath(QStringLiteral("background.png")));
    if (!back.isNull())
        ui->background->setPixmap(back);

    for (int i = 0; i < 10; ++i) {
        const LanguageButton& def = kLanguages[i];
        auto* b = new QPushButton(ui->central);
        b->setObjectName(QString::fromLatin1(def.button));
        b->setToolTip(u8(def.name));
        b->setGeometry(Twips::rect(def.left, def.top, 950, 580));
        const QPixmap flag(AppPaths::picturePath(u8(def.flag)));
        if (!flag.isNull()) {
            b->setIcon(QIcon(flag));
            b->setIconSize(b->size() - QSize(8, 8));
        }
        const QString file = u8(def.name) + QStringLiteral(".lxt");
        connect(b, &QPushButton::clicked, this, [this, file] { Open_DB(file); });
        ui->languageButtons[i] = b;
    }

    ui->Frame1 = new QFrame(ui->central);
    ui->Frame1->setObjectName(QStringLiteral("Frame1"));
    ui->Frame1->setGeometry(Twips::rect(420, 1560, 4215, 1815));
    ui->Frame1->setFrameShape(QFrame::Box);
    ui->Frame1->setFrameShadow(QFrame::Sunken);
    ui->Frame1->setAutoFillBackground(true); // window background colour over the picture
    const QFont big = Twips::designFont(QStringLiteral("Arial"), 18, true);
    ui->Lang1Label = label(ui->Frame1, "Lang1Label", Twips::rect(120, 240, 3975, 495), big);
    ui->Lang2Label = label(ui->Frame1, "Lang2Label", Twips::rect(120, 1080, 3975, 495), big);
    ui->Lang1Label->setAlignment(Qt::AlignCenter);
    ui->Lang2Label->setAlignment(Qt::AlignCenter);

    ui->Command1 = commandButton(ui->central, "Command1", QStringLiteral("Auswahl"),
                                 QStringLiteral("Öffnet das Auswahlfenster"), 120);
    ui->Grid = commandButton(ui->central, "Grid", QStringLiteral("Liste"), QStringLiteral("Öffnet die Vokabelliste"), 1080);
    ui->Command2 = commandButton(ui->central, "Command2", QStringLiteral("Trainer"),
                                 QStringLiteral("Öffnet den Vokabeltrainer"), 2040);
    ui->Command4 = commandButton(ui->central, "Command4", QStringLiteral("Beenden"),
                                 QStringLiteral("Beendet die Anwendung"), 3935);
    connect(ui->Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(ui->Grid, &QPushButton::clicked, this, [this] { Grid_Click(); });
    connect(ui->Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(ui->Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });

    ui->Command5 = new QPushButton(QStringLiteral("DB ändern"), ui->central);
    ui->Command5->setObjectName(QStringLiteral("Command5"));
    ui->Command5->setGeometry(Twips::rect(2400, 4320, 1335, 375));
    ui->Command5->setVisible(false);
    connect(ui->Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });

    // These three lie below the client area in the window's design; they are
    // kept there and filled all the same.
    const QFont small = Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25, true);
    ui->Label1 = label(ui->central, "Label1", Twips::rect(5160, 4680, 855, 255), small);
    ui->Label1->setText(QStringLiteral("Hilfe: F1"));
    const QFont arial = Twips::designFont(QStringLiteral("Arial"), 8.25, true);
    ui->DBAnzeige = label(ui->central, "DBAnzeige", Twips::rect(3840, 4680, 960, 210), arial);
    ui->DBAnzeige->setText(QStringLiteral("Datenbank: "));
    ui->DBAnzeige->setAutoFillBackground(true);
    QPalette green = ui->DBAnzeige->palette();
    green.setColor(QPalette::Window, QColor(0, 255, 0));
    ui->DBAnzeige->setPalette(green);
    ui->AnzahlLabel = label(ui->central, "AnzahlLabel", Twips::rect(3840, 4920, 4215, 255), arial);
    ui->AnzahlLabel->setText(QStringLiteral("Anzahl Einträge: "));

    // Menus.
    auto action = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& keys = {}) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setParent(this); // findChild from the window finds every action
        if (!keys.isEmpty())
            a->setShortcut(keys);
        return a;
    };
    auto menu = [this](QMenu* parentMenu, const char* name, const QString& text) {
        QMenu* m = parentMenu ? parentMenu->addMenu(text) : menuBar()->addMenu(text);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("_action"));
        return m;
    };

    ui->Menu_Datei = menu(nullptr, "Menu_Datei", QStringLiteral("Datei"));
    ui->mnSprache = menu(ui->Menu_Datei, "mnSprache", QStringLiteral("Sprache"));
    for (int i = 0; i < 10; ++i) {
        QAction* a = action(ui->mnSprache, kLanguages[i].menuItem, u8(kLanguages[i].name));
        QPushButton* button = ui->languageButtons[i];
        connect(a, &QAction::triggered, button, [button] { button->click(); });
    }
    ui->Datei_Drucken =
        action(ui->Menu_Datei, "Datei_Drucken", QStringLiteral("Drucken..."), QKeySequence(QStringLiteral("Ctrl+P")));
    ui->Menu_Datei->addSeparator();
    ui->Menu_Datei_Beenden =
        action(ui->Menu_Datei, "Menu_Datei_Beenden", QStringLiteral("Beenden"), QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(ui->Datei_Drucken, &QAction::triggered, this, [this] { Datei_Drucken_Click(); });
    connect(ui->Menu_Datei_Beenden, &QAction::triggered, this, [this] { Command4_Click(); });

    ui->Menu_Ansicht = menu(nullptr, "Menu_Ansicht", QStringLiteral("Ansicht"));
    ui->Menu_Ansicht_Auswahl = action(ui->Menu_Ansicht, "Menu_Ansicht_Auswahl", QStringLiteral("Auswahl"),
                                      QKeySequence(QStringLiteral("Ctrl+A")));
    ui->Menu_Auswahl_Liste =
        action(ui->Menu_Ansicht, "Menu_Auswahl_Liste", QStringLiteral("Liste"), QKeySequence(QStringLiteral("Ctrl+L")));
    ui->Menu_Ansicht_Vokabeltrainer = action(ui->Menu_Ansicht, "Menu_Ansicht_Vokabeltrainer",
                                             QStringLiteral("Vokabeltrainer"), QKeySequence(QStringLiteral("Ctrl+T")));
    connect(ui->Menu_Ansicht_Auswahl, &QAction::triggered, this, [this] { Command1_Click(); });
    connect(ui->Menu_Auswahl_Liste, &QAction::triggered, this, [this] { Grid_Click(); });
    connect(ui->Menu_Ansicht_Vokabeltrainer, &QAction::triggered, this, [this] { Command2_Click(); });

    ui->mnuHelp = menu(nullptr, "mnuHelp", QStringLiteral("&?"));
    ui->mnuHelpInhalt = action(ui->mnuHelp, "mnuHelpInhalt", QStringLiteral("&Inhalt"));
    ui->mnuHelpSuchen = action(ui->mnuHelp, "mnuHelpSuchen", QStringLiteral("Suchen in der Hilfe"));
    ui->mnuHelp->addSeparator();
    ui->mnuHelpInfo = action(ui->mnuHelp, "mnuHelpInfo", QStringLiteral("Info"));
    ui->mnuHelp->addSeparator();
    ui->mnWeb = action(ui->mnuHelp, "mnWeb", QStringLiteral("Lexuvant im Web"));
    connect(ui->mnuHelpInhalt, &QAction::triggered, this, [this] { mnuHelpInhalt_Click(); });
    connect(ui->mnuHelpSuchen, &QAction::triggered, this, [this] { mnuHelpSuchen_Click(); });
    connect(ui->mnuHelpInfo, &QAction::triggered, this, [this] { mnuHelpInfo_Click(); });
    connect(ui->mnWeb, &QAction::triggered, this, [this] { mnWeb_Click(); });

    // Fixed single border: the window keeps the size of its design.
    adjustSize();
    setFixedSize(sizeHint());
    WindowPlacement::centreOnScreen(*this);
}

// Shows the error box with gErrText. The program then goes on without a
// database instead of ending, so another language can be chosen.
void Form1::FehlerUndEnde()
{
    ::FehlerAusgabe(gErrText);
    clsdb.DropDatabase();
    DBName.clear();
}

// ---------------------------------------------------------------------------
// Opening a language database

void Form1::Open_DB(const QString& fileName) { OpenDatabaseAt(AppPaths::appPath() + QLatin1Char('/') + fileName); }

void Form1::OpenDatabaseAt(const QString& path)
{
    using ErrorHandling::Always;
    // Every failure below ends in the same clean state: no database, the
    // handler closed, the window refreshed.
    auto leaveWithoutDatabase = [this] {
        clsdb.DropDatabase();
        DBName.clear();
        ErrorHandling::Steps refresh(Always::Yes);
        refresh([&] { ConditionToUI(); });
    };

    // Region A: leaving the previous database.
    try {
        Forms::form2().Changes = true;
        if (!DBName.isEmpty())
            clsdb.CloseAllDBObjects();
    } catch (...) {
        ErrorHandling::report(ErrorHandling::currentError(), Always::Yes);
        leaveWithoutDatabase();
        return;
    }

    // Region B: opening the file.
    try {
        DBName = path;
        clsdb.dbKopieren = Database::OpenDatabase(DBName, false, false);
    } catch (...) {
        ErrorHandling::report(ErrorHandling::currentError(), Always::Yes);
        leaveWithoutDatabase();
        return;
    }

    // Region C: validation, record sets, list header, empty check.
    bool valid = false;
    try {
        valid = SetLanguageSettings();
        if (valid) {
            if (!clsdb.OpenAllRecordsets())
                ErrorHandling::raiseReported(); // its box has been shown
            Forms::liste().SetHeaders();
            Forms::liste().AdjustControls();
            DBEmpty = false;
            DBChanged = true;
            if (mustBeSet(clsdb.rsKopieren).IsEOF()) {
                MsgBox(tr2(QStringLiteral("The database is empty!"), QStringLiteral("Die Datenbank ist leer!")),
                       MsgStyle::OKOnly, appTitle());
                DBEmpty = true;
                ConditionToUI();
            }
        }
    } catch (...) {
        const AppError e = ErrorHandling::currentError();
        if (e.number() == kErrAlreadyReported)
            gErrText = e.description();
        else
            ErrorHandling::report(e, Always::Yes);
        leaveWithoutDatabase();
        return;
    }

    if (!valid) {
        gErrText = clsdb.NotLanguageDatabaseText();
        FehlerAusgabe(gErrText);
        ErrorHandling::Steps hide(Always::Yes);
        hide([&] {
            Progress& progress = Forms::progress();
            progress.setVisible(false);
            progress.setValue(0);
        });
        leaveWithoutDatabase();
        return;
    }

    // Region D: report (unless already reported) and go on.
    ErrorHandling::Steps step;
    step([&] { SettingsStore::SaveSetting(kSettingsApp, kSettingsSection, kRecentDB, DBName); });
    step([&] {
        const long count = mustBeSet(clsdb.rsKopieren).RecordCount();
        if (count > 0)
            Forms::progress().setMax(double(count));
    });
    step([&] { ConditionToUI(); });
    step([&] { Forms::form2().initialisiere(); });
    step([&] {
        if (!DBEmpty)
            WindowPlacement::bringToFront(Forms::form2());
    });
}

// ---------------------------------------------------------------------------
// Refresh of the window

void Form1::GreyOut()
{
    struct Row {
        bool auswahl, liste, trainer;
    };
    Row r;
    if (DBName.isEmpty())
        r = {false, false, false};
    else if (DBEmpty)
        r = {false, true, false};
    else if (!ListeNichtLeer)
        r = {true, false, false};
    else
        r = {true, true, true};

    ui->Command1->setEnabled(r.auswahl);
    ui->Grid->setEnabled(r.liste);
    ui->Command2->setEnabled(r.trainer);
    if (r.liste) // the menu itself is only ever enabled, never disabled
        ui->Menu_Ansicht->menuAction()->setEnabled(true);
    ui->Menu_Ansicht_Auswahl->setEnabled(r.auswahl);
    ui->Menu_Auswahl_Liste->setEnabled(r.liste);
    ui->Menu_Ansicht_Vokabeltrainer->setEnabled(r.trainer);
    ui->Datei_Drucken->setEnabled(r.trainer);
}

void Form1::ConditionToUI()
{
    if (DBName.isEmpty()) {
        if (bLoading)
            return;
        Forms::liste().LoescheListe();
        ListeNichtLeer = false;
        // Nothing may go on showing or acting on the database that is gone.
        if (Forms::form2Loaded())
            Forms::form2().setDatabaseOpen(false);
        if (Forms::trainerLoaded())
            Forms::trainer().setVisible(false);
    }
    const bool listGone = DBName.isEmpty() || DBChanged;
    if (DBChanged || (DBEmpty && !ListeNichtLeer)) {
        Forms::liste().LoescheListe();
        ListeNichtLeer = false;
    }
    // The list window's caption and commands and the trainer always follow
    // the list as it is now.
    if (listGone) {
        Forms::liste().ConditionToUI();
        if (Forms::trainerLoaded())
            Forms::trainer().Command6_Click();
    }
    GreyOut();
    if (!DBName.isEmpty())
        UpdateLanguageFields();
    SetzeAnzeigen();
    DBChanged = false;
}

void Form1::UpdateLanguageFields()
{
    Liste& liste = Forms::liste();
    MSFlexGrid* grid = liste.MSFlexGrid1;
    const int row = grid->Row();
    const int col = grid->Col();
    grid->setRow(0);
    grid->setCol(Liste::txtSpanisch);
    grid->setText(lang1);
    grid->setCol(Liste::txtDeutsch);
    grid->setText(lang2);
    grid->setRow(row);
    grid->setCol(col);
    liste.mnSpanisch->setText(tr2(QStringLiteral("by "), QStringLiteral("nach ")) + lang1);
    liste.mnDeutsch->setText(tr2(QStringLiteral("by "), QStringLiteral("nach ")) + lang2);
    // The trainer names the languages as well, shown or not, active or not.
    if (Forms::trainerLoaded())
        Forms::trainer().LanguageNamesToUI();
}

void Form1::SetzeAnzeigen()
{
    if (DBName.isEmpty()) {
        ui->DBAnzeige->setText(tr2(QStringLiteral("Database: <none>"), QStringLiteral("Datenbank: <keine>")));
        ui->DBAnzeige->adjustSize();
        ui->Lang1Label->setText(tr2(QStringLiteral("<none>"), QStringLiteral("<keine>")));
        ui->Lang2Label->setText(tr2(QStringLiteral("<none>"), QStringLiteral("<keine>")));
        ui->AnzahlLabel->setText(tr2(QStringLiteral("Number of Entries: <none>"),
                                     QStringLiteral("Anzahl Einträge: <keine>")));
        return;
    }
    // The path label is out of sight in the design; it is kept to the width
    // of the window's client area less a margin on each side.
    const int pathWidth = Twips::fromPixelsX(ui->central->width()) - 2 * 120;
    ui->DBAnzeige->setText(FitTextToWidth(tr2(QStringLiteral("Database: "), QStringLiteral("Datenbank: ")) + DBName,
                                          pathWidth, this));
    ui->DBAnzeige->adjustSize();
    // The labels use an 18-point font, the measuring window a much smaller one.
    const int langWidth = int(std::lrint(0.38 * Twips::fromPixelsX(ui->Lang1Label->width())));
    ui->Lang1Label->setText(FitTextToWidth(lang1, langWidth, this));
    ui->Lang2Label->setText(FitTextToWidth(lang2, langWidth, this));
    QString count;
    try {
        count = QString::number(mustBeSet(clsdb.rsKopieren).RecordCount());
    } catch (...) {
        count = QStringLiteral("0");
    }
    ui->AnzahlLabel->setText(tr2(QStringLiteral("Number of entries: "), QStringLiteral("Anzahl Einträge: ")) + count);
}

void Form1::SetUserInterfaceProperties()
{
    if (!isEnglish())
        return;
    ui->Menu_Datei->setTitle(QStringLiteral("&File"));
    ui->Datei_Drucken->setText(QStringLiteral("&Print..."));
    ui->Menu_Datei_Beenden->setText(QStringLiteral("&Quit"));
    ui->Menu_Ansicht->setTitle(QStringLiteral("&View"));
    ui->Menu_Ansicht_Auswahl->setText(QStringLiteral("&Selection"));
    ui->Menu_Auswahl_Liste->setText(QStringLiteral("Vocab &List"));
    ui->Menu_Ansicht_Vokabeltrainer->setText(QStringLiteral("&Trainer"));
    ui->mnuHelpInhalt->setText(QStringLiteral("&Content"));
    ui->mnuHelpSuchen->setText(QStringLiteral("&Search in Help"));
    ui->mnuHelpInfo->setText(QStringLiteral("&About Trelmoor"));
    ui->mnWeb->setText(QStringLiteral("Trelmoor in the &Web"));
    ui->Command1->setText(QStringLiteral("&Selection"));
    ui->Command1->setToolTip(QStringLiteral("Opens the Selection Window"));
    ui->Grid->setText(QStringLiteral("&List"));
    ui->Grid->setToolTip(QStringLiteral("Opens the Vocab List"));
    ui->Command2->setText(QStringLiteral("&Trainer"));
    ui->Command2->setToolTip(QStringLiteral("Opens the Trainer"));
    ui->Command4->setText(QStringLiteral("&Quit"));
    ui->Command4->setToolTip(QStringLiteral("Terminates the Application"));
    ui->Label1->setText(QStringLiteral("Help: F1"));
}

QString Form1::lang2LabelCaption() const { return ui->Lang2Label->text(); }

bool Form1::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        ErrorHandling::Steps activate(ErrorHandling::Always::Yes);
        activate([&] { ConditionToUI(); });
    }
    return QMainWindow::event(event);
}

// ---------------------------------------------------------------------------
// Commands

// Showing a modeless window that is open already behind the main window, or
// minimised, brings it to the front, as the learner expects from the command.
void Form1::Command1_Click() { WindowPlacement::bringToFront(Forms::form2()); }

void Form1::Grid_Click() { WindowPlacement::bringToFront(Forms::liste()); }

void Form1::Command2_Click() { WindowPlacement::bringToFront(Forms::trainer()); }

void Form1::Command4_Click()
{
    if (Forms::listeLoaded()) {
        Liste& liste = Forms::liste();
        if (liste.lfd + liste.DelLfd + liste.AddLfd > 0) {
            const int answer =
                ShowMsgBox(tr2(QStringLiteral("Not all changes have been saved! Do you really want to quit?"),
                               QStringLiteral("Es wurden noch nicht alle Änderungen gesichert! Wirklich beenden?")),
                           MsgStyle::YesNo + MsgStyle::Question + MsgStyle::DefaultButton2);
            if (answer == MsgResult::No) {
                WindowPlacement::bringToFront(liste);
                return;
            }
            liste.lfd = liste.DelLfd = liste.AddLfd = 0;
        }
    }
    if (!DBName.isEmpty()) {
        clsdb.BereinigeDB();
        clsdb.CloseAllDBObjects();
    }
    if (Forms::listeLoaded())
        Forms::liste().hide();
    hide();
    if (Forms::form2Loaded())
        Forms::form2().hide();
    SystemServices::endProcess(0);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // The quit sequence ends the process; if it comes back (the user kept
    // unsaved changes) the window stays open.
    event->ignore();
    try {
        Command4_Click();
    } catch (...) {
        // Only a replaced end-of-process function returns by throwing; that
        // must not run through the window system's event dispatch.
    }
}

void Form1::FehlerAusgabe(const QString& errmsg) { ::FehlerAusgabe(errmsg); }

// ---------------------------------------------------------------------------
// Equal-character pairs

void Form1::GetExceptions()
{
    // The options window stores one key per grid row, "Exc_1", "Exc_2", ...,
    // each the left and right character joined; its hidden blank row is
    // stored as "" and, like any value that is not two characters, skipped;
    // a character outside the basic plane is one character, not two halves.
    ExcL.clear();
    ExcR.clear();
    const QHash<QString, QString> stored = SettingsStore::GetAllSettings(gAppName, kExceptionsSection);
    for (int i = 1;; ++i) {
        const auto found = stored.constFind(QStringLiteral("Exc_") + QString::number(i));
        if (found == stored.cend())
            break;
        const QString& value = *found;
        if (value.size() != 2 || value.at(0).isSurrogate() || value.at(1).isSurrogate())
            continue;
        ExcL << value.left(1);
        ExcR << value.right(1);
    }
    NumExceptions = int(ExcL.size());
}

namespace {
// One side of pair i (1-based); outside the table a message and one blank.
QString exceptionSide(const QStringList& side, int i, int count, const char* procedure)
{
    if (i >= 1 && i <= count && i <= side.size())
        return side.at(i - 1);
    MsgBox(tr2(QStringLiteral("ERROR in "), QStringLiteral("FEHLER in ")) + QLatin1String(procedure), MsgStyle::OKOnly,
           appTitle());
    return QStringLiteral(" ");
}
} // namespace

QString Form1::ReturnIteExceptionL(int i) const { return exceptionSide(ExcL, i, NumExceptions, "ReturnIteExceptionL"); }

QString Form1::ReturnIteExceptionR(int i) const { return exceptionSide(ExcR, i, NumExceptions, "ReturnIteExceptionR"); }

// ---------------------------------------------------------------------------
// Database upgrade (hidden button)

void Form1::Command5_Click()
{
    // Adds the column "Zusatzinfo" to a database of an older version. The
    // record sets stay closed afterwards.
    try {
        clsdb.CloseAllDBObjects();
        clsdb.dbKopieren = Database::OpenDatabase(DBName, false, false);
        std::shared_ptr<TableDef> vokabular = clsdb.dbKopieren->TableDefs(QStringLiteral("Vokabular"));
        if (clsdb.rsKopieren && clsdb.rsKopieren->isOpen())
            clsdb.rsKopieren->Close();
        vokabular->AppendTextField(QStringLiteral("Zusatzinfo"), 200, QString(), true);
        clsdb.dbKopieren->RefreshTableDefs();
    } catch (...) {
        MsgBox(ErrorHandling::currentError().description(), MsgStyle::OKOnly, QString());
    }
}
