#include "selection/Liste.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "common/HelpKey.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "engine/AppError.h"
#include "platform/MSFlexGrid.h"
#include "platform/Twips.h"
#include "selection/ListColumnOptions.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

// The find dialog for the list (defined with the find dialog).
void showFindDialogForList();

namespace {

constexpr int kGridTop = 360; // twips, the grid's distance from the window's top

const char* const kHeaderEn[] = {"Part of Speech", "Grammar Attributes", "Functional Attributes",
                                 "Area",           "Sample Phrase",      "Additional Info",
                                 "Source",         "Creationdate",       "Changedate",
                                 "Error Score"};
const char* const kHeaderDe[] = {"Wortart",
                                 "Grammatikalische Attribute",
                                 "Funktionale Attribute",
                                 "Bereich",
                                 "Beispielsatz",
                                 "Zusatzinfo",
                                 "Quelle",
                                 "Eingabedatum",
                                 "Änderungsdatum",
                                 "Score"};

QAction* menuAction(QMenu* menu, const char* name, const QString& text, const QString& shortcut = QString())
{
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromUtf8(name));
    if (!shortcut.isEmpty())
        a->setShortcut(QKeySequence(shortcut));
    return a;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QRect& twips)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(Twips::rect(twips.x(), twips.y(), twips.width(), twips.height()));
    return b;
}

} // namespace

Liste::Liste(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Liste"));
    setWindowTitle(QStringLiteral("Vokabelliste"));
    auto* central = new QWidget(this);
    setCentralWidget(central);

    MSFlexGrid1 = new MSFlexGrid(central);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 9.75));
    MSFlexGrid1->setGeometry(Twips::rect(120, kGridTop, 8475, 6855));
    MSFlexGrid1->setCols(24);
    MSFlexGrid1->setRows(2);

    Command1 = button(central, "Command1", QStringLiteral("Schließen"), QRect(7380, 7320, 1215, 375));
    Label1 = new QLabel(QStringLiteral("Hilfe: F1"), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Twips::rect(7920, 0, 1335, 255));
    Command6 = button(central, "Command6", QStringLiteral("Zeichen..."), QRect(240, 7320, 1215, 375));
    Command6->setToolTip(QStringLiteral("Öffnet die Fonthilfe"));
    Command6->hide();
    Drucken = button(central, "Drucken", QStringLiteral("Drucken"), QRect(6000, 6720, 1095, 375));
    Drucken->hide();

    mnFile = menuBar()->addMenu(QStringLiteral("Datei"));
    mnFile->setObjectName(QStringLiteral("mnFile"));
    mnDrucken = menuAction(mnFile, "mnDrucken", QStringLiteral("Drucken..."), QStringLiteral("Ctrl+P"));
    mnFile->addSeparator();
    mnSuchen = menuAction(mnFile, "mnSuchen", QStringLiteral("Suchen in Liste"), QStringLiteral("Ctrl+F"));
    mnFile->addSeparator();
    mnSchliessen = menuAction(mnFile, "mnSchließen", QStringLiteral("Schließen"), QStringLiteral("Ctrl+X"));
    WordSort = menuBar()->addMenu(QStringLiteral("Sortieren"));
    WordSort->setObjectName(QStringLiteral("WordSort"));
    mnSpanisch = menuAction(WordSort, "mnSpanisch", QStringLiteral("nach "));
    mnDeutsch = menuAction(WordSort, "mnDeutsch", QStringLiteral("nach "));
    mnBereich = menuAction(WordSort, "mnBereich", QStringLiteral("nach Bereich"));
    mnScore = menuAction(WordSort, "mnScore", QStringLiteral("nach Fehlerscore"));

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(mnSchliessen, &QAction::triggered, this, [this] { Command1_Click(); });
    connect(mnDrucken, &QAction::triggered, this, [] { Forms::form1().Datei_Drucken_Click(); });
    connect(mnSuchen, &QAction::triggered, this, [this] { mnSuchen_Click(); });
    connect(mnSpanisch, &QAction::triggered, this, [this] { mnSpanisch_Click(); });
    connect(mnDeutsch, &QAction::triggered, this, [this] { mnDeutsch_Click(); });
    connect(mnBereich, &QAction::triggered, this, [this] { mnBereich_Click(); });
    connect(mnScore, &QAction::triggered, this, [this] { mnScore_Click(); });
    connect(MSFlexGrid1, &MSFlexGrid::MouseDown, this,
            [this](int b, int s, int x, int y) { MSFlexGrid1_MouseDown(b, s, x, y); });
    connect(MSFlexGrid1, &MSFlexGrid::MouseMove, this,
            [this](int b, int s, int x, int y) { MSFlexGrid1_MouseMove(b, s, x, y); });
    connect(MSFlexGrid1, &MSFlexGrid::Click, this, [this] { MSFlexGrid1_Click(); });

    resize(Twips::size(8730, 7740));
    setWindowState(Qt::WindowMaximized);
    HelpKey::installF1(this, 10003);
    Form_Load();
}

