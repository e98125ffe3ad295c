#pragma once
// The list window: the current vocabulary list in a 24-column grid, with
// sorting, a row marker, a caption that counts the entries, find and print.
// The grid is the only copy of the list; the other windows read it by row
// and column through the column numbers below.
#include <QMainWindow>
#include <QPixmap>

class MSFlexGrid;
class QAction;
class QMenu;
class QPushButton;
class QLabel;

class Liste : public QMainWindow {
    Q_OBJECT
public:
    explicit Liste(QWidget* parent = nullptr);
    ~Liste() override;

    MSFlexGrid* MSFlexGrid1;
    QPushButton* Command1; // Close
    QLabel* Label1;        // help hint
    QPushButton* Command6; // hidden, nothing shows it
    QPushButton* Drucken;  // hidden, nothing shows it
    QMenu* mnFile;
    QAction* mnDrucken;
    QAction* mnSuchen;
    QAction* mnSchliessen;
    QMenu* WordSort;
    QAction* mnSpanisch;
    QAction* mnDeutsch;
    QAction* mnBereich;
    QAction* mnScore;

    // Unsaved-change counters (nothing in the program raises them).
    int lfd = 0, DelLfd = 0, AddLfd = 0;
    int previousRow = 0; // the row carrying the marker, 0 = none
    int previousCol = 0;

    // Column numbers.
    static constexpr int txtSpanisch = 2, txtDeutsch = 3, txtWortart = 4, txtGrammatikalischeAttribute = 5,
                         txtFunktionaleAttribute = 6, txtBereich = 7, txtBeispielsatz = 8, txtZusatzinfo = 9,
                         txtQuelle = 10, txtEingabedatum = 11, txtAenderungsdatum = 12, txtScore = 13,
                         txtSpanisch_Prefix = 14, txtSpanisch_Main = 15, txtSpanisch_Suffix = 16,
                         txtSpanisch_Kommentar = 17, txtDeutsch_Prefix = 18, txtDeutsch_Main = 19,
                         txtDeutsch_Suffix = 20, txtDeutsch_Kommentar = 21, txtEingabe_mod = 22, txtAenderung_mod = 23;

    void SetHeaders();
    void AdjustControls();
    void SaveColWidths();
    bool ColIsHidden(int ICol);

    void LoescheListe();
    void SetzeStatus();
    void ConditionToUI();
    void SetzeMarke();
    void ResetMarke();
    void SortByAll();
    void SortWord(const QString& mode);
    void SortAccordingToCol();
    void SetColResize();
    void SetUserInterfaceProperties();

    // Procedures no command uses (Liste_Unbound.cpp).
    void HideColsAccordingToOptions();
    void SortByPrefix();
    void SortByMain();
    void SortBySuffix();
    int RowPos_To_RecPos(int Row);
    int Fgi(int R, int c);
    QString ArrayDBToListe(const QString& str);

    // The number of entries as the status caption counts them.
    int entryCount() const;

    // Commands.
    void Command1_Click();
    void mnSuchen_Click();
    void mnSpanisch_Click();
    void mnDeutsch_Click();
    void mnBereich_Click();
    void mnScore_Click();

protected:
    bool event(QEvent* event) override; // activation: ConditionToUI, maximized
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void MSFlexGrid1_MouseDown(int button, int shift, int x, int y);
    void MSFlexGrid1_MouseMove(int button, int shift, int x, int y);
    void MSFlexGrid1_Click();
    void sortFromMenu(int col, void (Liste::*sort)());
    void resetAndSortWord(const QString& mode);
    bool inHeaderZone(int y) const;
    QSize windowSizeTwips() const;
    void placeControls();
    QPixmap markerPicture();
    QString m_markerPath;
    QPixmap m_marker;
    int m_savedWidths[12] = {};
    bool m_firstLayout = true;
    int m_leftMargin = 0;
};
