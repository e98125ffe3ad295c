#include "selection/Form2.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/HelpKey.h"
#include "common/ShowMsgBox.h"
#include "common/TextProcs.h"
#include "database/Schema.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/AppPaths.h"
#include "platform/MessageService.h"
#include "platform/FocusShown.h"
#include "platform/Twips.h"
#include "selection/ListBuilder.h"
#include "selection/Liste.h"
#include "selection/LstFkt.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>

#include <memory>

struct Form2::Impl {
    ListBuilder builder;
    int loadWidth = 0, loadHeight = 0;
    QLabel* statusLabel = nullptr;
};

namespace {

// Design geometry (twips).
constexpr int kClientWidth = 8085;
constexpr int kClientHeight = 4695;

// The flag picture of a language 2 name; empty when the name has none.
QString flagFile(const QString& language)
{
    static const QList<QPair<QString, QString>> flags = {
        {QStringLiteral("Dänisch"), QStringLiteral("Dänemark.bmp")},
        {QStringLiteral("Englisch"), QStringLiteral("GB.bmp")},
        {QStringLiteral("Finnisch"), QStringLiteral("Finnland.bmp")},
        {QStringLiteral("Französisch"), QStringLiteral("Französisch.bmp")},
        {QStringLiteral("Isländisch"), QStringLiteral("Island.bmp")},
        {QStringLiteral("Italienisch"), QStringLiteral("Italien.bmp")},
        {QStringLiteral("Portugiesisch"), QStringLiteral("Portugal.bmp")},
        {QStringLiteral("Schwedisch"), QStringLiteral("Schweden.bmp")},
        {QStringLiteral("Spanisch"), QStringLiteral("Spanien.bmp")},
        {QStringLiteral("Ungarisch"), QStringLiteral("Ungarn.bmp")},
    };
    for (const auto& f : flags)
        if (f.first == language)
            return f.second;
    return QString();
}

QString entriesSelected(int n)
{
    return QString::number(n) + tr2(QStringLiteral(" entries selected"), QStringLiteral(" Vokabeln ausgewählt"));
}

} // namespace