Liste::~Liste() = default;

void Liste::Form_Load()
{
    ErrorHandling::Steps step;
    MSFlexGrid& g = *MSFlexGrid1;
    step([&] { Forms::splashProgress(65); });
    step([&] { g.setColWidth(0, Twips::roundTw(g.ColWidth(0) / 3.0)); });
    step([&] { g.setColAlignment(0, 1); });
    step([&] { g.setColWidth(txtSpanisch, 2 * g.ColWidth(txtSpanisch)); });
    step([&] {
        g.setColWidth(txtDeutsch, g.ColWidth(txtSpanisch));
        g.setColWidth(txtBereich, g.ColWidth(txtSpanisch));
    });
    step([&] {
        g.setColWidth(1, 0);
        for (int c = txtSpanisch_Prefix; c <= txtAenderung_mod; ++c)
            g.setColWidth(c, 0);
        for (int c : {5, 6, 8, 9, 10, 11, 12, 4})
            g.setColWidth(c, 0);
    });
    step([&] { SaveColWidths(); });
    step([&] { g.setRowHeight(1, 0); });
    step([&] { g.setRow(0); });
    step([&] { g.setScrollTrack(true); });
    step([&] { Forms::splashProgress(68); });
    step([&] {
        for (int c = 1; c < g.Cols(); ++c)
            g.setColAlignment(c, 0);
    });
    step([&] { Forms::splashProgress(70); });
    lfd = 0;
    DelLfd = 0;
    previousRow = 0;
    previousCol = 0;
    step([&] { Forms::splashProgress(75); });
    step([&] {
        const QString by = tr2(QStringLiteral("by "), QStringLiteral("nach "));
        mnSpanisch->setText(by + Forms::form1().lang1);
        mnDeutsch->setText(by + Forms::form1().lang2);
    });
    step([&] { Forms::splashProgress(77); });
    step([&] { SetUserInterfaceProperties(); });
    step([&] { Forms::splashProgress(78); });
}

void Liste::SetUserInterfaceProperties()
{
    if (!isEnglish())
        return;
    Command1->setText(QStringLiteral("Close"));
    Command1->setToolTip(QStringLiteral("Closes this window, changes can be saved later"));
    Label1->setText(QStringLiteral("Help: F1"));
    mnFile->setTitle(QStringLiteral("File"));
    mnDrucken->setText(QStringLiteral("Print..."));
    mnSuchen->setText(QStringLiteral("Find in List..."));
    mnSchliessen->setText(QStringLiteral("Close"));
    WordSort->setTitle(QStringLiteral("Sort"));
    mnBereich->setText(QStringLiteral("by Area"));
    mnScore->setText(QStringLiteral("by Error Score"));
}

