#pragma once
// The selection window: subject areas and the error-score range of the
// current list; Start and OK build the list.
#include <QDialog>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QLineEdit;
class QStatusBar;
class CQuery;
class clsCursor;
class MSFlexGrid;

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    QString TextThatHasFocus;
    bool Changes = true;

    QLabel* Image1;
    QLabel* lblLanguage;
    QListWidget* lstBereichLinks;
    QListWidget* lstBereichRechts;
    QPushButton *cmdAdd, *cmdRemove, *cmdAddAll, *cmdRemoveAll;
    QSlider *MinScoreSlider, *MaxScoreSlider;
    QLineEdit *MinScore, *MaxScore;
    QPushButton* Command1;  // OK
    QPushButton* Command3;  // Close
    QPushButton* Command4;  // Start
    QStatusBar* StatusBar1;

    void initialisiere();
    void initialisiereListe();
    bool AllSelected(QListWidget* l1, QListWidget* l2) const;
    void CheckScoreValues(const QString& mode);
    void SetLangEingabe(const QString& mode);
    QString QueryStringForExpression(const QString& mode);
    QString AllGrammatikalisches(const QString& ID);
    QString AllFunktionales(const QString& ID);
    void SetUserInterfaceProperties();

    void Command4_Click();  // build the list
    void Command1_Click();  // OK
    void Command3_Click();  // Close

private:
    void SetzeStandardwerte();
    void SetzeZeileAusDBinGrid(int& row, bool& written);
    struct Impl;
    std::unique_ptr<Impl> d;
};