Form2::Form2(QWidget* parent) : QDialog(parent), d(std::make_unique<Impl>())
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Auswahl"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    const QFont sans = Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25);
    setFont(sans);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    Twips::place(Image1, 120, 120, 900, 540);

    lblLanguage = new QLabel(this);
    lblLanguage->setObjectName(QStringLiteral("lblLanguage"));
    lblLanguage->setFont(Twips::designFont(QStringLiteral("Arial"), 18, true));
    Twips::place(lblLanguage, 1200, 150, 4000, 480);

    auto* Frame3 = new QGroupBox(QStringLiteral("Bereiche"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Twips::place(Frame3, 120, 780, 5055, 3000);

    auto* Label1 = new QLabel(QStringLiteral("nicht ausgewählt:"), Frame3);
    Label1->setObjectName(QStringLiteral("Label1"));
    Twips::place(Label1, 120, 240, 2000, 255);
    auto* Label2 = new QLabel(QStringLiteral("ausgewählt:"), Frame3);
    Label2->setObjectName(QStringLiteral("Label2"));
    Twips::place(Label2, 2935, 240, 2000, 255);

    lstBereichLinks = new FocusListBox(Frame3);
    lstBereichLinks->setObjectName(QStringLiteral("lstBereichLinks"));
    lstBereichLinks->setToolTip(QStringLiteral("Hier einen Bereich auswählen und mit '>' zur Auswahl hinzufügen"));
    Twips::place(lstBereichLinks, 120, 510, 2000, 2370);
    lstBereichRechts = new FocusListBox(Frame3);
    lstBereichRechts->setObjectName(QStringLiteral("lstBereichRechts"));
    lstBereichRechts->setToolTip(QStringLiteral("Hier einen Bereich auswählen und mit '<' von der Auswahl entfernen"));
    Twips::place(lstBereichRechts, 2935, 510, 2000, 2370);
    for (QListWidget* l : {lstBereichLinks, lstBereichRechts}) {
        l->setSortingEnabled(true);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    for (const QString& area : Schema::areaNames())
        AddSortedItem(lstBereichLinks, area);

    auto makeButton = [this](QWidget* parentWidget, const char* name, const QString& text, const QString& tip) {
        auto* b = new FocusButton(text, parentWidget);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        return b;
    };
    cmdAdd = makeButton(Frame3, "cmdAdd", QStringLiteral(">"),
                        QStringLiteral("Selektierten Bereich zur Auswahl hinzufügen"));
    cmdRemove = makeButton(Frame3, "cmdRemove", QStringLiteral("<"),
                           QStringLiteral("Selektierten Bereich von Auswahl entfernen"));
    cmdAddAll =
        makeButton(Frame3, "cmdAddAll", QStringLiteral(">>"), QStringLiteral("Alle Bereiche zur Auswahl hinzufügen"));
    cmdRemoveAll =
        makeButton(Frame3, "cmdRemoveAll", QStringLiteral("<<"), QStringLiteral("Alle Bereiche von Auswahl entfernen"));
    Twips::place(cmdAdd, 2235, 720, 585, 375);
    Twips::place(cmdRemove, 2235, 1200, 585, 375);
    Twips::place(cmdAddAll, 2235, 1800, 585, 375);
    Twips::place(cmdRemoveAll, 2235, 2280, 585, 375);

    auto* fraSample3 = new QGroupBox(QStringLiteral("Fehlerscore"), this);
    fraSample3->setObjectName(QStringLiteral("fraSample3"));
    fraSample3->setToolTip(QStringLiteral("Hier den Bereich für den Fehlerscore einstellen"));
    Twips::place(fraSample3, 5340, 780, 2625, 3000);

    // One row per bound: label, slider, text box.
    auto scoreRow = [fraSample3](const char* labelName, const QString& caption, const char* name, const QString& value,
                                 int top, QSlider*& slider, QLineEdit*& box) {
        auto* label = new QLabel(caption, fraSample3);
        label->setObjectName(QLatin1String(labelName));
        Twips::place(label, 120, top, 2300, 255);
        slider = new QSlider(Qt::Horizontal, fraSample3);
        slider->setObjectName(QLatin1String(name) + QStringLiteral("Slider"));
        Twips::place(slider, 120, top + 360, 1800, 420);
        box = new QLineEdit(value, fraSample3);
        box->setObjectName(QLatin1String(name));
        Twips::place(box, 2040, top + 360, 435, 330);
    };
    scoreRow("Label8", QStringLiteral("Minimalscore"), "MinScore", QStringLiteral("1"), 360, MinScoreSlider, MinScore);
    scoreRow("Label9", QStringLiteral("Maximalscore"), "MaxScore", QStringLiteral("6"), 1560, MaxScoreSlider, MaxScore);

    for (QSlider* s : {MinScoreSlider, MaxScoreSlider}) {
        s->setRange(1, 6);
        s->setPageStep(1);
        s->setTickPosition(QSlider::TicksBelow);
        s->setTickInterval(1);
        s->setMouseTracking(true);
        s->installEventFilter(this);
    }
    {
        const QSignalBlocker b1(MinScoreSlider), b2(MaxScoreSlider);
        MinScoreSlider->setValue(1);
        MaxScoreSlider->setValue(6);
    }
    MinScore->installEventFilter(this);
    MaxScore->installEventFilter(this);

    Command4 = makeButton(this, "Command4", QStringLiteral("Start"),
                          QStringLiteral("Erstellt die Vokabelliste gemäß der angegebenen Parameter"));
    Command1 =
        makeButton(this, "Command1", QStringLiteral("&OK"),
                   QStringLiteral("Erstellt die Vokabelliste gemäß der angegebenen Parameter und schließt das Fenster"));
    Command3 = makeButton(this, "Command3", QStringLiteral("&Schließen"),
                          QStringLiteral("Schließt das Fenster, ohne die Vokabelliste zu erstellen"));
    Command1->setDefault(true);
    Command1->setAutoDefault(true);
    Twips::place(Command4, 4080, 3915, 1215, 375);
    Twips::place(Command1, 5415, 3915, 1215, 375);
    Twips::place(Command3, 6750, 3915, 1215, 375);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    d->statusLabel = new QLabel(StatusBar1);
    StatusBar1->addWidget(d->statusLabel, 1);
    Twips::place(StatusBar1, 0, kClientHeight - 330, kClientWidth, 330);

    createParkedPanel();

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdAddAll, &QPushButton::clicked, this, [this] { cmdAddAll_Click(); });
    connect(cmdRemoveAll, &QPushButton::clicked, this, [this] { cmdRemoveAll_Click(); });
    connect(lstBereichLinks, &QListWidget::itemDoubleClicked, this, [this] { cmdAdd_Click(); });
    connect(lstBereichRechts, &QListWidget::itemDoubleClicked, this, [this] { cmdRemove_Click(); });
    connect(MinScore, &QLineEdit::textChanged, this, [this] { MinScore_Change(); });
    connect(MaxScore, &QLineEdit::textChanged, this, [this] { MaxScore_Change(); });
    connect(MinScoreSlider, &QSlider::valueChanged, this, [this] {
        CheckScoreValues(QStringLiteral("MinSlider"));
        Forms::form1().TextThatHasFocus.clear();
    });
    // The maximum slider reacts to the user only; the program sets it with
    // its signals blocked.
    connect(MaxScoreSlider, &QSlider::valueChanged, this, [this] {
        CheckScoreValues(QStringLiteral("MaxSlider"));
        Forms::form1().TextThatHasFocus.clear();
    });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });

    HelpKey::installF1(this, 1002);
    Form_Load();
}

