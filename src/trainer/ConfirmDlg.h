#pragma once
// The self-test question of the trainer: "is this the word you expected?"
// Yes or No. Created on first use, afterwards only hidden and shown again.
#include <QDialog>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;

class ConfirmDlg : public QDialog {
    Q_OBJECT
public:
    explicit ConfirmDlg(QWidget* parent = nullptr);

    // The last answer, "Yes" or "No" in both languages; kept between showings.
    QString Reply;

    QLabel* Label1;
    QPushButton* JaButton;
    QPushButton* NeinButton;

    void JaButton_Click();
    void NeinButton_Click();
    void SetUserInterfaceProperties();

    // Shows the dialog modal and tells whether one of the two buttons
    // answered it (false when it was closed by the window manager). The
    // dialog stays clear of `uncovered` (screen coordinates): the text the
    // learner compares the answer with.
    bool ask(const QRect& uncovered = QRect());

private:
    void fitCaption();

    bool m_answered = false;
    bool m_placed = false;
    QWidget* m_body = nullptr;
};
