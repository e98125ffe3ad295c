#include "trainer/Trainer.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/HelpKey.h"
#include "common/ShowMsgBox.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "mainwindow/Progress.h"
#include "engine/AppError.h"
#include "platform/MSFlexGrid.h"
#include "platform/MessageService.h"
#include "platform/SystemServices.h"
#include "platform/Twips.h"
#include "pronunciation/frmAussprache.h"
#include "selection/Liste.h"
#include "trainer/ConfirmDlg.h"
#include "trainer/TrainerIcons.h"
#include "trainer/frmOptions.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

using ErrorHandling::Steps;

namespace {

constexpr int kClientWidth = 6165;
constexpr int kClientHeight = 7170;
constexpr int kStatusTop = 6900;
constexpr int kToolbarHeight = 450;
constexpr int kTbButtonWidth = 285;
constexpr int kTbButtonHeight = 290;
constexpr int kTbSeparatorWidth = 120;
constexpr int kTbMargin = 30;
constexpr int kDesignLeft = -19950;
constexpr int kDesignTop = 720;
constexpr int kOnScreenLeft = 675;

MSFlexGrid& listGrid() { return *Forms::liste().MSFlexGrid1; }

QAction* menuAction(QMenu* menu, const char* name, const QString& text, const char* shortcut = nullptr)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    if (shortcut)
        a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    return a;
}

QPushButton* pictureButton(QWidget* parent, const char* name, const QIcon& icon, int left, const QString& tip)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(icon);
    b->setIconSize(QSize(18, 18));
    b->setGeometry(Twips::rect(left, 6480, 410, 375));
    b->setToolTip(tip);
    return b;
}

// Paints the display grid's cells in their own colours, the current one too.
class PlainCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    }
};

} // namespace

Trainer::Trainer(QWidget* parent) : QMainWindow(parent)
{
    buildUi();
    Form_Load();
}

Trainer::~Trainer() = default;

// ---------------------------------------------------------------------------
// Window