Form2::~Form2() = default;

void Form2::createParkedPanel()
{
    // A second panel of parameters lies outside the window; it is kept so its
    // controls exist, but no command reads them.
    picOptions = new QWidget(this);
    picOptions->setObjectName(QStringLiteral("picOptions"));
    picOptions->setGeometry(Twips::rect(-20000, 780, 7845, 3000));
    int left = 120;
    for (const char* name : {"txtEingabeTag", "txtEingabeMonat", "txtEingabeJahr", "txtAenderungTag",
                             "txtAenderungMonat", "txtAenderungJahr"}) {
        auto* box = new QLineEdit(picOptions);
        box->setObjectName(QLatin1String(name));
        Twips::place(box, left, 120, 500, 315);
        auto* updown = new QSpinBox(picOptions);
        updown->setObjectName(QLatin1String(name) + QStringLiteral("UpDown"));
        Twips::place(updown, left + 500, 120, 255, 315);
        left += 900;
    }
    auto* lblBeispielsatz = new QLabel(QStringLiteral("Beispielsatz"), picOptions);
    lblBeispielsatz->setObjectName(QStringLiteral("lblBeispielsatz"));
    Twips::place(lblBeispielsatz, 120, 600, 1500, 255);
    Beispielsatz = new QLineEdit(picOptions);
    Beispielsatz->setObjectName(QStringLiteral("Beispielsatz"));
    Twips::place(Beispielsatz, 1680, 600, 4000, 315);
    auto* lblZusatzinfo = new QLabel(QStringLiteral("Zusatzinfo"), picOptions);
    lblZusatzinfo->setObjectName(QStringLiteral("lblZusatzinfo"));
    Twips::place(lblZusatzinfo, 120, 1080, 1500, 255);
    Zusatzinfo = new QLineEdit(picOptions);
    Zusatzinfo->setObjectName(QStringLiteral("Zusatzinfo"));
    Twips::place(Zusatzinfo, 1680, 1080, 4000, 315);
    for (const char* name : {"Lang1Check", "Lang2Check"}) {
        auto* check = new QCheckBox(picOptions);
        check->setObjectName(QLatin1String(name));
        check->setChecked(true);
        check->setEnabled(false);
        check->setVisible(false);
        connect(check, &QCheckBox::clicked, this, [this, name] { SetLangEingabe(QLatin1String(name).left(5)); });
    }
    connect(Beispielsatz, &QLineEdit::textChanged, this, [this] { Changes = true; });
    Beispielsatz->installEventFilter(this);
    picOptions->hide();
}

