// The options window's page of equal-character pairs: its controls, the pair
// grid's layout, adding, removing and marking pairs, and storing them.
#include "trainer/frmOptions_Pairs.h"

#include "common/ErrorHandling.h"
#include "common/Global.h"
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"
#include "engine/AppError.h"
#include "platform/MSFlexGrid.h"
#include "platform/SettingsStore.h"
#include "trainer/frmOptions.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>

using namespace OptionsWindow;

namespace {

constexpr int kPairGridWidth = 1575;
const QString kExceptionsSection = QStringLiteral("Exceptions");

} // namespace

void frmOptions::buildPage2()
{
    QWidget* page = picOptions[2];
    fraSample3 = control<QGroupBox>(page, QStringLiteral("fraSample3"),
                                    QStringLiteral("Gleich zu behandelnde Buchstaben"), 240, 435, 3255, 3105);
    MSFlexGrid1 = new MSFlexGrid(fraSample3);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    Twips::place(MSFlexGrid1, 120, 360, kPairGridWidth, 2535);
    MSFlexGrid1->setCols(4);
    MSFlexGrid1->setRows(1);
    MSFlexGrid1->setFixedRows(0);
    MSFlexGrid1->setFixedCols(1);
    MSFlexGrid1->setRows(0);
    // The narrow "UND" column shows its word whole rather than as "U...".
    MSFlexGrid1->view()->setTextElideMode(Qt::ElideNone);

    Text1 = control<QLineEdit>(fraSample3, QStringLiteral("Text1"), QString(), 1920, 960, 255, 285);
    Text1->setMaxLength(1);
    Label1 = control<QLabel>(fraSample3, QStringLiteral("Label1"), QStringLiteral("UND"), 2280, 960, 495, 255);
    Label1->setAlignment(Qt::AlignCenter);
    Text2 = control<QLineEdit>(fraSample3, QStringLiteral("Text2"), QString(), 2760, 960, 255, 285);
    Text2->setMaxLength(1);
    add = control<QPushButton>(fraSample3, QStringLiteral("add"), QStringLiteral("Hinzufügen"), 1920, 1560, 1095, 375);
    Remove = control<QPushButton>(fraSample3, QStringLiteral("Remove"), QStringLiteral("Entfernen"), 1920, 2040, 1095, 375);
    for (QPushButton* b : {add, Remove})
        b->setAutoDefault(false);
    // Nothing to add or remove while both boxes are empty.
    add->setEnabled(false);
    Remove->setEnabled(false);

    Erklaerung_Zeichen = multiLineLabel(page, QStringLiteral("Erklaerung_Zeichen"));
    Erklaerung_Zeichen->setText(QStringLiteral("Die Zeichenpaare, die von der Anwendung als gleichwertig behandelt "
                                               "werden sollen, können hier verwaltet werden. "));
    Twips::place(Erklaerung_Zeichen, 3720, 480, 1815, 3015);
}

void frmOptions::layOutPairGrid()
{
    const double w = kPairGridWidth;
    MSFlexGrid* g = MSFlexGrid1;
    for (int c : {0, 1, 3})
        g->setColWidth(c, Twips::roundTw(w / 5));
    g->setColWidth(2, Twips::roundTw(w - w / 10 - g->ColWidth(0) - g->ColWidth(1) - g->ColWidth(3)));
    for (int c : {1, 2, 3})
        g->setColAlignment(c, 2);
    g->setAllowBigSelection(true);
}

// ---------------------------------------------------------------------------
// Equal-character pairs

void frmOptions::PrepareExceptionsOptions()
{
    ErrorHandling::Steps step;
    Form1& f = Forms::form1();
    for (int i = 1; i <= f.NumExceptions; ++i) {
        step([&] { Text1->setText(f.ReturnIteExceptionL(i)); });
        step([&] { Text2->setText(f.ReturnIteExceptionR(i)); });
        step([&] { Add_Click(); });
    }
}

