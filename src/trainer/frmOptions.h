#pragma once
// The options window of the trainer: order, language order and test options
// (first and second tab), equal-character pairs and list columns.
#include <QDialog>
#include <QSet>
#include <QString>

#include <array>
#include <utility>

class QTabBar;
class QGroupBox;
class QRadioButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;
class MSFlexGrid;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);
    ~frmOptions() override;

    // Tab strip; tabs are counted from 1 as the trainer's menus name them.
    QTabBar* tbsOptions;
    std::array<QWidget*, 4> picOptions{}; // pages: order, test, pairs, list columns

    // Page 0: order and languages.
    QGroupBox* fraSample1;
    QRadioButton* Reihenfolge_sequentiell;
    QRadioButton* Reihenfolge_shuffle;
    QRadioButton* Reihenfolge_random;
    QGroupBox* Frame1;
    QRadioButton* Sprache_spanisch;
    QRadioButton* Sprache_deutsch;
    QLabel* Erklaerung_Reihenfolge;

    // Page 1: the vocabulary test.
    QGroupBox* fraSample2;
    QCheckBox* Selbsttest;
    QCheckBox* Schleife;
    QCheckBox* Schreiben;
    QCheckBox* FehlerBestaetigen;
    QCheckBox* MainOnly;
    QLabel* KommentarLabel;

    // Page 2: pairs of characters to be treated as equal.
    QGroupBox* fraSample3;
    MSFlexGrid* MSFlexGrid1;
    QLineEdit* Text1;
    QLabel* Label1;
    QLineEdit* Text2;
    QPushButton* add;
    QPushButton* Remove;
    QLabel* Erklaerung_Zeichen;

    // Page 3: which optional columns the list shows.
    QGroupBox* Frame2;
    QLabel* Label4;
    QCheckBox* chkWortart;
    QCheckBox* chkGrammatikalischeAttribute;
    QCheckBox* chkFunktionaleAttribute;
    QCheckBox* chkBereich;
    QCheckBox* chkQuelle;
    QCheckBox* chkBeispielsatz;
    QCheckBox* chkZusatzinfo;
    QCheckBox* chkEingabedatum;
    QCheckBox* chkAenderungsdatum;
    QCheckBox* chkScore;

    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdApply;
    QLabel* Label3;
    QLabel* Label2;

    // 1-based index of the selected tab, and selecting one (raises tbsOptions_Click).
    int selectedTab() const;
    void selectTab(int index);

    void SetOptions();
    void GetOptions();
    void SetExceptions();
    void PrepareExceptionsOptions();
    void SaveColsSettings();
    void SetListColVisibility();
    static QString MyItoS(int i);
    void SetUserInterfaceProperties();

    // Event handlers.
    void Form_Activate();
    void tbsOptions_Click();
    void Selbsttest_Click();
    void Schreiben_Click();
    void Schleife_Click();
    void Reihenfolge_sequentiell_Click();
    void Reihenfolge_shuffle_Click();
    void Reihenfolge_random_Click();
    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void Add_Click();
    void Remove_Click();
    void MSFlexGrid1_Click();

    int MarkedExceptionRow = -1;
    int SavedRowHeight = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void buildPage0();
    void buildPage1();
    void buildPage2();
    void buildPage3();
    void layOutPairGrid();
    void MarkSelectedException();
    void UpdateExceptionButtons();
    void explain(QObject* control);
    bool checkedBox(const QCheckBox* box) const;

    QFrame* m_tabPanel = nullptr;
    // The (left, right) pairs of the grid's shown rows, so that Add finds a
    // pair already there without reading every row; Add and Remove keep it.
    QSet<std::pair<QString, QString>> m_pairsInGrid;
};

// Shows the options window modal with tab `tabIndex` (1-based) selected;
// creates it first when needed. Used by the trainer's menus.
void showOptionsWindow(int tabIndex);