// The parked panel's language check boxes call it; it does nothing, as it did.
void Form2::SetLangEingabe(const QString&) {}

void Form2::Form_Load()
{
    ErrorHandling::Steps step(ErrorHandling::Always::Yes);
    step([&] {
        d->loadWidth = Twips::fromPixelsX(Twips::toPixelsX(kClientWidth));
        d->loadHeight = Twips::fromPixelsY(Twips::toPixelsY(kClientHeight));
        // The window keeps its size (a fixed dialog).
        setFixedSize(Twips::size(kClientWidth, kClientHeight));
    });
    step([&] { SetUserInterfaceProperties(); });
    step([&] { initialisiere(); });
}

void Form2::SetUserInterfaceProperties()
{
    if (!isEnglish())
        return;
    setWindowTitle(QStringLiteral("Selection"));
    if (auto* f = findChild<QGroupBox*>(QStringLiteral("fraSample3")))
        f->setTitle(QStringLiteral("Error Score"));
    if (auto* l = findChild<QLabel*>(QStringLiteral("Label8")))
        l->setText(QStringLiteral("Minimum Score"));
    if (auto* l = findChild<QLabel*>(QStringLiteral("Label9")))
        l->setText(QStringLiteral("Maximum Score"));
    Command1->setToolTip(QStringLiteral("Starts the query as defined by the selection parameters and closes this window"));
    Command3->setText(QStringLiteral("&Close"));
    Command3->setToolTip(QStringLiteral("Closes this window without starting a query"));
    Command4->setText(QStringLiteral("S&earch"));
    Command4->setToolTip(QStringLiteral("Starts the query as defined by the selection parameters"));
    if (auto* l = findChild<QLabel*>(QStringLiteral("lblBeispielsatz")))
        l->setText(QStringLiteral("Sample Phrase"));
    if (auto* l = findChild<QLabel*>(QStringLiteral("lblZusatzinfo")))
        l->setText(QStringLiteral("Additional Info"));
}

void Form2::initialisiere()
{
    setDatabaseOpen(true);
    SetzeStandardwerte();
    Changes = true;
    setStatusText(tr2(QStringLiteral("0 entries selected"), QStringLiteral("0 Vokabeln ausgewählt")));
}

void Form2::SetzeStandardwerte()
{
    ErrorHandling::reportAndLeave(
        [&] {
            Changes = true;
            MinScore->setText(QStringLiteral("1"));
            MaxScore->setText(QStringLiteral("6"));
            MinScoreSlider->setValue(1);
            {
                const QSignalBlocker block(MaxScoreSlider);
                MaxScoreSlider->setValue(6);
            }
            Forms::form1().TextThatHasFocus.clear();
            cmdRemoveAll_Click();
            lblLanguage->setText(Forms::form1().lang2LabelCaption());
            const QString file = flagFile(lblLanguage->text());
            if (!file.isEmpty())
                Image1->setPixmap(QPixmap(AppPaths::picturePath(file)));
        },
        ErrorHandling::Always::Yes);
}

void Form2::setStatusText(const QString& text) { d->statusLabel->setText(text); }

QString Form2::statusText() const { return d->statusLabel->text(); }

bool Form2::AllSelected(QListWidget* l1, QListWidget* l2) const
{
    return !(l1->count() != 0 && l2->count() != 0 && l1->count() + l2->count() > 1);
}

void Form2::CheckScoreValues(const QString& mode)
{
    const int min = MyStoI(MinScore->text());
    const int max = MyStoI(MaxScore->text());
    auto setMaxSlider = [this](int v) {
        const QSignalBlocker block(MaxScoreSlider);
        MaxScoreSlider->setValue(v);
    };
    if (mode == QLatin1String("MaxSlider")) {
        if (MaxScoreSlider->value() < min) {
            MaxScore->setText(MinScore->text());
            setMaxSlider(MinScoreSlider->value());
            MessageService::instance().beep();
        } else {
            MaxScore->setText(QString::number(MaxScoreSlider->value()));
        }
    } else if (mode == QLatin1String("MinSlider")) {
        if (MinScoreSlider->value() > max) {
            MinScore->setText(MaxScore->text());
            MinScoreSlider->setValue(MaxScoreSlider->value());
            MessageService::instance().beep();
        } else {
            MinScore->setText(QString::number(MinScoreSlider->value()));
        }
    } else if (mode == QLatin1String("MinText")) {
        if (min > max) {
            MinScore->setText(QString::number(MinScoreSlider->value()));
            MessageService::instance().beep();
        } else {
            MinScoreSlider->setValue(min);
        }
    } else if (mode == QLatin1String("MaxText")) {
        if (max < min) {
            MaxScore->setText(QString::number(MaxScoreSlider->value()));
            MessageService::instance().beep();
        } else {
            setMaxSlider(max);
        }
    }
}

