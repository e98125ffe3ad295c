#pragma once
// The find dialog: an incremental search in the list window's grid by the
// expression of one of the two languages.
#include <QDialog>
#include <QString>

class QRadioButton;
class QLineEdit;
class QLabel;
class QPushButton;

class frmSuchen : public QDialog {
    Q_OBJECT
public:
    // mode names the calling window; "Liste" places the dialog at the list
    // window and sorts the list by the chosen language.
    explicit frmSuchen(const QString& mode = QStringLiteral("Liste"), QWidget* parent = nullptr);
    ~frmSuchen() override;

    QString mode;

    QRadioButton* Option1;
    QRadioButton* Option2;
    QLineEdit* txtAusdruck;
    QLabel* lblNicht;
    QPushButton* Command1;

    void SetUserInterfaceProperties();
    void Form_Activate();
    void Option1_Click();
    void Option2_Click();
    void txtAusdruck_Change();
    void Command1_Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Form_Load();
    void chooseLanguage(QRadioButton* option, int column);
};

// The list window's find command: shows the dialog modal for the list.
void showFindDialogForList();
