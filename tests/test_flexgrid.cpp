// The grid control: shape, current cell, rows in and out, sizes in twips,
// sorting and the mouse events the list window relies on.
#include "engine/AppError.h"
#include "platform/MSFlexGrid.h"
#include "platform/Twips.h"

#include <QCollator>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <numeric>

namespace {

QPixmap redDot()
{
    QPixmap p(8, 8);
    p.fill(Qt::red);
    return p;
}

// A grid of rows x cols with one fixed row and column, each data cell "r:c".
void fill(MSFlexGrid& g, int rows, int cols)
{
    g.setCols(cols);
    g.setRows(rows);
    for (int r = 1; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.setTextMatrix(r, c, QStringLiteral("%1:%2").arg(r).arg(c));
}

QStringList column(const MSFlexGrid& g, int col)
{
    QStringList out;
    for (int r = 0; r < g.Rows(); ++r)
        out << g.TextMatrix(r, col);
    return out;
}

} // namespace

TEST(FlexGrid, NewGridHasTwoRowsTwoColsAndDataCellCurrent)
{
    MSFlexGrid g;
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.Cols(), 2);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
}

TEST(FlexGrid, WithoutFixedRowAndColumnEveryCellIsInTheBody)
{
    MSFlexGrid g;
    fill(g, 3, 3);
    g.setFixedRows(0);
    g.setFixedCols(0);
    EXPECT_TRUE(g.view()->horizontalHeader()->isHidden());
    EXPECT_TRUE(g.view()->verticalHeader()->isHidden());
    EXPECT_FALSE(g.view()->isRowHidden(0));
    EXPECT_FALSE(g.view()->isColumnHidden(0));
    EXPECT_TRUE(g.view()->model()->flags(g.view()->model()->index(0, 0)) & Qt::ItemIsSelectable);
    g.setRow(0);
    g.setCol(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(g.view()->currentIndex(), g.view()->model()->index(0, 0));
    g.setFixedRows(1);
    EXPECT_TRUE(g.view()->isRowHidden(0));
    EXPECT_FALSE(g.view()->model()->flags(g.view()->model()->index(0, 1)) & Qt::ItemIsSelectable);
}

TEST(FlexGrid, PuttingRowsAndColsCutsAndAppendsKeepingTexts)
{
    MSFlexGrid g;
    fill(g, 5, 4);
    g.setRows(3);
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(column(g, 2), (QStringList{"", "1:2", "2:2"}));
    g.setRows(6);
    EXPECT_EQ(g.TextMatrix(5, 2), QString());
    EXPECT_EQ(g.TextMatrix(2, 3), "2:3");
    g.setCols(3);
    EXPECT_EQ(g.Cols(), 3);
    EXPECT_THROW(g.TextMatrix(1, 3), AppError);
    g.setCols(5);
    EXPECT_EQ(g.TextMatrix(1, 4), QString()); // a column that comes back is empty
    EXPECT_EQ(g.TextMatrix(1, 2), "1:2");
}

TEST(FlexGrid, CurrentCellAddressesTextIncludingHeaderRow)
{
    MSFlexGrid g;
    fill(g, 4, 3);
    g.setRow(2);
    g.setCol(1);
    EXPECT_EQ(g.Text(), "2:1");
    g.setText("neu");
    EXPECT_EQ(g.TextMatrix(2, 1), "neu");
    g.setRow(0);
    g.setText("Kopf");
    EXPECT_EQ(g.TextMatrix(0, 1), "Kopf");
    EXPECT_EQ(g.view()->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Kopf");
}

TEST(FlexGrid, InvalidCurrentCellIsAnErrorAndLeavesItUnchanged)
{
    MSFlexGrid g;
    fill(g, 3, 3);
    g.setRow(2);
    const struct {
        int row, col, number;
    } cases[] = {{3, 1, 30009}, {-1, 1, 30009}, {1, 3, 30010}, {1, -1, 30010}};
    for (const auto& c : cases) {
        try {
            if (c.number == 30009)
                g.setRow(c.row);
            else
                g.setCol(c.col);
            ADD_FAILURE() << c.row << "," << c.col << " accepted";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), c.number);
        }
    }
    EXPECT_EQ(g.Row(), 2);
}