void Form2::checkTypedScore(QLineEdit* box, QSlider* slider, const QString& mode)
{
    const int v = MyStoI(box->text());
    if (v > slider->maximum() || v < slider->minimum()) {
        MsgBox(tr2(QStringLiteral("The value must lie between 1 and 6!"),
                   QStringLiteral("Der Wert muß zwischen 1 und 6 liegen!")),
               MsgStyle::Exclamation);
        // Raises the change event again, now with a valid value.
        box->setText(QString::number(slider->value()));
    } else {
        CheckScoreValues(mode);
    }
    Changes = true;
}

void Form2::MinScore_Change() { checkTypedScore(MinScore, MinScoreSlider, QStringLiteral("MinText")); }

void Form2::MaxScore_Change() { checkTypedScore(MaxScore, MaxScoreSlider, QStringLiteral("MaxText")); }

void Form2::cmdAdd_Click()
{
    MoveListItem(lstBereichLinks, lstBereichRechts);
    Changes = true; // a new area set must be built by OK too
}

void Form2::cmdRemove_Click()
{
    MoveListItem(lstBereichRechts, lstBereichLinks);
    Changes = true;
}

void Form2::cmdAddAll_Click()
{
    for (int i = 0; i < lstBereichLinks->count(); ++i)
        AddSortedItem(lstBereichRechts, lstBereichLinks->item(i)->text());
    lstBereichLinks->clear();
    Changes = true;
}

void Form2::cmdRemoveAll_Click()
{
    for (int i = 0; i < lstBereichRechts->count(); ++i)
        AddSortedItem(lstBereichLinks, lstBereichRechts->item(i)->text());
    lstBereichRechts->clear();
    Changes = true;
}

void Form2::Command1_Click()
{
    if (Changes)
        Command4_Click();
    Command3_Click();
}

void Form2::Command3_Click() { setVisible(false); }

void Form2::reject() { Command3_Click(); }

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == MinScoreSlider) {
            CheckScoreValues(QStringLiteral("MinSlider"));
            Forms::form1().TextThatHasFocus.clear();
        } else if (watched == MaxScoreSlider) {
            CheckScoreValues(QStringLiteral("MaxSlider"));
            Forms::form1().TextThatHasFocus.clear();
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (watched == MinScore || watched == MaxScore)
            Forms::form1().TextThatHasFocus.clear();
        else if (watched == Beispielsatz)
            Forms::form1().TextThatHasFocus = QStringLiteral("Beispielsatz");
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Building the list

// Without a database the window is hidden and cannot build a list: its areas
// and texts belong to the database that was closed.
void Form2::setDatabaseOpen(bool open)
{
    Command4->setEnabled(open);
    Command1->setEnabled(open);
    if (!open)
        setVisible(false);
}

void Form2::Command4_Click()
{
    ListBuilder::Selection selection;
    // Some but not all areas selected: those restrict the statement.
    if (!AllSelected(lstBereichLinks, lstBereichRechts))
        for (int i = 0; i < lstBereichRechts->count(); ++i)
            selection.areas << lstBereichRechts->item(i)->text();
    selection.minScore = MinScore->text();
    selection.maxScore = MaxScore->text();
    if (d->builder.build(selection, this, [this](int n) { setStatusText(entriesSelected(n)); }))
        Changes = false;
}

void Form2::initialisiereListe() { d->builder.initialisiereListe(); }
