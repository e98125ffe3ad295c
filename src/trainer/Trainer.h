#pragma once
// The trainer window: walks the current list (the list window's grid) in
// list order, shuffled or at random, shows the question and then the whole
// entry, and in the self-test changes each entry's error score.
#include <QMainWindow>
#include <QStringList>

#include <optional>
#include <vector>

class MSFlexGrid;
class QToolBar;
class QAction;
class QMenu;
class QPushButton;
class QProgressBar;
class QStatusBar;
class QLineEdit;
class QLabel;
class QToolButton;
class QFrame;
class QListWidget;
class ConfirmDlg;

class Trainer : public QMainWindow {
    Q_OBJECT
public:
    explicit Trainer(QWidget* parent = nullptr);
    ~Trainer() override;

    // Options, held while the program runs and never saved.
    bool OptSequentiell = true;
    bool OptShuffle = false;
    bool OptRandom = false;
    bool OptSpanisch1st = true;
    bool OptDeutsch1st = false;
    bool OptTest = false;
    bool OptSchleife = false;
    bool OptSchreiben = false;
    bool OptFehlerBestaetigen = false;
    bool OptMainOnly = false;
    bool OptDetails = false;
    int TbIndMainOnly = 12;
    QString EingabeWert;

    MSFlexGrid* VokabelnGrid = nullptr;

    // Controls.
    QFrame* Toolbar1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* Command6 = nullptr; // restart
    QPushButton* back = nullptr;     // to the beginning
    QPushButton* Command1 = nullptr; // one back
    QPushButton* Command2 = nullptr; // one forward
    QPushButton* ToEnd = nullptr;    // to the end
    QPushButton* Command3 = nullptr; // step
    QPushButton* Command4 = nullptr; // close
    QStatusBar* StatusBar1 = nullptr;
    QLineEdit* LabelOben = nullptr;
    QLineEdit* LabelUnten = nullptr;
    QLineEdit* NichtWort = nullptr;
    QLineEdit* Richtig = nullptr;
    QPushButton* Suche = nullptr;

    QMenu* menDatei = nullptr;
    QAction* menNeustart = nullptr;
    QAction* menClose = nullptr;
    QMenu* menEinstellungen = nullptr;
    QAction* menMain = nullptr;
    QAction* menTestoptionen = nullptr;
    QMenu* menNavigieren = nullptr;
    QAction* menEinsWeiter = nullptr;
    QAction* menEinsZurueck = nullptr;
    QAction* menStep = nullptr;
    QAction* menAnfangSequenz = nullptr;
    QAction* menEndeSequenz = nullptr;
    QMenu* menExtras = nullptr;
    QAction* menInfo = nullptr;

    // Toolbar button by index 1..9 (4 and 7 are separators, nullptr here).
    QToolButton* toolbarButton(int index) const;
    // Left edge and width of toolbar item 1..9 in twips within the toolbar.
    int toolbarItemLeft(int index) const;
    int toolbarItemWidth(int index) const;
    // Status bar panel 1..4.
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);

    // Restart of the sequence (button "Neustart"); also called by the list
    // build, printing and the options window.
    void Command6_Click();
    // The list row at position i of the shuffled order; 0 (reported) outside it.
    int returnSequenz(int i);
    void RowPositionToUI();
    void OptionsToUI();
    // The headings of the question and the answer: the names of the open
    // database's languages, in the order the options ask.
    void LanguageNamesToUI();
    void InitStatusBar();
    void ChangeErrorCount(int mode);

    // Commands.
    void Command3_Click(); // step
    void back_Click();     // beginning
    void Command1_Click(); // one back
    void Command2_Click(); // one forward
    void ToEnd_Click();    // end
    void Command4_Click(); // close (hide)
    void menMain_Click();
    void menTestoptionen_Click();
    void menInfo_Click();
    void Toolbar1_ButtonClick(int index);
    // x in twips within the toolbar; only x is used.
    void Toolbar1_MouseMove(int button, int shift, double x, double y);
    void VokabelnGrid_Click();
    void Form_Activate();

    void SetUserInterfaceProperties();
    void DoFehlerhandlingOhneSchreiben();
    void DoFehlerhandlingMitSchreiben();

    // The confirmation dialog of the self-test, created on first use.
    ConfirmDlg& confirmDlg();

    // Procedures no command uses (Trainer_Unbound.cpp): finding an entry by
    // ID, and the relation operations on data (no panel shows them).
    bool PositioniereRecord(const QString& ID);
    bool GetRelations();
    void refSort();
    void AddRelTypToCombo(const QString& str);
    void SetzeFeldVonGridInListbox(QListWidget* ctr);
    static QString BereichAufbereiten(const QString& str);
    void CompareAndSetInGrid();
    void SetRelationGridSettings();
    void ClearDetails();
    void ClearRelationGrid();
    void InitialisiereNoReferences();
    void InvertRelationGrid();
    int RelCount = 0;
    QStringList RelIDs; // 0-based here; entry k is relation k+1
    QStringList RelTypen;
    QStringList RelTypeList; // the ordered list of relation types

    // Read-only view of the sequence state (tests and printing).
    int seqCount() const { return SeqCount; }
    int seqIndex() const { return SeqIndex; }
    int frageAngezeigt() const { return FrageAngezeigt; }
    int anzahlRichtig() const { return AnzahlRichtig; }
    bool schleifenStatusRight(int position) const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void Form_Load();
    void MischeVokabeln();
    void initialisiereSchleife();
    bool SetIndexAccordingToSchleife();
    void ZeigeVokabel(int n);
    void InvertVokabelnGrid();
    void hideWriteControls();
    int randomRow() const;
    int rowAt(int position) const; // list row of a sequence position by the order
    int entryCount() const;
    bool isEntryPosition(int position) const;
    int shownRow();
    int revealRow();
    // Writes the score of entry `id` stepped by delta from the score stored
    // (1 without a delta) and returns it. While another program holds the
    // file, the learner may try again; an entry no longer in the file is told.
    int writeScoreStep(const QString& id, std::optional<int> delta);
    void missingEntryNotice(const QString& id, const QString& file);
    void showNavigated();
    int sequenz(int position) const;
    void endOfSequenceNotice();
    QRect questionAndAnswer() const; // on the screen, kept clear by the notices
    void wrapLoop();
    void setBar(int min, int max, int value);
    void leaveDesignPosition();
    // No command uses them (Trainer_Unbound.cpp).
    void OeffneOptionen();
    void ToggleSelbsttest();
    void ToggleDetailAnsicht();

    // Sequence state.
    int SeqCount = 0;
    int SeqIndex = 0;
    std::vector<int> Sequenz;         // 1-based; [0] unused
    std::vector<int> SchleifenStatus; // 1-based; -1 = answered right
    int FrageAngezeigt = 0;
    int AnzahlRichtig = 0;
    int DurchlaufIndex = 0;
    int ShownRow = 0; // list row of the entry on display, 0 = none
    QString ShownId;  // and its ID
    int AntwortRichtig = 0;
    int AntwortFalsch = 1;
    int TbIndSequentiell = 1, TbIndShuffle = 2, TbIndRandom = 3, TbIndSpanisch1st = 5, TbIndDeutsch1st = 6,
        TbIndTest = 8, TbIndSchleife = 9, TbInd10 = 10, TbInd11 = 11;

    QWidget* m_tbItems[10] = {}; // toolbar items 1..9
    QLabel* m_panels[4] = {};
    ConfirmDlg* m_confirm = nullptr;
    int m_pbMin = 0, m_pbMax = 1, m_pbValue = 0;
};