TEST(FlexGrid, ViewCurrentIndexFollowsDataCellsOnly)
{
    MSFlexGrid g;
    fill(g, 5, 4);
    g.setRow(3);
    g.setCol(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(g.view()->currentIndex().row(), 3);
    EXPECT_EQ(g.view()->currentIndex().column(), 2);
    g.setRow(0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(g.view()->currentIndex().isValid());
    EXPECT_EQ(g.Row(), 0); // the program's Row stays on the header
}

TEST(FlexGrid, AddItemSplitsTabsAndIgnoresSurplusCells)
{
    MSFlexGrid g;
    g.setCols(3);
    g.setRows(1);
    g.AddItem("a\tb\tc\td");
    g.AddItem("x");
    g.AddItem("");
    g.AddItem("\t\tz");
    ASSERT_EQ(g.Rows(), 5);
    EXPECT_EQ(QStringList({g.TextMatrix(1, 0), g.TextMatrix(1, 1), g.TextMatrix(1, 2)}), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(QStringList({g.TextMatrix(2, 0), g.TextMatrix(2, 1)}), (QStringList{"x", ""}));
    EXPECT_EQ(g.TextMatrix(3, 0), QString());
    EXPECT_EQ(QStringList({g.TextMatrix(4, 0), g.TextMatrix(4, 2)}), (QStringList{"", "z"}));
}

TEST(FlexGrid, RemoveItemMovesRowsUpAndKeepsRowInRange)
{
    MSFlexGrid g;
    fill(g, 5, 2);
    g.setRow(2);
    g.setCol(1);
    g.setCellPicture(redDot());
    g.RemoveItem(1);
    EXPECT_EQ(column(g, 1), (QStringList{"", "2:1", "3:1", "4:1"}));
    g.setRow(1);
    EXPECT_FALSE(g.CellPicture().isNull()); // the picture went up with its row
    g.setRow(3);
    g.RemoveItem(3);
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_LT(g.Row(), g.Rows());
    EXPECT_THROW(g.RemoveItem(3), AppError);
}

TEST(FlexGrid, ClearEmptiesTextsAndPicturesButKeepsShape)
{
    MSFlexGrid g;
    fill(g, 4, 3);
    g.setTextMatrix(0, 2, "Kopf");
    g.setRow(2);
    g.setCol(0);
    g.setCellPicture(redDot());
    g.setColWidth(2, 1500);
    g.Clear();
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.Cols(), 3);
    EXPECT_EQ(g.TextMatrix(0, 2), QString());
    EXPECT_EQ(g.TextMatrix(3, 1), QString());
    EXPECT_TRUE(g.CellPicture().isNull());
    EXPECT_EQ(g.ColWidth(2), 1500);
}

TEST(FlexGrid, WidthsAndHeightsAreTwipsAndZeroHides)
{
    MSFlexGrid g;
    fill(g, 4, 4);
    g.setColWidth(2, 1500);
    EXPECT_EQ(g.ColWidth(2), 1500);
    EXPECT_EQ(g.view()->horizontalHeader()->sectionSize(2), Twips::toPixelsX(1500));
    g.setColWidth(3, 0);
    EXPECT_EQ(g.ColWidth(3), 0);
    EXPECT_TRUE(g.view()->isColumnHidden(3));
    g.setColWidth(3, 900);
    EXPECT_FALSE(g.view()->isColumnHidden(3));

    g.setRowHeight(2, 0);
    EXPECT_EQ(g.RowHeight(2), 0);
    EXPECT_TRUE(g.view()->isRowHidden(2));
    g.setRowHeight(2, 600);
    EXPECT_FALSE(g.view()->isRowHidden(2));
    EXPECT_NEAR(g.RowHeight(2), 600, Twips::twipsPerPixelY());

    // The fixed column is the vertical header: its width is column 0's.
    g.setColWidth(0, 450);
    EXPECT_EQ(g.view()->verticalHeader()->width(), Twips::toPixelsX(450));
    g.setColWidth(0, 0);
    EXPECT_TRUE(g.view()->verticalHeader()->isHidden());
    // The fixed row is the horizontal header: its height is row 0's.
    g.setRowHeight(0, 450);
    EXPECT_NEAR(g.RowHeight(0), 450, Twips::twipsPerPixelY());
    EXPECT_EQ(g.view()->horizontalHeader()->height(), Twips::toPixelsY(450));
}

TEST(FlexGrid, SortFiveIsStableCaseBlindAndMovesWholeRows)
{
    MSFlexGrid g;
    g.setCols(3);
    g.setRows(1);
    g.setTextMatrix(0, 1, "Kopf");
    const char* rows[] = {"1\tbanane\tb1", "2\tApfel\ta1", "3\tBanane\tb2", "4\tapfel\ta2", "5\tckirsche\tc"};
    for (const char* r : rows)
        g.AddItem(QString::fromUtf8(r));
    g.setRow(3); // "Banane", gets the picture
    g.setCol(2);
    g.setCellPicture(redDot());
    g.setCol(1);
    g.setSort(5);
    EXPECT_EQ(column(g, 1), (QStringList{"Kopf", "Apfel", "apfel", "banane", "Banane", "ckirsche"}));
    EXPECT_EQ(column(g, 0), (QStringList{"", "2", "4", "1", "3", "5"}));
    EXPECT_EQ(column(g, 2), (QStringList{"", "a1", "a2", "b1", "b2", "c"}));
    g.setRow(4);
    g.setCol(2);
    EXPECT_FALSE(g.CellPicture().isNull());
    g.setRow(3);
    EXPECT_TRUE(g.CellPicture().isNull());
}

TEST(FlexGrid, SortPutsAccentedLettersWithTheirBaseLetter)
{
    MSFlexGrid g;
    g.setCols(2);
    g.setRows(1);
    for (const char* w : {"Zebra", "Öl", "birne", "Äpfel", "ober", "Apfel", "éclair", "Ende"})
        g.AddItem(QStringLiteral("\t") + QString::fromUtf8(w));
    g.setCol(1);
    g.setSort(5);
    EXPECT_EQ(column(g, 1), (QStringList{"", "Apfel", QString::fromUtf8("Äpfel"), "birne", QString::fromUtf8("éclair"),
                                         "Ende", "ober", QString::fromUtf8("Öl"), "Zebra"}));
}

TEST(FlexGrid, SortOfAThousandRowsMatchesCaseFoldedOrder)
{
    MSFlexGrid g;
    g.setCols(2);
    g.setRows(1);
    for (int i = 0; i < 1000; ++i)
        g.AddItem(QStringLiteral("\t%1").arg(QChar(i % 2 ? 'A' + (i * 7) % 26 : 'a' + (i * 11) % 26)));
    g.setCol(1);
    g.setSort(5);
    for (int r = 2; r < g.Rows(); ++r)
        ASSERT_LE(g.TextMatrix(r - 1, 1).toCaseFolded(), g.TextMatrix(r, 1).toCaseFolded()) << r;
}

// Texts of plain ASCII sort without a collation key each; the order must stay
// the collator's, ties in their old order, with a few umlauts among them.
TEST(FlexGrid, SortKeepsTheCollatorsOrderForPunctuationDigitsAndCase)
{
    MSFlexGrid g;
    g.setCols(2);
    g.setRows(1);
    QStringList texts;
    quint32 seed = 7;
    const QString alphabet = QStringLiteral(" !\"#$%&'()*+,-./0123456789:;<=>?@AZaz[\\]^_`{|}~bBmM");
    for (int i = 0; i < 400; ++i) {
        QString t;
        for (int len = int((seed = seed * 1103515245u + 12345u) >> 16) % 5; len > 0; --len)
            t += alphabet[int((seed = seed * 1103515245u + 12345u) >> 16) % alphabet.size()];
        texts << t;
    }
    // Full-width letters differ from plain ones only as case does: a tie across both kinds.
    for (const char* w : {"Äb", "ab", "äB", "Öl", "ol", "ß", "ss", "é-", "ａｂ"})
        texts << QString::fromUtf8(w);
    for (int i = 0; i < texts.size(); ++i)
        g.AddItem(QString::number(i) + QLatin1Char('\t') + texts[i]);
    g.setCol(1);
    g.setSort(5);

    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<int> expected(texts.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return collator.compare(texts[a], texts[b]) < 0; });
    QStringList ids;
    for (int i : expected)
        ids << QString::number(i);
    EXPECT_EQ(column(g, 0).mid(1), ids);
}

class ShownGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        fill(g, 30, 4);
        for (int c = 0; c < 4; ++c)
            g.setTextMatrix(0, c, QStringLiteral("H%1").arg(c));
        g.resize(500, 300);
        g.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    }
    // Centre of a data cell in view viewport coordinates.
    QPoint cellCentre(int row, int col) const
    {
        return g.view()->visualRect(g.view()->model()->index(row, col)).center();
    }
    QPoint headerCentre(int col) const
    {
        const QHeaderView* h = g.view()->horizontalHeader();
        return {h->sectionViewportPosition(col) + h->sectionSize(col) / 2, h->height() / 2};
    }
    MSFlexGrid g;
};

