#include "mainwindow/frmAboutBox.h"

#include "common/Global.h"
#include "platform/AppPaths.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

frmAboutBox::frmAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Lexuvant Info"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::size(5415, 3555));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Twips::rect(240, 120, 3015, 660));
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(AppPaths::picturePath(QStringLiteral("splash.png"))));

    const QFont bold = Twips::designFont(QStringLiteral("MS Sans Serif"), 9.75, true);
    lblTitle = new QLabel(QStringLiteral("Lexuvant"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(Twips::rect(720, 960, 2325, 240));
    lblTitle->setFont(bold);

    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setGeometry(Twips::rect(3120, 960, 735, 240));
    Label5->setFont(bold);

    // A one-pixel grey rule from 120 to 5280 twips.
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setGeometry(QRect(Twips::toPixelsX(120), Twips::toPixelsY(2445), Twips::toPixelsX(5280 - 120), 1));
    Line1->setAutoFillBackground(true);
    QPalette grey = Line1->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    Line1->setPalette(grey);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips::rect(4005, 2625, 1260, 345));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    // Esc rejects a QDialog already, which closes the box as OK does.
    connect(cmdOK, &QPushButton::clicked, this, &frmAboutBox::cmdOK_Click);

    Form_Load();
}

void frmAboutBox::Form_Load() { Label5->setText(QStringLiteral("V") + gVersion); }

void frmAboutBox::cmdOK_Click() { accept(); }