void Trainer::buildUi()
{
    setObjectName(QStringLiteral("Trainer"));
    setWindowTitle(QStringLiteral("Trainer"));
    // A fixed dialog border: title and close box, no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* central = new QWidget(this);
    setCentralWidget(central);
    central->setFixedSize(Twips::size(kClientWidth, kStatusTop));

    // The toolbar: fixed places, so the tip can tell the item under the mouse.
    Toolbar1 = new QFrame(central);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setFrameShape(QFrame::StyledPanel);
    Toolbar1->setGeometry(Twips::rect(0, 0, kClientWidth, kToolbarHeight));
    Toolbar1->setMouseTracking(true);
    Toolbar1->installEventFilter(this);
    auto* order = new QButtonGroup(this);
    auto* language = new QButtonGroup(this);
    int left = kTbMargin;
    for (int i = 1; i <= 9; ++i) {
        if (i == 4 || i == 7) {
            auto* sep = new QFrame(Toolbar1);
            sep->setObjectName(QStringLiteral("Toolbar1_Separator%1").arg(i));
            sep->setFrameShape(QFrame::VLine);
            sep->setFrameShadow(QFrame::Sunken);
            sep->setGeometry(Twips::rect(left, (kToolbarHeight - kTbButtonHeight) / 2, kTbSeparatorWidth, kTbButtonHeight));
            sep->setMouseTracking(true);
            sep->installEventFilter(this);
            m_tbItems[i] = sep;
            left += kTbSeparatorWidth;
            continue;
        }
        auto* b = new QToolButton(Toolbar1);
        b->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(i));
        b->setIcon(TrainerIcons::toolbar(i));
        b->setIconSize(QSize(18, 18));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setGeometry(Twips::rect(left, (kToolbarHeight - kTbButtonHeight) / 2, kTbButtonWidth, kTbButtonHeight));
        b->setMouseTracking(true);
        b->installEventFilter(this);
        if (i <= 3)
            order->addButton(b);
        else if (i <= 6)
            language->addButton(b);
        connect(b, &QToolButton::clicked, this, [this, i] { Toolbar1_ButtonClick(i); });
        m_tbItems[i] = b;
        left += kTbButtonWidth;
    }
    toolbarButton(1)->setChecked(true);
    toolbarButton(5)->setChecked(true);

    VokabelnGrid = new MSFlexGrid(central);
    VokabelnGrid->setObjectName(QStringLiteral("VokabelnGrid"));
    VokabelnGrid->setGeometry(Twips::rect(120, 720, 5895, 5415));
    VokabelnGrid->setToolTipText(QStringLiteral("Ändern der Zeilenhöhe mit der Maus"));
    VokabelnGrid->setBackColor(QApplication::palette().color(QPalette::ToolTipBase));
    // The grid is exactly as large as its four rows and one column: no
    // scroll bars, and the current cell is not painted as a selection.
    VokabelnGrid->view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    VokabelnGrid->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    VokabelnGrid->view()->setItemDelegate(new PlainCellDelegate(VokabelnGrid->view()));
    connect(VokabelnGrid, &MSFlexGrid::Click, this, [this] { VokabelnGrid_Click(); });

    ProgressBar1 = new QProgressBar(central);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(Twips::rect(120, 6120, 5895, 165));
    ProgressBar1->setTextVisible(false);
    setBar(0, 1, 0);

    Command6 = new QPushButton(QStringLiteral("Neustart"), central);
    Command6->setObjectName(QStringLiteral("Command6"));
    Command6->setGeometry(Twips::rect(120, 6480, 1095, 375));
    Command6->setToolTip(QStringLiteral("Neustart der Sequenz"));
    back = pictureButton(central, "back", TrainerIcons::navigation(TrainerIcons::ToBeginning), 2280,
                         QStringLiteral("Springt zur 1. Vokabel der Sequenz"));
    Command1 = pictureButton(central, "Command1", TrainerIcons::navigation(TrainerIcons::OneBack), 2640,
                             QStringLiteral("Eine Vokabel zurück"));
    Command2 = pictureButton(central, "Command2", TrainerIcons::navigation(TrainerIcons::OneForward), 3000,
                             QStringLiteral("Eine Vokabel weiter"));
    ToEnd = pictureButton(central, "ToEnd", TrainerIcons::navigation(TrainerIcons::ToEnd), 3360,
                          QStringLiteral("Springt zur letzten Vokabel der Sequenz"));
    Command3 = pictureButton(central, "Command3", TrainerIcons::navigation(TrainerIcons::Step), 3840,
                             QStringLiteral("Step - Geht 1 Schritt weiter"));
    Command4 = new QPushButton(QStringLiteral("Schließen"), central);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setGeometry(Twips::rect(4920, 6480, 1095, 375));
    Command4->setToolTip(QStringLiteral("Schließt dieses Fenster"));

    const QFont italic = [] {
        QFont f = Twips::designFont(QStringLiteral("Arial"), 8.25);
        f.setItalic(true);
        return f;
    }();
    LabelOben = new QLineEdit(central);
    LabelOben->setObjectName(QStringLiteral("LabelOben"));
    LabelOben->setFont(italic);
    LabelUnten = new QLineEdit(central);
    LabelUnten->setObjectName(QStringLiteral("LabelUnten"));
    LabelUnten->setFont(italic);

    const QFont bold = Twips::designFont(QStringLiteral("Arial"), 8.25, true);
    auto coloured = [](QWidget* w, const QColor& c) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Base, c);
        pal.setColor(QPalette::Button, c);
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    };
    NichtWort = new QLineEdit(QStringLiteral("Nicht"), central);
    NichtWort->setObjectName(QStringLiteral("NichtWort"));
    NichtWort->setFont(bold);
    NichtWort->setGeometry(Twips::rect(120, 5400, 5775, 285));
    coloured(NichtWort, QColor(255, 0, 0));
    Richtig = new QLineEdit(QStringLiteral("OK"), central);
    Richtig->setObjectName(QStringLiteral("Richtig"));
    Richtig->setFont(bold);
    Richtig->setGeometry(Twips::rect(120, 5400, 1095, 285));
    coloured(Richtig, QColor(0, 255, 0));
    Suche = new QPushButton(QStringLiteral("Suche"), central);
    Suche->setObjectName(QStringLiteral("Suche"));
    Suche->setFont(Twips::designFont(QStringLiteral("Small Fonts"), 6.75));
    Suche->setGeometry(Twips::rect(5200, 5400, 615, 225));
    Suche->setToolTip(QStringLiteral("Durchsucht die Datenbank nach dem Wort, das Sie zuletzt eingegeben haben"));
    coloured(Suche, QColor(255, 0, 0));
    for (QWidget* w : {static_cast<QWidget*>(LabelOben), static_cast<QWidget*>(LabelUnten),
                       static_cast<QWidget*>(NichtWort), static_cast<QWidget*>(Richtig), static_cast<QWidget*>(Suche)})
        w->hide();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(Twips::toPixelsY(kClientHeight - kStatusTop));
    StatusBar1->setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25));
    setStatusBar(StatusBar1);
    const int widths[4] = {1400, 800, 1000, 800};
    const QString texts[4] = {QStringLiteral("Anzahl Vokabeln"), QString(), QStringLiteral("Vokabel Nr."), QString()};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(texts[i], StatusBar1);
        m_panels[i]->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        // At least the design width; wider when the system font needs it.
        m_panels[i]->setMinimumWidth(Twips::toPixelsX(widths[i]));
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(m_panels[i]);
    }

    menDatei = menuBar()->addMenu(QStringLiteral("Datei"));
    menDatei->setObjectName(QStringLiteral("menDatei"));
    menNeustart = menuAction(menDatei, "menNeustart", QStringLiteral("Neustart"), "Ctrl+N");
    menDatei->addSeparator()->setObjectName(QStringLiteral("Separator3"));
    menClose = menuAction(menDatei, "menClose", QStringLiteral("Schließen"), "Ctrl+X");
    menEinstellungen = menuBar()->addMenu(QStringLiteral("Einstellungen"));
    menEinstellungen->setObjectName(QStringLiteral("menEinstellungen"));
    menMain = menuAction(menEinstellungen, "menMain", QStringLiteral("Reihenfolge..."), "Ctrl+R");
    menTestoptionen = menuAction(menEinstellungen, "menTestoptionen", QStringLiteral("Testoptionen..."), "Ctrl+O");
    menNavigieren = menuBar()->addMenu(QStringLiteral("Navigieren"));
    menNavigieren->setObjectName(QStringLiteral("menNavigieren"));
    menEinsWeiter = menuAction(menNavigieren, "menEinsWeiter", QStringLiteral("Eine Vokabel weiter"), "Ctrl+W");
    menEinsZurueck = menuAction(menNavigieren, "menEinsZurueck", QStringLiteral("Eine Vokabel zurück"), "Ctrl+Z");
    menStep = menuAction(menNavigieren, "menStep", QStringLiteral("Step - Geht 1 Schritt weiter"), "Ctrl+S");
    menNavigieren->addSeparator()->setObjectName(QStringLiteral("Separator2"));
    menAnfangSequenz = menuAction(menNavigieren, "menAnfangSequenz", QStringLiteral("Zum Anfang der Sequenz"), "Ctrl+A");
    menEndeSequenz = menuAction(menNavigieren, "menEndeSequenz", QStringLiteral("Zum Ende der Sequenz"), "Ctrl+E");
    menExtras = menuBar()->addMenu(QStringLiteral("Extras"));
    menExtras->setObjectName(QStringLiteral("menExtras"));
    menInfo = menuAction(menExtras, "menInfo", QStringLiteral("Ausprache-Info"));

    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(menNeustart, &QAction::triggered, this, [this] { Command6_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(menClose, &QAction::triggered, this, [this] { Command4_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(menStep, &QAction::triggered, this, [this] { Command3_Click(); });
    connect(back, &QPushButton::clicked, this, [this] { back_Click(); });
    connect(menAnfangSequenz, &QAction::triggered, this, [this] { back_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(menEinsZurueck, &QAction::triggered, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(menEinsWeiter, &QAction::triggered, this, [this] { Command2_Click(); });
    connect(ToEnd, &QPushButton::clicked, this, [this] { ToEnd_Click(); });
    connect(menEndeSequenz, &QAction::triggered, this, [this] { ToEnd_Click(); });
    connect(menMain, &QAction::triggered, this, [this] { menMain_Click(); });
    connect(menTestoptionen, &QAction::triggered, this, [this] { menTestoptionen_Click(); });
    connect(menInfo, &QAction::triggered, this, [this] { menInfo_Click(); });

    // Fixed dialog border: the client area and the menu bar, nothing to resize.
    setFixedSize(Twips::toPixelsX(kClientWidth), menuBar()->sizeHint().height() + Twips::toPixelsY(kClientHeight));
    move(Twips::toPixelsX(kDesignLeft), Twips::toPixelsY(kDesignTop));
    HelpKey::installF1(this, 1004);
}

QToolButton* Trainer::toolbarButton(int index) const
{
    if (index < 1 || index > 9)
        return nullptr;
    return qobject_cast<QToolButton*>(m_tbItems[index]);
}

int Trainer::toolbarItemLeft(int index) const
{
    return index >= 1 && index <= 9 ? Twips::fromPixelsX(m_tbItems[index]->x()) : 0;
}

int Trainer::toolbarItemWidth(int index) const
{
    return index >= 1 && index <= 9 ? Twips::fromPixelsX(m_tbItems[index]->width()) : 0;
}

QString Trainer::panelText(int index) const
{
    return index >= 1 && index <= 4 ? m_panels[index - 1]->text() : QString();
}

void Trainer::setPanelText(int index, const QString& text)
{
    if (index >= 1 && index <= 4)
        m_panels[index - 1]->setText(text);
}

void Trainer::setBar(int min, int max, int value)
{
    m_pbMin = min;
    m_pbMax = std::max(max, min);
    m_pbValue = value;
    ProgressBar1->setRange(m_pbMin, m_pbMax);
    ProgressBar1->setValue(std::clamp(value, m_pbMin, m_pbMax));
}

void Trainer::Form_Load()
{
    const bool ok = ErrorHandling::reportAndLeave([&] {
        Form1& f1 = Forms::form1();
        // 1-2: toolbar size (fixed in buildUi), constants and answer codes.
        AntwortRichtig = 0;
        AntwortFalsch = 1;
        AnzahlRichtig = 0;
        Forms::splashProgress(83);

        // 4: four rows, one column as wide as the grid.
        MSFlexGrid& g = *VokabelnGrid;
        g.setCols(2);
        g.setRows(4);
        g.setFixedCols(1);
        g.setCols(1);
        // No cell of the display grid is drawn as a header: all four rows
        // carry the formats below.
        g.setFixedCols(0);
        g.setFixedRows(0);
        g.setCol(0);
        const int gridWidth = Twips::fromPixelsX(g.width());
        const int gridHeight = Twips::fromPixelsY(g.height());
        g.setColWidth(0, gridWidth);
        const int nichtWortHeight = Twips::fromPixelsY(NichtWort->height());
        g.setRowHeight(0, Twips::roundTw(0.75 * nichtWortHeight));
        g.setRowHeight(2, g.RowHeight(0));
        g.setRowHeight(1, Twips::roundTw((gridHeight - 2.0 * g.RowHeight(0)) / 2.0));
        g.setRowHeight(3, g.RowHeight(1));

        // 5: cell formats.
        auto format = [&](int row, int alignment, double size, const QColor& back) {
            g.setRow(row);
            g.setCol(0);
            g.setCellAlignment(alignment);
            g.setCellFontName(QStringLiteral("Arial"));
            g.setCellFontBold(true);
            g.setCellFontSize(size);
            g.setCellBackColor(back);
        };
        const QColor question(255, 255, 128);
        const QColor language(0, 255, 255);
        format(1, 4, 16, question);
        format(3, 4, 16, question);
        format(0, 1, 8, language);
        g.setText(f1.lang1);
        format(2, 1, 8, language);
        g.setText(f1.lang2);
        g.setRow(1);

        // 6: the hidden name boxes over the question and answer cells.
        const int gx = Twips::fromPixelsX(g.x());
        const int gy = Twips::fromPixelsY(g.y());
        auto placeLabel = [&](QLineEdit* box, int row, const QString& text) {
            g.setRow(row);
            const int boxWidth = Twips::fromPixelsX(box->width());
            Twips::place(box, gx + g.CellLeft() + boxWidth / 20.0, gy + g.CellTop(), boxWidth, 225);
            box->setText(text);
            QPalette pal = box->palette();
            pal.setColor(QPalette::Base, g.BackColor());
            box->setPalette(pal);
        };
        placeLabel(LabelOben, 1, f1.lang1);
        placeLabel(LabelUnten, 3, f1.lang2);
        Forms::splashProgress(85);

        // 8: the write-mode boxes at the bottom of the answer cell.
        g.setCol(0);
        g.setRow(3);
        const int nwHeight = Twips::fromPixelsY(NichtWort->height());
        const double nwLeft = gx + g.CellLeft();
        const double nwTop = gy + g.CellTop() + g.CellHeight() - 1.2 * nwHeight;
        const double nwWidth = g.ColWidth(0) - g.ColWidth(0) / 80.0;
        Twips::place(NichtWort, nwLeft, nwTop, nwWidth, nwHeight);
        Twips::place(Richtig, nwLeft, nwTop, Twips::fromPixelsX(Richtig->width()), Twips::fromPixelsY(Richtig->height()));
        const int sucheWidth = Twips::fromPixelsX(Suche->width());
        Twips::place(Suche, nwLeft + nwWidth - sucheWidth, nwTop + nwHeight / 10.0, sucheWidth, 0.8 * nwHeight);
        NichtWort->hide();
        Richtig->hide();
        Forms::splashProgress(87);

        // 10: option defaults (loop and main part only simply start False).
        OptSequentiell = true;
        OptShuffle = false;
        OptRandom = false;
        OptSpanisch1st = true;
        OptDeutsch1st = false;
        OptTest = false;
        OptSchreiben = false;
        OptFehlerBestaetigen = false;
        Forms::splashProgress(89);

        SeqIndex = 0;
        FrageAngezeigt = 0;
        SeqCount = 0;
        AnzahlRichtig = 0;
        DurchlaufIndex = 0;
        setBar(0, 1, m_pbValue);
        Forms::splashProgress(91);

        Command6_Click();
        Forms::splashProgress(93);

        OptionsToUI();
        RowPositionToUI();
        Forms::splashProgress(94);

        g.setRow(1);
        g.setCol(0);
        SetUserInterfaceProperties();
        LabelOben->hide();
        LabelUnten->hide();
    });
    if (!ok)
        move(Twips::toPixelsX(kOnScreenLeft), y());
}

void Trainer::SetUserInterfaceProperties()
{
    if (!isEnglish())
        return;
    VokabelnGrid->setToolTipText(QStringLiteral("Change row height with mouse"));
    Command6->setText(QStringLiteral("Restart"));
    Command6->setToolTip(QStringLiteral("Restarts the sequence"));
    back->setToolTip(QStringLiteral("Jumps to 1st vocab of the sequence"));
    Command1->setToolTip(QStringLiteral("One vocab back"));
    Command2->setToolTip(QStringLiteral("One vocab forward"));
    ToEnd->setToolTip(QStringLiteral("Jumps to last vocab of the sequence"));
    Command3->setToolTip(QStringLiteral("Proceeds to next step"));
    Command4->setText(QStringLiteral("Close"));
    Command4->setToolTip(QStringLiteral("Closes this window"));
    m_panels[0]->setText(QStringLiteral("Number of vocabs"));
    m_panels[2]->setText(QStringLiteral("Vocab no."));
    menDatei->setTitle(QStringLiteral("&File"));
    menNeustart->setText(QStringLiteral("&Restart"));
    menClose->setText(QStringLiteral("&Close"));
    menEinstellungen->setTitle(QStringLiteral("&Settings"));
    menMain->setText(QStringLiteral("&Order..."));
    menTestoptionen->setText(QStringLiteral("&Test Options..."));
    menNavigieren->setTitle(QStringLiteral("&Navigate"));
    menEinsWeiter->setText(QStringLiteral("One Vocab &Forward"));
    menEinsZurueck->setText(QStringLiteral("One Vocab &Back"));
    menStep->setText(QStringLiteral("Proceed to Next &Step"));
    menAnfangSequenz->setText(QStringLiteral("Be&ginning of Sequence"));
    menEndeSequenz->setText(QStringLiteral("&End of Sequence"));
}

bool Trainer::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    return QMainWindow::event(e);
}

void Trainer::showEvent(QShowEvent* e)
{
    // Showing a window does not make it active on every window system (no
    // window manager, focus-stealing prevention): without this the first
    // showing could stay at the design position off screen, out of reach.
    if (!e->spontaneous())
        leaveDesignPosition();
    QMainWindow::showEvent(e);
}

void Trainer::leaveDesignPosition()
{
    if (Twips::fromPixelsX(x()) <= -10000)
        move(Twips::toPixelsX(kOnScreenLeft), y());
}

void Trainer::Form_Activate()
{
    Steps s;
    s([&] { OptionsToUI(); });
    s([&] { RowPositionToUI(); });
    // The window leaves its design position off screen on first activation.
    s([&] { leaveDesignPosition(); });
}

bool Trainer::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseMove) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (w == Toolbar1 || w->parentWidget() == Toolbar1)) {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint p = w->mapTo(Toolbar1, me->position().toPoint());
            int button = 0;
            if (me->buttons() & Qt::LeftButton)
                button |= 1;
            if (me->buttons() & Qt::RightButton)
                button |= 2;
            Toolbar1_MouseMove(button, 0, Twips::fromPixelsX(p.x()), Twips::fromPixelsY(p.y()));
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void Trainer::VokabelnGrid_Click()
{
    VokabelnGrid->setRow(1);
    VokabelnGrid->setCol(0);
}

void Trainer::InitStatusBar()
{
    MSFlexGrid& g = listGrid();
    const int rows = g.Rows();
    if (rows == 2 && g.RowHeight(1) == 0)
        setPanelText(2, QString::number(rows - 2));
    else
        setPanelText(2, QString::number(rows - 1));
    setPanelText(4, QString());
}

void Trainer::menMain_Click()
{
    ErrorHandling::reportAndLeave([] { showOptionsWindow(1); });
}

void Trainer::menTestoptionen_Click()
{
    ErrorHandling::reportAndLeave([] { showOptionsWindow(2); });
}

void Trainer::menInfo_Click() { showPronunciationGuide(); }

// ---------------------------------------------------------------------------
// Options display and toolbar

void Trainer::OptionsToUI()
{
    ErrorHandling::reportAndPassOn([&] {
        auto enableNav = [&](bool on, bool forwardToo) {
            Command1->setEnabled(on);
            menEinsZurueck->setEnabled(on);
            back->setEnabled(on);
            menAnfangSequenz->setEnabled(on);
            ToEnd->setEnabled(on);
            menEndeSequenz->setEnabled(on);
            if (forwardToo) {
                Command2->setEnabled(on);
                menEinsWeiter->setEnabled(on);
            }
        };
        QToolButton* loop = toolbarButton(TbIndSchleife);
        if (OptTest) {
            enableNav(false, true);
            loop->setEnabled(true);
            if (OptRandom)
                loop->setEnabled(false);
        } else {
            enableNav(true, true);
            loop->setEnabled(false);
        }
        if (OptRandom) {
            enableNav(false, false);
            setPanelText(4, QString());
        } else if (!OptTest) {
            enableNav(true, false);
        }

        if (OptSequentiell)
            toolbarButton(TbIndSequentiell)->setChecked(true);
        else if (OptShuffle)
            toolbarButton(TbIndShuffle)->setChecked(true);
        else if (OptRandom)
            toolbarButton(TbIndRandom)->setChecked(true);

        if (OptSpanisch1st)
            toolbarButton(TbIndSpanisch1st)->setChecked(true);
        else if (OptDeutsch1st)
            toolbarButton(TbIndDeutsch1st)->setChecked(true);
        LanguageNamesToUI();
        toolbarButton(TbIndTest)->setChecked(OptTest);
        loop->setChecked(OptSchleife);
    });
}

void Trainer::LanguageNamesToUI()
{
    const Form1& f1 = Forms::form1();
    auto names = [&](const QString& first, const QString& second) {
        VokabelnGrid->setCol(0);
        VokabelnGrid->setRow(0);
        VokabelnGrid->setText(first);
        VokabelnGrid->setRow(2);
        VokabelnGrid->setText(second);
    };
    if (OptSpanisch1st)
        names(f1.lang1, f1.lang2);
    else if (OptDeutsch1st)
        names(f1.lang2, f1.lang1);
}

void Trainer::Toolbar1_ButtonClick(int index)
{
    Steps s;
    const bool pressed = toolbarButton(index) && toolbarButton(index)->isChecked();
    if (index == TbIndSequentiell) {
        OptSequentiell = true;
        OptShuffle = OptRandom = false;
        if (OptSchleife)
            s([&] { Command6_Click(); });
    } else if (index == TbIndShuffle) {
        OptShuffle = true;
        OptSequentiell = OptRandom = false;
        s([&] { Command6_Click(); });
    } else if (index == TbIndRandom) {
        OptRandom = true;
        OptSequentiell = OptShuffle = false;
        if (OptSchleife) {
            s([&] {
                ShowMsgBox(tr2(QStringLiteral("The option 'Loop'is being deactivated in order to set option 'Random'."),
                               QStringLiteral("Die Option 'Schleife' wird zur Aktivierung von 'random' zurückgesetzt.")),
                           MsgStyle::Information, questionAndAnswer());
            });
            OptSchleife = false;
            s([&] { Command6_Click(); });
        }
    } else if (index == TbIndSpanisch1st) {
        OptSpanisch1st = true;
        OptDeutsch1st = false;
        s([&] { InvertVokabelnGrid(); });
    } else if (index == TbIndDeutsch1st) {
        OptSpanisch1st = false;
        OptDeutsch1st = true;
        s([&] { InvertVokabelnGrid(); });
    } else if (index == TbIndTest) {
        OptTest = pressed;
        if (OptSchleife)
            s([&] { Command6_Click(); });
        if (!pressed)
            OptSchleife = OptSchreiben = OptFehlerBestaetigen = OptMainOnly = false;
    } else if (index == TbIndSchleife) {
        OptSchleife = pressed;
        s([&] { Command6_Click(); });
    }
    s([&] { OptionsToUI(); });
}

void Trainer::Toolbar1_MouseMove(int, int, double x, double)
{
    ErrorHandling::reportAndLeave([&] {
        int found = 0;
        for (int i = 1; i <= 9; ++i) {
            const int left = toolbarItemLeft(i);
            if (left < x && x < left + toolbarItemWidth(i)) {
                found = i;
                break;
            }
        }
        const Form1& f1 = Forms::form1();
        QString tip;
        if (found == TbIndSequentiell)
            tip = tr2(QStringLiteral("Vocabulary in sequential order"), QStringLiteral("Vokabeln Sequentiell"));
        else if (found == TbIndShuffle)
            tip = tr2(QStringLiteral("Vocabulary shuffled"), QStringLiteral("Vokabeln Gemischt"));
        else if (found == TbIndRandom)
            tip = tr2(QStringLiteral("Vocabulary selected randomly"), QStringLiteral("Zufällige Vokabelauswahl"));
        else if (found == TbIndSpanisch1st)
            tip = f1.lang1 + tr2(QStringLiteral(" first"), QStringLiteral(" zuerst"));
        else if (found == TbIndDeutsch1st)
            tip = f1.lang2 + tr2(QStringLiteral(" first"), QStringLiteral(" zuerst"));
        else if (found == TbIndTest)
            tip = tr2(QStringLiteral("Switch self-test on/off"), QStringLiteral("Vokabeltest ein/ausschalten"));
        else if (found == TbIndSchleife)
            tip = tr2(QStringLiteral("Switch loop-mode on/off"), QStringLiteral("Schleifenmodus ein/ausschalten"));
        else
            tip = tr2(QStringLiteral("Buttons for setting options for the Trainer. Settings can also be changed in the "
                                     "options window."),
                      QStringLiteral("Knöpfe zum Einstellen der Optionen für den Vokabeltrainer. Einstellungen können "
                                     "auch über das Optionenfenster vorgenommen werden."));
        Toolbar1->setToolTip(tip);
    });
}