void Liste::SetHeaders()
{
    MSFlexGrid& g = *MSFlexGrid1;
    const int r = g.Row();
    const int c = g.Col();
    g.setRow(0);
    g.setCol(txtSpanisch);
    g.setText(Forms::form1().lang1);
    g.setCol(txtDeutsch);
    g.setText(Forms::form1().lang2);
    for (int i = 0; i < 10; ++i) {
        g.setCol(txtWortart + i);
        g.setText(tr2(QString::fromUtf8(kHeaderEn[i]), QString::fromUtf8(kHeaderDe[i])));
    }
    g.setRow(r);
    g.setCol(c);
}

QSize Liste::windowSizeTwips() const
{
    // A maximized window that is not shown yet will cover the available screen.
    QSize px = frameGeometry().size();
    if (!isVisible() && (windowState() & Qt::WindowMaximized)) {
        if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
            px = s->availableGeometry().size();
    }
    return {Twips::fromPixelsX(px.width()), Twips::fromPixelsY(px.height())};
}

// Button to the bottom right, help hint along with it, grid filling the rest.
void Liste::placeControls()
{
    const QSize win = windowSizeTwips();
    const int cmdW = Twips::fromPixelsX(Command1->width());
    const int cmdH = Twips::fromPixelsY(Command1->height());

    const int oldLeft = Twips::fromPixelsX(Command1->x());
    int left = win.width() - cmdW;
    left = Twips::roundTw(left - cmdW / 6.0);
    Command1->move(Twips::toPixelsX(left), Command1->y());
    const int dx = left - oldLeft;
    Label1->move(Twips::toPixelsX(Twips::fromPixelsX(Label1->x()) + dx), Label1->y());

    const int oldTop = Twips::fromPixelsY(Command1->y());
    const int top = Twips::roundTw(win.height() - 3.5 * cmdH);
    Command1->move(Command1->x(), Twips::toPixelsY(top));
    const int dy = top - oldTop;
    const int gridHeight = Twips::fromPixelsY(MSFlexGrid1->height()) + dy;

    m_leftMargin = Twips::fromPixelsX(MSFlexGrid1->x());
    const int gridWidth = win.width() - 2 * m_leftMargin;
    MSFlexGrid1->resize(Twips::toPixelsX(std::max(gridWidth, 0)), Twips::toPixelsY(std::max(gridHeight, 0)));
}

void Liste::AdjustControls()
{
    ErrorHandling::reportAndLeave([&] {
        if ((windowState() & Qt::WindowMaximized) && m_firstLayout) {
            placeControls();
            m_firstLayout = false;
        }
        MSFlexGrid& g = *MSFlexGrid1;
        g.setColWidth(txtScore, 1500);
        g.setColWidth(txtBereich, 2500);
        const int gridWidth = Twips::fromPixelsX(g.width());
        g.setColWidth(txtSpanisch, Twips::roundTw(double(gridWidth - g.ColWidth(txtBereich) - g.ColWidth(txtScore))));
        g.setColWidth(txtSpanisch, Twips::roundTw(g.ColWidth(txtSpanisch) / 2.0));
        g.setColWidth(txtDeutsch, g.ColWidth(txtSpanisch));
    });
}

void Liste::SaveColWidths()
{
    for (int k = 0; k < 12; ++k)
        m_savedWidths[k] = MSFlexGrid1->ColWidth(txtSpanisch + k);
}

bool Liste::ColIsHidden(int ICol)
{
    if (ICol == 0 || ICol == 1 || ICol == 2 || ICol >= txtSpanisch_Prefix)
        return false;
    const ListColumnOptions& opt = ListColumnOptions::instance();
    for (int b = 0; b < ListColumnOptions::Count; ++b) {
        if (!opt.checked(ListColumnOptions::Box(b))) {
            const int col = ListColumnOptions::kFirstColumn + b;
            return ICol == col || ICol == col + 1;
        }
    }
    return false;
}

