#include "mainwindow/frmSplash.h"

#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/MessageService.h"
#include "platform/QtTranslations.h"
#include "platform/SystemServices.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QTimer>

namespace {
QFrame* makeFrame(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setGeometry(geometry);
    return f;
}
} // namespace

frmSplash::frmSplash(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(Twips::size(6585, 4935));

    QFrame* frame1 = makeFrame(this, "Frame1", Twips::rect(120, 120, 6240, 4635));
    frame1->setFrameShape(QFrame::Box);
    frame1->setFrameShadow(QFrame::Sunken);
    QFrame* frame2 = makeFrame(frame1, "Frame2", Twips::rect(240, 600, 5775, 2895));

    auto* image1 = new QLabel(frame2);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(Twips::rect(720, 0, 4200, 900));
    image1->setAlignment(Qt::AlignCenter);
    const QPixmap picture(AppPaths::picturePath(QStringLiteral("splash.png")));
    if (!picture.isNull())
        image1->setPixmap(picture.scaled(image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));

    Label2 = new QLabel(frame2);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(Twips::rect(0, 1200, 5775, 615));
    Label2->setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 24, true));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    lblPlatform = new QLabel(QStringLiteral("für Linux"), frame2);
    lblPlatform->setObjectName(QStringLiteral("lblPlatform"));
    lblPlatform->setGeometry(Twips::rect(0, 1800, 5775, 375));
    lblPlatform->setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 12, true));
    lblPlatform->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    frmStatus = makeFrame(frame1, "frmStatus", Twips::rect(240, 240, 5775, 255));

    labStatus = new QLabel(frmStatus);
    labStatus->setObjectName(QStringLiteral("labStatus"));
    labStatus->setGeometry(Twips::rect(120, 0, 2655, 255));
    labStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The form's own font: the longest status texts fit the label only in it.
    labStatus->setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25));

    ProgressBar1 = new QProgressBar(frmStatus);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(Twips::rect(3120, 30, 2655, 135));
    ProgressBar1->setTextVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);

    WindowPlacement::centreOnScreen(*this);

    Forms::setSplash(this);
    Form_Load();
    Timer1->start();
}

frmSplash::~frmSplash()
{
    if (Forms::splash() == this)
        Forms::setSplash(nullptr);
}

void frmSplash::Form_Load()
{
    // A failure here leaves the program without a usable start: report and end.
    try {
        InitGlobals();
        // Qt's own texts (dialogs, key names) follow the interface language,
        // known from here on.
        QtTranslations::install();
        Label2->setText(QStringLiteral("Lexuvant V") + gVersion);
        SetUserInterfaceProperties();
        ProgressBar1->setRange(0, 100);
        ProgressBar1->setValue(1);
        labStatus->setText(tr2(QStringLiteral("Loading program ..."), QStringLiteral("Programm wird geladen ...")));
        frmStatus->repaint();
        m_ready = true;
    } catch (const std::exception& e) {
        MsgBox(QString::fromUtf8(e.what()), MsgStyle::Critical, QString());
        SystemServices::endProcess(0);
    }
}

void frmSplash::SetUserInterfaceProperties()
{
    if (isEnglish())
        lblPlatform->setText(QStringLiteral("for Linux"));
}

void frmSplash::Timer1_Timer()
{
    // The timer does its work once; a later tick (or a key press after the
    // tick) must not show a second main window.
    Timer1->stop();
    if (m_ticked)
        return;
    m_ticked = true;

    // Whatever happens below, the splash is gone afterwards.
    struct Unload {
        frmSplash* self;
        ~Unload()
        {
            Forms::setSplash(nullptr);
            self->hide();
            self->deleteLater();
        }
    } unload{this};

    if (!m_ready)
        return;
    m_ready = false;
    ProgressBar1->setValue(3);
    frmStatus->repaint();
    Form1& main = Forms::form1();
    main.Form_Load();
    main.show();
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    // A character key only cuts the wait short: the main window comes at once.
    if (!event->text().isEmpty()) {
        event->accept();
        Timer1_Timer();
        return;
    }
    QDialog::keyPressEvent(event);
}