TEST_F(ShownGrid, PressOnHeaderMakesThatColumnColAndReportsSmallY)
{
    g.setRow(5);
    g.setCol(1);
    QSignalSpy down(&g, &MSFlexGrid::MouseDown);
    QTest::mousePress(g.view()->horizontalHeader()->viewport(), Qt::LeftButton, {}, headerCentre(3));
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.Row(), 5);
    EXPECT_EQ(g.MouseRow(), 0);
    EXPECT_EQ(g.MouseCol(), 3);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), 1); // left button
    EXPECT_LT(down.at(0).at(3).toInt(), g.RowHeight(0));
    QTest::mouseRelease(g.view()->horizontalHeader()->viewport(), Qt::LeftButton, {}, headerCentre(3));

    g.setAllowBigSelection(false);
    QTest::mousePress(g.view()->horizontalHeader()->viewport(), Qt::LeftButton, {}, headerCentre(2));
    EXPECT_EQ(g.Col(), 3);
}

TEST_F(ShownGrid, PressOnDataCellMakesItCurrentBeforeMouseDown)
{
    int rowSeen = -1, ySeen = -1, shiftSeen = -1;
    QObject::connect(&g, &MSFlexGrid::MouseDown, [&](int, int shift, int, int y) {
        rowSeen = g.Row();
        ySeen = y;
        shiftSeen = shift;
    });
    QSignalSpy clicks(&g, &MSFlexGrid::Click);
    const QPoint at = cellCentre(3, 2);
    QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, Qt::ShiftModifier, at);
    EXPECT_EQ(rowSeen, 3);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(shiftSeen, 1);
    EXPECT_EQ(clicks.count(), 1);
    // y counts from the grid's top edge, header row included.
    const int expectedPx = g.view()->viewport()->mapTo(&g, at).y();
    EXPECT_EQ(ySeen, Twips::fromPixelsY(expectedPx));
    EXPECT_GT(ySeen, g.RowHeight(0) + 2 * g.RowHeight(1));
}