void frmOptions::Add_Click()
{
    ErrorHandling::Steps step;
    MSFlexGrid* g = MSFlexGrid1;
    bool unchanged = false;
    step([&] {
        if (g->Rows() == 0) {
            g->AddItem(QString());
        } else if (g->RowHeight(0) == 0) {
            g->setRowHeight(0, SavedRowHeight);
        } else if (m_pairsInGrid.contains({Text1->text(), Text2->text()})) {
            unchanged = true;
        } else {
            g->AddItem(QString());
        }
    });
    if (unchanged)
        return;
    step([&] {
        g->setRow(g->Rows() - 1);
        g->setCol(1);
        g->setText(Text1->text());
        g->setCellFontBold(true);
        g->setCol(2);
        g->setText(tr2(QStringLiteral("AND"), QStringLiteral("UND")));
        g->setCellFontBold(false);
        g->setCol(3);
        g->setText(Text2->text());
        g->setCellFontBold(true);
        m_pairsInGrid.insert({Text1->text(), Text2->text()});
    });
    step([&] { MarkSelectedException(); });
    step([&] { UpdateExceptionButtons(); });
}

void frmOptions::Remove_Click()
{
    ErrorHandling::Steps step;
    MSFlexGrid* g = MSFlexGrid1;
    step([&] {
        if (g->Rows() == 0)
            throw AppError(30009, QStringLiteral("Ungültiger Row-Wert"));
        if (g->Rows() == 1) {
            // The grid keeps its last row, blank and hidden. Removing it again
            // keeps the height it had, so the next Add shows its pair.
            if (g->RowHeight(0) > 0)
                SavedRowHeight = g->RowHeight(0);
            g->setRowHeight(0, 0);
            g->setTextMatrix(0, 1, QString());
            g->setTextMatrix(0, 3, QString());
            m_pairsInGrid.clear();
        } else {
            m_pairsInGrid.remove({g->TextMatrix(g->Row(), 1), g->TextMatrix(g->Row(), 3)});
            g->RemoveItem(g->Row());
        }
    });
    step([&] {
        Text1->clear();
        Text2->clear();
        UpdateExceptionButtons();
    });
}

void frmOptions::MSFlexGrid1_Click()
{
    ErrorHandling::Steps step;
    step([&] { MarkSelectedException(); });
    step([&] { UpdateExceptionButtons(); });
}

void frmOptions::MarkSelectedException()
{
    MSFlexGrid* g = MSFlexGrid1;
    if (g->Rows() < 1)
        return;
    ErrorHandling::Steps step;
    const int col = g->Col();
    int r = g->Row();
    step([&] {
        g->setCol(0);
        r = g->Row();
    });
    step([&] {
        if (MarkedExceptionRow >= 0 && MarkedExceptionRow < g->Rows()) {
            g->setRow(MarkedExceptionRow);
            g->setCellPicture(QPixmap());
            g->setRow(r);
        }
    });
    step([&] {
        g->setCellPictureAlignment(4);
        g->setCellPicture(QPixmap(Forms::form1().Marke_bmp));
    });
    step([&] {
        Text1->setText(g->TextMatrix(r, 1));
        Text2->setText(g->TextMatrix(r, 3));
    });
    step([&] {
        g->setCol(col);
        MarkedExceptionRow = r;
    });
}

void frmOptions::UpdateExceptionButtons()
{
    MSFlexGrid* g = MSFlexGrid1;
    QString left = QStringLiteral("-1"), right = QStringLiteral("-1");
    const int r = g->Row();
    if (r >= 0 && r < g->Rows()) {
        left = g->TextMatrix(r, 1);
        right = g->TextMatrix(r, 3);
    }
    if (Text1->text() == left && Text2->text() == right) {
        Remove->setEnabled(true);
        add->setEnabled(false);
    } else {
        Remove->setEnabled(false);
        add->setEnabled(!Text1->text().isEmpty() && !Text2->text().isEmpty());
    }
}

QString frmOptions::MyItoS(int i) { return QString::number(i); }

void frmOptions::SetExceptions()
{
    // One write of the whole section: the settings file is replaced at once,
    // so a process stopped meanwhile leaves the old pairs or the new, never a part.
    const MSFlexGrid& g = *MSFlexGrid1;
    QList<std::pair<QString, QString>> values;
    values.reserve(g.Rows());
    for (int i = 0; i < g.Rows(); ++i)
        values.append({QStringLiteral("Exc_") + MyItoS(i + 1), g.TextMatrix(i, 1) + g.TextMatrix(i, 3)});
    ErrorHandling::Steps step;
    step([&] { SettingsStore::ReplaceSection(gAppName, kExceptionsSection, values); });
}
