#pragma once
// The grid control of the list, trainer, options and pronunciation windows:
// a QTableView over a plain table model, offering the members the windows use
// (current cell with Row/Col/Text, widths and heights in twips, sort 5, ...).
// Stays fast at 100,000 rows x 24 columns: appending a row, writing a cell and
// sorting never re-layout the whole view.
#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QTableView;
class FlexGridModel;

class MSFlexGrid : public QWidget {
    Q_OBJECT
public:
    explicit MSFlexGrid(QWidget* parent = nullptr);
    ~MSFlexGrid() override;

    int Rows() const;
    void setRows(int rows); // cuts or appends rows
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const;
    void setFixedRows(int n);
    int FixedCols() const;
    void setFixedCols(int n);

    // The current cell.
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    QString Text() const;
    void setText(const QString& text);

    // Direct cell access for our own bulk code (printing, find, benchmarks);
    // the windows go through the current cell.
    QString TextMatrix(int row, int col) const;
    // The same text without a copy, for walks over every row; valid until the grid changes.
    const QString& textRef(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int TopRow() const;
    void setTopRow(int row);

    int ColWidth(int col) const;           // twips
    void setColWidth(int col, int twips);  // 0 hides the column
    int RowHeight(int row) const;          // twips
    void setRowHeight(int row, int twips); // 0 hides the row
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment); // 0 left-top, 1 left-centre, ...

    // Picture and format of the current cell.
    QPixmap CellPicture() const;
    void setCellPicture(const QPixmap& picture); // a null pixmap clears it
    void setCellPictureAlignment(int alignment); // 4 = centred
    void setCellFontName(const QString& name);
    void setCellFontSize(double points);
    void setCellFontBold(bool bold);
    void setCellBackColor(const QColor& color);
    void setCellAlignment(int alignment);
    int CellLeft() const; // twips inside the grid
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

    // 5 = sort the data rows by the text of the current column, ascending,
    // ignoring case; rows move whole.
    void setSort(int mode);

    int MouseCol() const;
    int MouseRow() const;
    void setAllowUserResizing(int mode); // 0 none, 1 columns
    void setAllowBigSelection(bool on);
    void setScrollTrack(bool on);
    void setWordWrap(bool on);
    void setGridColor(const QColor& color);
    QColor GridColor() const;
    void setBackColor(const QColor& color);
    QColor BackColor() const;
    void setToolTipText(const QString& text);
    QString ToolTipText() const;

    // Appends a row; the text fills its cells, separated by tabs.
    void AddItem(const QString& text);
    void RemoveItem(int row);
    // While one lives, rows added at the end reach the view in one go.
    class AppendBatch {
    public:
        explicit AppendBatch(MSFlexGrid& grid);
        ~AppendBatch();
        AppendBatch(const AppendBatch&) = delete;
        AppendBatch& operator=(const AppendBatch&) = delete;

    private:
        MSFlexGrid& m_grid;
    };
    // Empties all cell texts and pictures; rows and columns stay.
    void Clear();

    QTableView* view() const;

signals:
    void Click();
    void DblClick();
    // button (1 left, 2 right, 4 middle), shift state, x and y in twips from the grid's edges.
    void MouseDown(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Impl;
    Impl* d;
};
