#pragma once
// The splash window: product name and version, a status line with a progress
// bar, and after 2000 ms the main window.
#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;
class QFrame;

class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

    QLabel* Label2;
    QLabel* lblPlatform;
    QLabel* labStatus;
    QProgressBar* ProgressBar1;
    QFrame* frmStatus;
    QTimer* Timer1;

    void Form_Load();
    void Timer1_Timer();
    void SetUserInterfaceProperties();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_ready = false;
    bool m_ticked = false; // the timer's work is done (it runs once)
};
