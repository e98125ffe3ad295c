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
    QPushButton* Command1; // OK
    QPushButton* Command3; // Close
    QPushButton* Command4; // Start
    QStatusBar* StatusBar1;

    void initialisiere();
    void setDatabaseOpen(bool open);
    void initialisiereListe();
    bool AllSelected(QListWidget* l1, QListWidget* l2) const;
    void CheckScoreValues(const QString& mode);
    void SetUserInterfaceProperties();

    void Command4_Click(); // build the list
    void Command1_Click(); // OK
    void Command3_Click(); // Close

    // Moving areas between the two lists.
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdAddAll_Click();
    void cmdRemoveAll_Click();

    // The text of the status bar (the number of selected entries).
    QString statusText() const;

    // The parked second panel (never shown, nothing reads it).
    QWidget* picOptions = nullptr;
    QLineEdit* Beispielsatz = nullptr;
    QLineEdit* Zusatzinfo = nullptr;
    // The language check boxes of the parked panel (Lang1Check, Lang2Check).
    void SetLangEingabe(const QString& mode);

    // Procedures no command uses (Form2_Unbound.cpp).
    QString QueryStringForExpression(const QString& mode);
    QString AllGrammatikalisches(const QString& ID);
    QString AllFunktionales(const QString& ID);

public slots:
    void reject() override; // Esc closes like Command3

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void SetzeStandardwerte();
    void MinScore_Change();
    void MaxScore_Change();
    void checkTypedScore(QLineEdit* box, QSlider* slider, const QString& mode);
    void setStatusText(const QString& text);
    void createParkedPanel();
    struct Impl;
    std::unique_ptr<Impl> d;
};
