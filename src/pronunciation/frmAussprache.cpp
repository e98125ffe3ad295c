#include "pronunciation/frmAussprache.h"

#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "platform/MSFlexGrid.h"
#include "platform/Twips.h"
#include "platform/WindowPlacement.h"
#include "pronunciation/PronunciationTables.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <cmath>

namespace {

// The one guide while it is loaded; QPointer clears itself when the window is deleted.
QPointer<frmAussprache> g_guide;

// Design geometry in twips.
constexpr double kGridLeft = 240, kGridTop = 480, kGridWidth = 5175, kGridHeight = 2415;

// The item views' text margin is one pixel less than the platform style's.
class NarrowCellStyle : public QProxyStyle {
public:
    explicit NarrowCellStyle(QObject* owner) : QProxyStyle() { setParent(owner); }
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_FocusFrameHMargin ? std::max(value - 1, 0) : value;
    }
};

// Whole twips from a computed size: nearest, a half to the even neighbour.
int roundHalfEven(double value) { return int(std::nearbyint(value)); }

} // namespace

frmAussprache::frmAussprache(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAussprache"));
    setWindowTitle(QStringLiteral("Aussprache-Info"));
    // A fixed dialog: no resizing, no minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setGeometry(Twips::rect(2340, 1935, 5730, 3450));
    setFixedSize(Twips::size(5730, 3450));
    // The window's own font first: the grid and the button take it when created,
    // so every grid row starts at the same default height.
    setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25));

    labLanguage = new QLabel(this);
    labLanguage->setObjectName(QStringLiteral("labLanguage"));
    Twips::place(labLanguage, 240, 120, 5295, 375);
    labLanguage->setFont(Twips::designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    labLanguage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    MSFlexGrid1 = new MSFlexGrid(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    Twips::place(MSFlexGrid1, kGridLeft, kGridTop, kGridWidth, kGridHeight);
    // The design font is narrower than the system sans that stands in for it;
    // a semi-condensed face keeps the fixed descriptions inside their rows.
    QFont gridFont = Twips::designFont(QStringLiteral("MS Sans Serif"), 8.25);
    gridFont.setStretch(QFont::SemiCondensed);
    MSFlexGrid1->setFont(gridFont);
    // White cells, background and lines; long descriptions wrap inside tall rows.
    // Cells keep a narrow inner margin, so the short letter groups fit the
    // narrow first column whole.
    // The style belongs to the window, created after the grid, so it outlives the grid.
    MSFlexGrid1->view()->setStyle(new NarrowCellStyle(this));
    // Nothing to select here: the current cell looks like any other.
    QPalette pal = MSFlexGrid1->view()->palette();
    pal.setColor(QPalette::Highlight, Qt::white);
    pal.setColor(QPalette::HighlightedText, Qt::black);
    MSFlexGrid1->view()->setPalette(pal);
    MSFlexGrid1->setBackColor(Qt::white);
    MSFlexGrid1->setGridColor(Qt::white);
    keepCellFont();
    MSFlexGrid1->setWordWrap(true);
    // The design-time shape: 2 x 2 with one fixed row and column, current cell 1, 1.
    MSFlexGrid1->setRows(2);
    MSFlexGrid1->setCols(2);
    MSFlexGrid1->setFixedRows(1);
    MSFlexGrid1->setFixedCols(1);
    MSFlexGrid1->setRow(1);
    MSFlexGrid1->setCol(1);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    Twips::place(cmdOK, 4245, 3000, 1260, 345);
    // Default button (Enter); Esc reaches reject(), which does the same.
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAussprache::cmdOK_Click);

    setTabOrder(cmdOK, MSFlexGrid1);
    cmdOK->setFocus();

    Form_Load();
}

double frmAussprache::gridScaleWidth() const { return kGridWidth / kScaleX; }

void frmAussprache::Form_Load()
{
    MSFlexGrid1->setCols(2);
    MSFlexGrid1->setRows(10);
    MSFlexGrid1->setFixedCols(0);
    MSFlexGrid1->setFixedRows(0);

    // The width is read in the window's units but column widths are set in
    // twips, so the columns stay a little narrower than the grid.
    const double width = gridScaleWidth();
    MSFlexGrid1->setColWidth(0, roundHalfEven(width / 10.0));
    MSFlexGrid1->setColWidth(1, roundHalfEven(width * 8.95 / 10.0));

    DefaultRowHeight = qint16(MSFlexGrid1->RowHeight(0));

    m_lang2 = Forms::form1().lang2;
    SetzeGrid();

    labLanguage->setText(m_lang2);
}

void frmAussprache::keepCellFont()
{
    // The grid colour is a style sheet on the cell view, which then no longer
    // takes the grid's font by itself; the cells are to show the grid's font.
    MSFlexGrid1->view()->setFont(MSFlexGrid1->font());
}

void frmAussprache::cmdOK_Click() { close(); }

// Esc: the same as OK.
void frmAussprache::reject() { cmdOK_Click(); }

// A dialog's own close handling rejects it, which would only hide it; the
// guide closes for good and so is unloaded.
void frmAussprache::closeEvent(QCloseEvent* event) { event->accept(); }

void frmAussprache::SetzeGrid()
{
    using namespace Pronunciation;

    // Lines in the cells' own colour: the table reads as plain text.
    MSFlexGrid1->setGridColor(MSFlexGrid1->BackColor());
    keepCellFont();

    const Table* table = findTable(m_lang2);
    if (!table)
        return; // no table for this language: the ten empty rows stay

    switch (table->start) {
    case Start::RowZero:
        MSFlexGrid1->setRow(0);
        break;
    case Start::RowZeroThenStep:
        MSFlexGrid1->setRow(0);
        NextRow();
        break;
    case Start::CurrentRow:
        break;
    }

    bool first = true;
    for (const Row& row : table->rows) {
        if (!first)
            NextRow();
        first = false;
        if (row.group) {
            MSFlexGrid1->setCol(0);
            MSFlexGrid1->setText(QString::fromUtf8(row.group));
        }
        if (row.description) {
            MSFlexGrid1->setCol(1);
            MSFlexGrid1->setText(QString::fromUtf8(row.description));
        }
        if (row.height > 0)
            MSFlexGrid1->setRowHeight(MSFlexGrid1->Row(), DefaultRowHeight * row.height);
    }
    if (table->stepAfterLast)
        NextRow();
}

void frmAussprache::NextRow()
{
    if (MSFlexGrid1->Row() == MSFlexGrid1->Rows() - 1) {
        MSFlexGrid1->AddItem(QString());
        MSFlexGrid1->setRow(MSFlexGrid1->Rows() - 1);
    } else {
        MSFlexGrid1->setRow(MSFlexGrid1->Row() + 1);
    }
}

frmAussprache* pronunciationGuide() { return g_guide.data(); }

void showPronunciationGuide()
{
    // While open, the guide only comes to the front; its table stays as loaded.
    if (!g_guide)
        g_guide = new frmAussprache;
    WindowPlacement::bringToFront(*g_guide);
}
