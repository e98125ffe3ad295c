#include "trainer/ConfirmDlg.h"

#include "common/Global.h"
#include "platform/HelpViewer.h"
#include "platform/MessageService.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QPushButton>

ConfirmDlg::ConfirmDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ConfirmDlg"));
    setWindowTitle(QStringLiteral("Bestätigen"));
    setFixedSize(Twips::size(2280, 1575));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 255, 255));
    setPalette(pal);

    Label1 = new QLabel(QStringLiteral("Ist das das Wort, das erwartet wurde?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Twips::designFont(QStringLiteral("Arial"), 9.75, true));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(Twips::rect(120, 120, 2040, 735));

    QFont bold = Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25, true);
    JaButton = new QPushButton(QStringLiteral("Ja"), this);
    JaButton->setObjectName(QStringLiteral("JaButton"));
    JaButton->setFont(bold);
    JaButton->setGeometry(Twips::rect(120, 1020, 975, 375));
    JaButton->setDefault(true);
    NeinButton = new QPushButton(QStringLiteral("Nein"), this);
    NeinButton->setObjectName(QStringLiteral("NeinButton"));
    NeinButton->setFont(bold);
    NeinButton->setGeometry(Twips::rect(1185, 1020, 975, 375));
    setTabOrder(JaButton, NeinButton);

    connect(JaButton, &QPushButton::clicked, this, [this] { JaButton_Click(); });
    connect(NeinButton, &QPushButton::clicked, this, [this] { NeinButton_Click(); });
    HelpViewer::installF1(this, 10024);
    SetUserInterfaceProperties();
}

void ConfirmDlg::SetUserInterfaceProperties()
{
    if (!isEnglish())
        return;
    setWindowTitle(QStringLiteral("Confirm"));
    Label1->setText(QStringLiteral("Is this the word you expected?"));
    JaButton->setText(QStringLiteral("Yes"));
    NeinButton->setText(QStringLiteral("No"));
}

void ConfirmDlg::JaButton_Click()
{
    Reply = QStringLiteral("Yes");
    m_answered = true;
    accept();
}

void ConfirmDlg::NeinButton_Click()
{
    Reply = QStringLiteral("No");
    m_answered = true;
    accept();
}

bool ConfirmDlg::ask()
{
    m_answered = false;
    JaButton->setFocus();
    MessageService::instance().execModal(this);
    return m_answered;
}