TEST_F(ShownGrid, MouseDownHandlerChangesOfRowStick)
{
    QObject::connect(&g, &MSFlexGrid::MouseDown, [&] { g.setRow(1); });
    QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, {}, cellCentre(4, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.view()->currentIndex().row(), 1);
}

TEST_F(ShownGrid, TopRowScrollsThatRowToTheTop)
{
    g.setTopRow(10);
    EXPECT_EQ(g.TopRow(), 10);
    g.setTopRow(1);
    EXPECT_EQ(g.TopRow(), 1);
}

TEST_F(ShownGrid, PicturesAreDrawnInTheFixedColumnAndInDataCells)
{
    for (int col : {0, 2}) {
        SCOPED_TRACE(col);
        g.setRow(3);
        g.setCol(col);
        g.setCellPictureAlignment(4);
        g.setCellPicture(redDot());
        QWidget* area = col == 0 ? static_cast<QWidget*>(g.view()->verticalHeader()) : g.view()->viewport();
        const QRect cell = col == 0
                               ? QRect(0, g.view()->verticalHeader()->sectionViewportPosition(3),
                                       g.view()->verticalHeader()->width(), g.view()->verticalHeader()->sectionSize(3))
                               : g.view()->visualRect(g.view()->model()->index(3, 2));
        const QImage shot = area->grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(cell.center())), QColor(Qt::red));
        g.setCellPicture(QPixmap());
        EXPECT_NE(QColor(area->grab().toImage().pixel(cell.center())), QColor(Qt::red));
    }
}