void Liste::LoescheListe()
{
    ErrorHandling::reportAndLeave([&] {
        MSFlexGrid& g = *MSFlexGrid1;
        g.Clear();
        SetHeaders();
        // All texts are empty now, so cutting the rows from the end leaves the
        // same list as removing row 1 again and again, without moving every
        // remaining row each time.
        if (g.Rows() > 2)
            g.setRows(2);
        if (g.Rows() == 2)
            g.setRowHeight(1, 0);
    });
}

int Liste::entryCount() const
{
    const MSFlexGrid& g = *MSFlexGrid1;
    if (g.Rows() < 2)
        return 0;
    if (g.Rows() == 2 && g.RowHeight(1) <= 0)
        return 0;
    return g.Rows() - 1;
}

void Liste::SetzeStatus()
{
    if (MSFlexGrid1->Rows() < 2) {
        setWindowTitle(tr2(QStringLiteral("Vocab List"), QStringLiteral("Vokabelliste")));
        return;
    }
    const QString n = QString::number(entryCount());
    setWindowTitle(tr2(QStringLiteral("Vocab List - ") + n + QStringLiteral(" entries"),
                       QStringLiteral("Vokabelliste - ") + n + QStringLiteral(" Einträge")));
}

void Liste::ConditionToUI()
{
    ErrorHandling::reportAndLeave([&] {
        const bool on = Forms::form1().ListeNichtLeer;
        mnSuchen->setEnabled(on);
        WordSort->setEnabled(on);
        WordSort->menuAction()->setEnabled(on);
        SetzeStatus();
    });
}

QPixmap Liste::markerPicture()
{
    const QString path = Forms::form1().Marke_bmp;
    if (path != m_markerPath || m_marker.isNull()) {
        QPixmap p;
        if (!p.load(path))
            throw AppError(53, QStringLiteral("Datei nicht gefunden"));
        m_marker = p;
        m_markerPath = path;
    }
    return m_marker;
}

void Liste::SetzeMarke()
{
    MSFlexGrid& g = *MSFlexGrid1;
    if (g.Rows() < 2)
        return;
    ErrorHandling::Steps step;
    int c = 0, r = 0;
    step([&] {
        c = g.Col();
        g.setCol(0);
        r = g.Row();
    });
    // A row beyond the list's end (it shrank since) has no marker to clear.
    step([&] {
        if (previousRow < g.Rows()) {
            g.setRow(previousRow);
            g.setCellPicture(QPixmap());
        }
    });
    step([&] { g.setRow(r); });
    step([&] { g.setCellPictureAlignment(4); });
    step([&] {
        if (r != 0)
            g.setCellPicture(markerPicture());
    });
    step([&] { g.setCol(c); });
    previousRow = r;
    step([&] { ConditionToUI(); });
}

void Liste::ResetMarke()
{
    ErrorHandling::reportAndLeave([&] {
        MSFlexGrid& g = *MSFlexGrid1;
        const int c = g.Col();
        if (previousRow < g.Rows()) {
            g.setRow(previousRow);
            g.setCol(0);
            g.setCellPicture(QPixmap());
            g.setCol(c);
        }
        g.setRow(0);
        ConditionToUI();
    });
}

void Liste::resetAndSortWord(const QString& mode)
{
    ErrorHandling::reportAndLeave([&] {
        ResetMarke();
        SortWord(mode);
        if (mode == QLatin1String("Suffix"))
            MSFlexGrid1->setRow(1);
    });
}

void Liste::SortByAll() { resetAndSortWord(QStringLiteral("All")); }
void Liste::SortWord(const QString& mode)
{
    ErrorHandling::reportAndPassOn([&] {
        MSFlexGrid& g = *MSFlexGrid1;
        const int c = g.Col();
        if (c == 0)
            return;
        int key = c;
        if (c == txtSpanisch || c == txtDeutsch) {
            const int first = c == txtSpanisch ? txtSpanisch_Prefix : txtDeutsch_Prefix;
            if (mode == QLatin1String("Prefix"))
                key = first;
            else if (mode == QLatin1String("Main"))
                key = first + 1;
            else if (mode == QLatin1String("Suffix"))
                key = first + 2;
        }
        g.setCol(key);
        g.setSort(5);
        g.setCol(c);
        g.setRow(1);
    });
}

