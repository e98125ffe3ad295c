#include "trainer/ConfirmDlg.h"

#include "common/Global.h"
#include "common/HelpKey.h"
#include "platform/MessageService.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {
constexpr int kDesignWidth = 2280, kDesignHeight = 1575; // client area, twips
}

ConfirmDlg::ConfirmDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ConfirmDlg"));
    setWindowTitle(QStringLiteral("Bestätigen"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 255, 255));
    setPalette(pal);

    // The controls keep their design places on a panel of the design size.
    m_body = new QWidget(this);
    m_body->setGeometry(Twips::rect(0, 0, kDesignWidth, kDesignHeight));

    Label1 = new QLabel(QStringLiteral("Ist das das Wort, das erwartet wurde?"), m_body);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Twips::designFont(QStringLiteral("Arial"), 9.75, true));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(Twips::rect(120, 120, 2040, 735));

    QFont bold = Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25, true);
    JaButton = new QPushButton(QStringLiteral("Ja"), m_body);
    JaButton->setObjectName(QStringLiteral("JaButton"));
    JaButton->setFont(bold);
    JaButton->setGeometry(Twips::rect(120, 1020, 975, 375));
    JaButton->setDefault(true);
    NeinButton = new QPushButton(QStringLiteral("Nein"), m_body);
    NeinButton->setObjectName(QStringLiteral("NeinButton"));
    NeinButton->setFont(bold);
    NeinButton->setGeometry(Twips::rect(1185, 1020, 975, 375));
    setTabOrder(JaButton, NeinButton);

    connect(JaButton, &QPushButton::clicked, this, [this] { JaButton_Click(); });
    connect(NeinButton, &QPushButton::clicked, this, [this] { NeinButton_Click(); });
    HelpKey::installF1(this, 10024);
    SetUserInterfaceProperties();
    fitCaption();
}

// A window manager's title bar holds the caption beside the window icon and
// its buttons; at the design width of about 150 pixels "Bestätigen" is cut
// to "Be…en". The dialog grows just enough for its caption, its controls
// centred on it.
void ConfirmDlg::fitCaption()
{
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int titleBarExtras = Twips::toPixelsX(1800); // icon, three buttons, margins
    const int design = Twips::toPixelsX(kDesignWidth);
    const int width = std::max(design, QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + titleBarExtras);
    setFixedSize(width, Twips::toPixelsY(kDesignHeight));
    m_body->move((width - design) / 2, 0);
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

bool ConfirmDlg::ask(const QRect& uncovered)
{
    // Asked again, it stays where it was (the learner may have moved it)
    // while that covers nothing.
    m_placed = WindowPlacement::placeClearOf(*this, uncovered, m_placed) || m_placed;
    m_answered = false;
    JaButton->setFocus();
    MessageService::instance().execModal(this);
    return m_answered;
}