TEST_F(ShownGrid, CellPositionsAreTwipsInsideTheGrid)
{
    g.setColWidth(0, 450);
    g.setColWidth(1, 900);
    g.setRow(2);
    g.setCol(1);
    const int left1 = g.CellLeft();
    const int top2 = g.CellTop();
    g.setCol(2);
    EXPECT_NEAR(g.CellLeft() - left1, 900, Twips::twipsPerPixelX());
    EXPECT_EQ(g.CellWidth(), g.ColWidth(2));
    g.setCol(0);
    EXPECT_NEAR(left1 - g.CellLeft(), 450, Twips::twipsPerPixelX());
    g.setRow(3);
    EXPECT_NEAR(g.CellTop() - top2, g.RowHeight(2), Twips::twipsPerPixelY());
}

// Cells written inside one event reach the view together once the event loop
// runs, even when rows went away in between.
TEST(FlexGrid, WrittenCellsReachTheViewOnceTheEventLoopRuns)
{
    MSFlexGrid g;
    fill(g, 6, 4);
    QCoreApplication::processEvents();
    QSignalSpy spy(g.view()->model(), &QAbstractItemModel::dataChanged);
    g.setTextMatrix(2, 1, QStringLiteral("a"));
    g.setTextMatrix(5, 3, QStringLiteral("b"));
    g.RemoveItem(5);
    EXPECT_EQ(spy.count(), 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 1);
    const auto topLeft = spy.at(0).at(0).value<QModelIndex>();
    const auto bottomRight = spy.at(0).at(1).value<QModelIndex>();
    EXPECT_EQ(topLeft.row(), 2);
    EXPECT_EQ(topLeft.column(), 1);
    EXPECT_EQ(bottomRight.row(), 4); // row 5 is gone
    EXPECT_EQ(bottomRight.column(), 3);
    EXPECT_EQ(g.view()->model()->data(g.view()->model()->index(2, 1)).toString(), QStringLiteral("a"));
}

// A grid line colour must not cost the cells their font.
TEST(FlexGrid, GridColorKeepsTheGridsFont)
{
    MSFlexGrid g;
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(14);
    g.setFont(f);
    g.setGridColor(Qt::blue);
    EXPECT_EQ(g.view()->font().pointSizeF(), 14);
    f.setPointSizeF(9);
    g.setFont(f);
    EXPECT_EQ(g.view()->font().pointSizeF(), 9);
    EXPECT_EQ(g.GridColor(), QColor(Qt::blue));
}
