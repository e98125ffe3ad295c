#pragma once
// The trainer window: walks the current list (the list window's grid) in
// list order, shuffled or at random, shows the question and then the whole
// entry, and in the self-test changes each entry's error score.
#include <QMainWindow>

#include <vector>

class MSFlexGrid;
class QToolBar;
class QAction;
class QPushButton;
class QProgressBar;
class QStatusBar;
class QLineEdit;

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

    // Restart of the sequence (button "Neustart"); also called by the list
    // build, printing and the options window.
    void Command6_Click();
    // The list row at position i of the shuffled order; 0 (reported) outside it.
    int returnSequenz(int i);
    void RowPositionToUI();
    void OptionsToUI();
    void InitStatusBar();
    bool PositioniereRecord(const QString& ID);
    void ChangeErrorCount(int mode);
};