void Liste::SortAccordingToCol()
{
    ErrorHandling::reportAndLeave([&] {
        MSFlexGrid& g = *MSFlexGrid1;
        const int c = g.Col();
        if (c != 0) {
            // Dates sort through their "yyyymmdd" keys.
            const int key = c == txtEingabedatum ? txtEingabe_mod : c == txtAenderungsdatum ? txtAenderung_mod : c;
            g.setCol(key);
            ResetMarke();
            g.setSort(5);
            g.setCol(c);
        }
        g.setTopRow(1);
        g.setRow(1);
    });
}

void Liste::SetColResize() { MSFlexGrid1->setAllowUserResizing(ColIsHidden(MSFlexGrid1->MouseCol()) ? 0 : 1); }

void Liste::Command1_Click() { hide(); }

void Liste::mnSuchen_Click()
{
    if (MSFlexGrid1->Rows() != 1)
        showFindDialogForList();
}

void Liste::sortFromMenu(int col, void (Liste::*sort)())
{
    ErrorHandling::reportAndLeave([&] {
        MSFlexGrid1->setCol(col);
        (this->*sort)();
    });
}

void Liste::mnSpanisch_Click() { sortFromMenu(txtSpanisch, &Liste::SortByAll); }
void Liste::mnDeutsch_Click() { sortFromMenu(txtDeutsch, &Liste::SortByAll); }
void Liste::mnBereich_Click() { sortFromMenu(txtBereich, &Liste::SortAccordingToCol); }
void Liste::mnScore_Click() { sortFromMenu(txtScore, &Liste::SortAccordingToCol); }

// The header zone is the grid's fixed row: a press there sorts, below it marks.
bool Liste::inHeaderZone(int y) const { return y < MSFlexGrid1->RowHeight(0); }

void Liste::MSFlexGrid1_MouseDown(int, int, int, int y)
{
    ErrorHandling::reportAndLeave([&] {
        if (MSFlexGrid1->Rows() == 1)
            return;
        if (!inHeaderZone(y))
            SetzeMarke();
        else if (MSFlexGrid1->Col() != 1)
            SortAccordingToCol();
    });
}

void Liste::MSFlexGrid1_MouseMove(int, int, int, int y)
{
    ErrorHandling::reportAndLeave([&] {
        if (inHeaderZone(y)) {
            MSFlexGrid1->setToolTipText(tr2(QStringLiteral("Click to sort by this column"),
                                            QStringLiteral("Klicken, um nach dieser Spalte zu Sortieren")));
            SetColResize();
        } else {
            MSFlexGrid1->setToolTipText(QString());
        }
    });
}

void Liste::MSFlexGrid1_Click()
{
    ErrorHandling::Steps step;
    step([&] { previousCol = MSFlexGrid1->Col(); });
}

bool Liste::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate) {
        ConditionToUI();
        if (!(windowState() & Qt::WindowMaximized))
            setWindowState(windowState() | Qt::WindowMaximized);
    }
    return QMainWindow::event(e);
}

void Liste::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
        QTimer::singleShot(0, this, [this] { setWindowState(windowState() | Qt::WindowMaximized); });
    // Once laid out, the controls follow the window when the desktop changes its size.
    if (!m_firstLayout && isVisible())
        placeControls();
}

// Whenever the window is shown, the list starts at its first columns (the
// current cell may lie on the score column, at the far right); the current
// cell and the rows in view stay as they are.
void Liste::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (!e->spontaneous())
        MSFlexGrid1->view()->horizontalScrollBar()->setValue(0);
}

void Liste::closeEvent(QCloseEvent* e)
{
    e->ignore();
    hide();
}
