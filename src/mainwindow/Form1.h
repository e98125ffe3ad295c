#pragma once
// The main window: owns the database handler, holds the state the other
// windows read, offers the ten language buttons and the commands.
#include "database/CDBHandler.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QAction;
class QMenu;
class Printer;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Public state read and written by the other windows.
    QString DBName;
    int NumExceptions = 0;
    QString Marke_bmp;
    QString lang1, lang2;
    QString lang1_prefix, lang1_main, lang1_suffix, lang1_comment;
    QString lang2_prefix, lang2_main, lang2_suffix, lang2_comment;
    bool DBEmpty = false;
    bool DBChanged = false;
    bool ListeNichtLeer = false;
    QString TextThatHasFocus;
    CDBHandler clsdb;
    bool bLoading = false;

    // Start-up (the load step), run by the splash's timer.
    void Form_Load();
    // A failure found before this window exists (the data folder could not
    // take the language databases); the load step shows it once.
    static void setStartupError(const QString& description);
    bool SetLanguageSettings();
    void Open_DB(const QString& fileName);

    void FehlerAusgabe(const QString& errmsg = QString());
    void GreyOut();
    void UpdateLanguageFields();
    void SetzeAnzeigen();
    void ConditionToUI();
    void SetUserInterfaceProperties();

    // Writes one language side of the current record of clsdb.rsKopieren into
    // the list grid's current row (lang 1 or 2).
    void SetzeAusdruckAusDBinGrid(int lang);

    // Equal-character pairs, read back from the settings the options window writes.
    void GetExceptions();
    QString ReturnIteExceptionL(int i) const;
    QString ReturnIteExceptionR(int i) const;

    // Commands.
    void Command1_Click(); // selection window
    void Grid_Click();     // list window
    void Command2_Click(); // trainer
    void Command4_Click(); // quit
    void Datei_Drucken_Click();
    void mnuHelpInhalt_Click();
    void mnuHelpSuchen_Click();
    void mnuHelpInfo_Click();
    void mnWeb_Click();
    bool LaunchWebBrowser(const QString& URL);
    void Command5_Click(); // database upgrade (hidden button)

    // The label of language 2, read by the selection window.
    QString lang2LabelCaption() const;

    // Procedures no command uses (Form1_Unbound.cpp): single entries written
    // straight into clsdb.rsVokabular, and the equal-character pairs applied
    // to a text.
    void schreibeVokabel1(const QString& word);
    void schreibeVokabel2(const QString& value);
    void SchreibeDeutschEnglisch();
    QString WorkInException(const QString& str) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override; // activation runs ConditionToUI

private:
    bool IsSprachdatei() const;
    void FehlerUndEnde();
    void OpenDatabaseAt(const QString& path);
    void buildUi();
    // No command uses them (Form1_Unbound.cpp).
    void OeffneDatenbank();
    void NeueDatenbank();
    void ZeigeDialog();
    void RufeSchreibeDeutschEnglisch();
    bool askUnsavedChanges(const QString& english, const QString& german);

    int PrintMargin = 100;
    // Printing the list (Form1_Print.cpp): the printer of the running job,
    // the page counter of its header, the page layout.
    Printer* m_printer = nullptr;
    int PrintPageNumber = 0;
    void PrintHeader();
    void PrintRow(const QString& str1, const QString& str2);
    QString StringCut(const QString& str);
    QString CutRightColumn(const QString& str, double left);
    QList<int> PrintOrder();
    QStringList ExcL, ExcR; // equal-character pairs, 1-based through the accessors

    struct Ui;
    Ui* ui;
};
