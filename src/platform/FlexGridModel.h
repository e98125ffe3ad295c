#pragma once
// The table behind MSFlexGrid: every cell of every row (fixed ones included)
// as plain text; pictures and formats only for the cells that have them.
// Model row r and column c are the grid's row r and column c.
#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Roles of our own for the delegate and the headers.
    enum Role { PictureRole = Qt::UserRole + 1, PictureAlignmentRole };

    // Anything beyond the text of a cell.
    struct CellFormat {
        QPixmap picture;
        int pictureAlignment = 0;
        int alignment = -1; // -1 = the column's alignment
        QString fontName;
        double fontSize = 0; // 0 = the grid's size
        int bold = -1;       // -1 = the grid's weight
        QColor backColor;
    };

    explicit FlexGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int rows() const { return int(m_rows.size()); }
    int cols() const { return m_cols; }
    void setRows(int rows);
    void setCols(int cols);
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }
    void setFixedRows(int n);
    void setFixedCols(int n);

    const QString& text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    // Appends one row; text holds its cells separated by tabs.
    void appendRow(const QString& tabbedText);
    // Inserts a row before position row (row == rows() appends).
    void insertRow(int row, const QString& tabbedText);
    void removeRow(int row);
    // Between these, rows appended at the end reach the views in one insert
    // when the batch ends or anything else needs them (the event loop, any
    // other change of rows or columns); until then rowCount() leaves them out.
    void beginAppendBatch() { ++m_appendBatch; }
    void endAppendBatch();
    // Tells the views about the rows appended in a batch so far.
    void reportRows();
    // Empties every text and drops every picture and format.
    void clearCells();

    // The format of a cell, or nullptr when it has none.
    const CellFormat* format(int row, int col) const;
    // The format of a cell, created when missing; call changed() after editing it.
    CellFormat& editFormat(int row, int col);
    void changed(int row, int col);

    // Column alignment in the grid's codes (0 left-top, 1 left-centre, ... 9 general).
    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);
    void setToolTip(const QString& text) { m_toolTip = text; }
    const QString& toolTip() const { return m_toolTip; }
    // The grid's font, the base of the cells with a font of their own.
    void setBaseFont(const QFont& font) { m_baseFont = font; }

    // Stable sort of the rows below the fixed rows by the text of column col,
    // ascending, case ignored; rows move with their pictures and formats.
    void sortByColumn(int col);

    static Qt::Alignment toQtAlignment(int code);

private:
    struct RowData {
        std::vector<QString> cells;
        std::unique_ptr<std::map<int, CellFormat>> formats; // only where set
    };
    RowData makeRow(const QString& tabbedText) const;
    void checkCell(int row, int col) const;
    void refreshAll();
    void flushChanges();

    // Cells written since the views were last told (a bounding rectangle).
    bool m_changePending = false;
    int m_changeTop = 0, m_changeBottom = 0, m_changeLeft = 0, m_changeRight = 0;

    std::vector<RowData> m_rows;
    int m_shownRows = 0; // the rows the views know
    int m_appendBatch = 0;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    std::vector<int> m_colAlignment;
    QString m_toolTip;
    QColor m_fixedBack;
    QFont m_baseFont;
};
