#pragma once
// The about box: picture, product name and version, OK.
#include <QDialog>

class QLabel;
class QPushButton;
class QFrame;

class frmAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit frmAboutBox(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* lblTitle;
    QLabel* Label5;
    QFrame* Line1;
    QPushButton* cmdOK;

    void Form_Load();
    void cmdOK_Click();

    // Procedures no command uses (frmAboutBox_Unbound.cpp).
    void StartSysInfo();
    // Reads one value of the platform registry; there is no registry here.
    bool GetKeyValue(const QString& keyRoot, const QString& keyName, const QString& subKeyRef, QString& keyValue);
};
