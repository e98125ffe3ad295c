#include "platform/MSFlexGrid.h"

#include "engine/AppError.h"
#include "platform/FlexGridModel.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <vector>

namespace {

constexpr int kDefaultColTwips = 960;

// Draws a picture into rect by the grid's picture alignment codes
// (0-8 as the cell alignments, 9 stretch, 10 tile); a picture larger than
// the cell is scaled down so it stays inside.
void paintPicture(QPainter* p, const QRect& rect, const QPixmap& pic, int alignment)
{
    if (pic.isNull() || rect.width() <= 0 || rect.height() <= 0)
        return;
    if (alignment == 9) {
        p->drawPixmap(rect, pic);
        return;
    }
    if (alignment == 10) {
        p->drawTiledPixmap(rect, pic);
        return;
    }
    QSize size = pic.size() / pic.devicePixelRatio();
    if (size.width() > rect.width() || size.height() > rect.height())
        size.scale(rect.size(), Qt::KeepAspectRatio);
    const QRect target = QStyle::alignedRect(Qt::LeftToRight, FlexGridModel::toQtAlignment(alignment), size, rect);
    p->drawPixmap(target, pic);
}

class PictureDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(p, option, index);
        const QVariant pic = index.data(FlexGridModel::PictureRole);
        if (pic.isValid())
            paintPicture(p, option.rect, pic.value<QPixmap>(), index.data(FlexGridModel::PictureAlignmentRole).toInt());
    }
};

// The fixed row and column: drawn by the headers so they stay in view.
class FlexHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

protected:
    void paintSection(QPainter* p, const QRect& rect, int section) const override
    {
        // The base leaves the painter clipped to nothing; keep our own state.
        p->save();
        QHeaderView::paintSection(p, rect, section);
        p->restore();
        if (!model())
            return;
        const QVariant pic = model()->headerData(section, orientation(), FlexGridModel::PictureRole);
        if (pic.isValid())
            paintPicture(p, rect, pic.value<QPixmap>(),
                         model()->headerData(section, orientation(), FlexGridModel::PictureAlignmentRole).toInt());
    }
};

// A table view whose current index follows the program's Row/Col without
// scrolling: the program scrolls with TopRow, the user by hand.
class GridView : public QTableView {
public:
    using QTableView::QTableView;
    bool quietCurrent = false;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override
    {
        if (quietCurrent) {
            update(previous);
            update(current);
            return;
        }
        QTableView::currentChanged(current, previous);
    }
};

int buttonCode(Qt::MouseButtons b)
{
    int code = 0;
    if (b & Qt::LeftButton)
        code |= 1;
    if (b & Qt::RightButton)
        code |= 2;
    if (b & Qt::MiddleButton)
        code |= 4;
    return code;
}

int shiftCode(Qt::KeyboardModifiers m)
{
    int code = 0;
    if (m & Qt::ShiftModifier)
        code |= 1;
    if (m & Qt::ControlModifier)
        code |= 2;
    if (m & Qt::AltModifier)
        code |= 4;
    return code;
}

} // namespace

struct MSFlexGrid::Impl {
    MSFlexGrid* q = nullptr;
    FlexGridModel* model = nullptr;
    GridView* view = nullptr;
    FlexHeader* hHeader = nullptr; // row 0
    FlexHeader* vHeader = nullptr; // column 0
    int row = 0, col = 0;
    int mouseRow = 0, mouseCol = 0;
    std::vector<int> colTwips; // widths as set, so they read back exactly
    int headerRowTwips = -1;   // -1 = the default row height
    int allowUserResizing = 0;
    bool allowBigSelection = true;
    bool syncPending = false;
    int programmatic = 0; // > 0 while our own code changes the model or view
    bool forwarding = false;
    QColor gridColor, backColor;
    int cellPictureAlignment = 0;

    struct Quiet {
        Impl* d;
        explicit Quiet(Impl* impl) : d(impl) { ++d->programmatic; }
        ~Quiet() { --d->programmatic; }
    };

    bool colInHeader(int c) const { return c == 0 && model->fixedCols() > 0; }
    bool rowInHeader(int r) const { return r == 0 && model->fixedRows() > 0; }
    int defaultRowPixels() const { return q->fontMetrics().height() + 4; }
    int headerRowPixels() const { return headerRowTwips < 0 ? defaultRowPixels() : Twips::toPixelsY(headerRowTwips); }

    void checkRow(int r) const
    {
        if (r < 0 || r >= model->rows())
            throw AppError(30009, QStringLiteral("Ungültiger Row-Wert"));
    }
    void checkCol(int c) const
    {
        if (c < 0 || c >= model->cols())
            throw AppError(30010, QStringLiteral("Ungültiger Col-Wert"));
    }

    // Shows the fixed row and column in the headers and keeps them out of the body.
    void applyFixed()
    {
        Quiet quiet(this);
        const bool fr = model->fixedRows() > 0;
        const bool fc = model->fixedCols() > 0;
        if (fr && model->rows() > 0)
            view->setRowHidden(0, true);
        const int hpx = headerRowPixels();
        hHeader->setVisible(fr && hpx > 0);
        hHeader->setFixedHeight(std::max(hpx, 0));
        if (model->cols() > 0) {
            if (fc)
                view->setColumnHidden(0, true);
            else
                applyColWidth(0);
        }
        const int w = model->cols() > 0 ? Twips::toPixelsX(colTwips[0]) : 0;
        vHeader->setVisible(fc && w > 0);
        vHeader->setFixedWidth(std::max(w, 0));
    }

    void applyColWidth(int c)
    {
        Quiet quiet(this);
        if (colInHeader(c)) {
            applyFixed();
            return;
        }
        const int px = Twips::toPixelsX(colTwips[size_t(c)]);
        if (px <= 0) {
            view->setColumnHidden(c, true);
        } else {
            view->setColumnHidden(c, false);
            hHeader->resizeSection(c, px);
        }
    }

    void scheduleSync()
    {
        if (syncPending)
            return;
        syncPending = true;
        QMetaObject::invokeMethod(
            q, [this] { syncNow(); }, Qt::QueuedConnection);
    }

    // Shows Row/Col as the view's current cell (only data cells can be current there).
    void syncNow()
    {
        model->reportRows();
        if (!syncPending)
            return;
        syncPending = false;
        Quiet quiet(this);
        view->quietCurrent = true;
        const bool data = row >= model->fixedRows() && col >= model->fixedCols() && row < model->rows()
                          && col < model->cols();
        QItemSelectionModel* sel = view->selectionModel();
        if (data)
            sel->setCurrentIndex(model->index(row, col), QItemSelectionModel::ClearAndSelect);
        else {
            sel->clearSelection();
            sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
        view->quietCurrent = false;
    }

    template <class Edit>
    void editCurrentFormat(Edit edit)
    {
        Quiet quiet(this);
        edit(model->editFormat(row, col));
        model->changed(row, col);
    }

    void clampCurrent()
    {
        row = std::clamp(row, 0, std::max(model->rows() - 1, 0));
        col = std::clamp(col, 0, std::max(model->cols() - 1, 0));
        scheduleSync();
    }

    // The grid cell under a point of the grid widget (-1 outside the cells).
    void hitTest(const QPoint& p, int& r, int& c) const
    {
        r = -1;
        c = -1;
        const QPoint vp = view->viewport()->mapFrom(q, p);
        const QPoint hp = hHeader->viewport()->mapFrom(q, p);
        const QPoint vh = vHeader->viewport()->mapFrom(q, p);
        const bool inTop = hHeader->isVisible() && p.y() < view->viewport()->mapTo(q, QPoint(0, 0)).y();
        const bool inLeft = vHeader->isVisible() && p.x() < view->viewport()->mapTo(q, QPoint(0, 0)).x();
        r = inTop ? 0 : view->rowAt(vp.y());
        c = inLeft ? 0 : view->columnAt(vp.x());
        if (inTop && !inLeft)
            c = hHeader->logicalIndexAt(hp.x());
        if (inLeft && !inTop)
            r = vHeader->logicalIndexAt(vh.y());
    }
};

MSFlexGrid::MSFlexGrid(QWidget* parent) : QWidget(parent), d(new Impl)
{
    d->q = this;
    d->model = new FlexGridModel(this);
    d->view = new GridView(this);
    d->hHeader = new FlexHeader(Qt::Horizontal, d->view);
    d->vHeader = new FlexHeader(Qt::Vertical, d->view);
    d->view->setHorizontalHeader(d->hHeader);
    d->view->setVerticalHeader(d->vHeader);
    d->view->setItemDelegate(new PictureDelegate(d->view));
    d->view->setModel(d->model);
    d->view->setCornerButtonEnabled(false);
    d->view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d->view->setSelectionMode(QAbstractItemView::SingleSelection);
    d->view->setSelectionBehavior(QAbstractItemView::SelectItems);
    d->view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    d->view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    d->view->setWordWrap(false);
    d->view->setMouseTracking(true);
    for (QHeaderView* h : {static_cast<QHeaderView*>(d->hHeader), static_cast<QHeaderView*>(d->vHeader)}) {
        h->setSectionsClickable(false);
        h->setHighlightSections(false);
        h->setSectionsMovable(false);
        h->setStretchLastSection(false);
        h->setMinimumSectionSize(1);
        h->setSectionResizeMode(QHeaderView::Fixed);
        h->setMouseTracking(true);
        h->viewport()->setMouseTracking(true);
        h->viewport()->installEventFilter(this);
    }
    d->hHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    d->vHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    d->hHeader->setDefaultSectionSize(Twips::toPixelsX(kDefaultColTwips));
    d->vHeader->setDefaultSectionSize(d->defaultRowPixels());
    d->view->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->view);

    connect(d->view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (d->programmatic || !current.isValid())
            return;
        d->syncPending = false; // the user's choice wins over a pending program one
        d->row = current.row();
        d->col = current.column();
    });
    connect(d->hHeader, &QHeaderView::sectionResized, this, [this](int logical, int, int newSize) {
        if (!d->programmatic && logical >= 0 && logical < int(d->colTwips.size()))
            d->colTwips[size_t(logical)] = Twips::fromPixelsX(newSize);
    });

    // The shape of a new grid: two rows, two columns, one fixed of each.
    Impl::Quiet quiet(d);
    d->model->setCols(2);
    d->colTwips.assign(2, kDefaultColTwips);
    d->model->setRows(2);
    d->model->setFixedRows(1);
    d->model->setFixedCols(1);
    d->model->setBaseFont(font());
    d->row = 1;
    d->col = 1;
    d->applyFixed();
    d->scheduleSync();
}

MSFlexGrid::~MSFlexGrid() { delete d; }

QTableView* MSFlexGrid::view() const { return d->view; }

int MSFlexGrid::Rows() const { return d->model->rows(); }

void MSFlexGrid::setRows(int rows)
{
    Impl::Quiet quiet(d);
    const bool hadRows = d->model->rows() > 0;
    d->model->setRows(rows);
    if (!hadRows)
        d->applyFixed();
    d->clampCurrent();
}

int MSFlexGrid::Cols() const { return d->model->cols(); }

void MSFlexGrid::setCols(int cols)
{
    Impl::Quiet quiet(d);
    const int old = d->model->cols();
    d->model->setCols(cols);
    d->colTwips.resize(size_t(cols), kDefaultColTwips);
    for (int c = old; c < cols; ++c)
        d->applyColWidth(c);
    d->applyFixed();
    d->clampCurrent();
}

int MSFlexGrid::FixedRows() const { return d->model->fixedRows(); }

void MSFlexGrid::setFixedRows(int n)
{
    Impl::Quiet quiet(d);
    if (n < 0 || n >= std::max(d->model->rows(), 1))
        throw AppError(30011, QStringLiteral("Ungültiger FixedRows-Wert"));
    const bool wasFixed = d->model->fixedRows() > 0;
    d->model->setFixedRows(n);
    if (wasFixed && n == 0 && d->model->rows() > 0)
        d->view->setRowHidden(0, false);
    d->applyFixed();
    d->scheduleSync();
}

int MSFlexGrid::FixedCols() const { return d->model->fixedCols(); }

void MSFlexGrid::setFixedCols(int n)
{
    Impl::Quiet quiet(d);
    if (n < 0 || n >= std::max(d->model->cols(), 1))
        throw AppError(30012, QStringLiteral("Ungültiger FixedCols-Wert"));
    d->model->setFixedCols(n);
    d->applyFixed();
    d->scheduleSync();
}

int MSFlexGrid::Row() const { return d->row; }

void MSFlexGrid::setRow(int row)
{
    d->checkRow(row);
    d->row = row;
    d->scheduleSync();
}

int MSFlexGrid::Col() const { return d->col; }

void MSFlexGrid::setCol(int col)
{
    d->checkCol(col);
    d->col = col;
    d->scheduleSync();
}

QString MSFlexGrid::Text() const { return d->model->text(d->row, d->col); }

void MSFlexGrid::setText(const QString& text)
{
    Impl::Quiet quiet(d);
    d->model->setText(d->row, d->col, text);
}

QString MSFlexGrid::TextMatrix(int row, int col) const { return textRef(row, col); }

const QString& MSFlexGrid::textRef(int row, int col) const
{
    d->checkRow(row);
    d->checkCol(col);
    return d->model->text(row, col);
}

void MSFlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    Impl::Quiet quiet(d);
    d->model->setText(row, col, text);
}

int MSFlexGrid::TopRow() const
{
    const int r = d->view->rowAt(0);
    return r < 0 ? std::min(d->model->fixedRows(), std::max(d->model->rows() - 1, 0)) : r;
}

void MSFlexGrid::setTopRow(int row)
{
    d->checkRow(row);
    QScrollBar* bar = d->view->verticalScrollBar();
    bar->setValue(row <= d->model->fixedRows() ? 0 : d->vHeader->sectionPosition(row));
}

int MSFlexGrid::ColWidth(int col) const
{
    d->checkCol(col);
    return d->colTwips[size_t(col)];
}

void MSFlexGrid::setColWidth(int col, int twips)
{
    d->checkCol(col);
    d->colTwips[size_t(col)] = std::max(twips, 0);
    d->applyColWidth(col);
}

int MSFlexGrid::RowHeight(int row) const
{
    d->checkRow(row);
    if (d->rowInHeader(row))
        return d->hHeader->isVisible() || d->headerRowTwips >= 0 ? Twips::fromPixelsY(d->headerRowPixels()) : 0;
    if (d->view->isRowHidden(row))
        return 0;
    return Twips::fromPixelsY(d->vHeader->sectionSize(row));
}

void MSFlexGrid::setRowHeight(int row, int twips)
{
    d->checkRow(row);
    Impl::Quiet quiet(d);
    twips = std::max(twips, 0);
    if (d->rowInHeader(row)) {
        d->headerRowTwips = twips;
        d->applyFixed();
        return;
    }
    const int px = Twips::toPixelsY(twips);
    if (px <= 0) {
        d->view->setRowHidden(row, true);
    } else {
        d->view->setRowHidden(row, false);
        d->vHeader->resizeSection(row, px);
    }
}

int MSFlexGrid::ColAlignment(int col) const
{
    d->checkCol(col);
    return d->model->colAlignment(col);
}

void MSFlexGrid::setColAlignment(int col, int alignment)
{
    Impl::Quiet quiet(d);
    d->model->setColAlignment(col, alignment);
}

QPixmap MSFlexGrid::CellPicture() const
{
    const FlexGridModel::CellFormat* f = d->model->format(d->row, d->col);
    return f ? f->picture : QPixmap();
}

void MSFlexGrid::setCellPicture(const QPixmap& picture)
{
    Impl::Quiet quiet(d);
    if (picture.isNull() && !d->model->format(d->row, d->col))
        return; // nothing to clear; keeps cleared rows free of format records
    FlexGridModel::CellFormat& f = d->model->editFormat(d->row, d->col);
    f.picture = picture;
    f.pictureAlignment = d->cellPictureAlignment;
    d->model->changed(d->row, d->col);
}

void MSFlexGrid::setCellPictureAlignment(int alignment)
{
    d->cellPictureAlignment = alignment;
    if (const FlexGridModel::CellFormat* f = d->model->format(d->row, d->col); f && !f->picture.isNull()) {
        Impl::Quiet quiet(d);
        d->model->editFormat(d->row, d->col).pictureAlignment = alignment;
        d->model->changed(d->row, d->col);
    }
}

void MSFlexGrid::setCellFontName(const QString& name)
{
    d->editCurrentFormat([&](FlexGridModel::CellFormat& f) { f.fontName = name; });
}

void MSFlexGrid::setCellFontSize(double points)
{
    d->editCurrentFormat([&](FlexGridModel::CellFormat& f) { f.fontSize = points; });
}

void MSFlexGrid::setCellFontBold(bool bold)
{
    d->editCurrentFormat([&](FlexGridModel::CellFormat& f) { f.bold = bold ? 1 : 0; });
}

void MSFlexGrid::setCellBackColor(const QColor& color)
{
    d->editCurrentFormat([&](FlexGridModel::CellFormat& f) { f.backColor = color; });
}

void MSFlexGrid::setCellAlignment(int alignment)
{
    d->editCurrentFormat([&](FlexGridModel::CellFormat& f) { f.alignment = alignment; });
}

int MSFlexGrid::CellLeft() const
{
    if (d->colInHeader(d->col))
        return Twips::fromPixelsX(d->vHeader->mapTo(this, QPoint(0, 0)).x());
    const int x = d->view->columnViewportPosition(d->col);
    return Twips::fromPixelsX(d->view->viewport()->mapTo(this, QPoint(x, 0)).x());
}

int MSFlexGrid::CellTop() const
{
    if (d->rowInHeader(d->row))
        return Twips::fromPixelsY(d->hHeader->mapTo(this, QPoint(0, 0)).y());
    const int y = d->view->rowViewportPosition(d->row);
    return Twips::fromPixelsY(d->view->viewport()->mapTo(this, QPoint(0, y)).y());
}

int MSFlexGrid::CellWidth() const { return ColWidth(d->col); }
int MSFlexGrid::CellHeight() const { return RowHeight(d->row); }

void MSFlexGrid::setSort(int mode)
{
    // Only "generic ascending, case ignored" is used by the program.
    if (mode != 5)
        return;
    Impl::Quiet quiet(d);
    d->model->sortByColumn(d->col);
    d->syncPending = false;
    d->scheduleSync();
}

int MSFlexGrid::MouseCol() const { return d->mouseCol; }
int MSFlexGrid::MouseRow() const { return d->mouseRow; }

void MSFlexGrid::setAllowUserResizing(int mode)
{
    if (mode == d->allowUserResizing)
        return;
    d->allowUserResizing = mode;
    d->hHeader->setSectionResizeMode((mode & 1) ? QHeaderView::Interactive : QHeaderView::Fixed);
    d->vHeader->setSectionResizeMode((mode & 2) ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void MSFlexGrid::setAllowBigSelection(bool on) { d->allowBigSelection = on; }

void MSFlexGrid::setScrollTrack(bool on)
{
    d->view->verticalScrollBar()->setTracking(on);
    d->view->horizontalScrollBar()->setTracking(on);
}

void MSFlexGrid::setWordWrap(bool on) { d->view->setWordWrap(on); }

void MSFlexGrid::setGridColor(const QColor& color)
{
    d->gridColor = color;
    d->view->setStyleSheet(QStringLiteral("QTableView { gridline-color: %1; }").arg(color.name()));
    // A style sheet makes the view stop taking the grid's font; give it back.
    d->view->setFont(font());
}

QColor MSFlexGrid::GridColor() const
{
    return d->gridColor.isValid() ? d->gridColor : d->view->palette().color(QPalette::Mid);
}

void MSFlexGrid::setBackColor(const QColor& color)
{
    d->backColor = color;
    QPalette pal = d->view->palette();
    pal.setColor(QPalette::Base, color);
    d->view->setPalette(pal);
}

QColor MSFlexGrid::BackColor() const { return d->view->palette().color(QPalette::Base); }

void MSFlexGrid::setToolTipText(const QString& text)
{
    if (text == d->model->toolTip())
        return;
    d->model->setToolTip(text);
    setToolTip(text);
}

QString MSFlexGrid::ToolTipText() const { return d->model->toolTip(); }

void MSFlexGrid::AddItem(const QString& text)
{
    Impl::Quiet quiet(d);
    d->model->appendRow(text);
}

MSFlexGrid::AppendBatch::AppendBatch(MSFlexGrid& grid) : m_grid(grid) { m_grid.d->model->beginAppendBatch(); }
MSFlexGrid::AppendBatch::~AppendBatch() { m_grid.d->model->endAppendBatch(); }

void MSFlexGrid::RemoveItem(int row)
{
    Impl::Quiet quiet(d);
    d->model->removeRow(row);
    d->clampCurrent();
}

void MSFlexGrid::Clear()
{
    Impl::Quiet quiet(d);
    d->model->clearCells();
}

void MSFlexGrid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        d->model->setBaseFont(font());
        if (d->gridColor.isValid())
            d->view->setFont(font());
        d->vHeader->setDefaultSectionSize(d->defaultRowPixels());
        d->applyFixed();
    }
    QWidget::changeEvent(event);
}

bool MSFlexGrid::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove
        && type != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    if (d->forwarding)
        return false;
    auto* me = static_cast<QMouseEvent*>(event);
    auto* w = static_cast<QWidget*>(watched);
    const QPoint p = w->mapTo(this, me->position().toPoint());
    int r = -1, c = -1;
    d->hitTest(p, r, c);
    d->mouseRow = r;
    d->mouseCol = c;
    const bool inHeaders = watched != d->view->viewport();

    if (type == QEvent::MouseButtonPress && inHeaders) {
        // A press on the fixed row picks the column, on the fixed column the row.
        if (d->allowBigSelection) {
            if (r == 0 && c >= 0 && watched == d->hHeader->viewport())
                d->col = c;
            else if (c == 0 && r >= 0 && watched == d->vHeader->viewport())
                d->row = r;
            d->scheduleSync();
        }
    }

    // Let the view do its own work first (current cell, selection, resizing),
    // so the handlers see the new current cell and their changes stick.
    d->forwarding = true;
    QApplication::sendEvent(watched, event);
    d->forwarding = false;

    const int x = Twips::fromPixelsX(p.x());
    const int y = Twips::fromPixelsY(p.y());
    const int shift = shiftCode(me->modifiers());
    switch (type) {
    case QEvent::MouseButtonPress:
        emit MouseDown(buttonCode(me->button()), shift, x, y);
        break;
    case QEvent::MouseButtonRelease:
        emit MouseUp(buttonCode(me->button()), shift, x, y);
        if (me->button() == Qt::LeftButton)
            emit Click();
        break;
    case QEvent::MouseMove:
        emit MouseMove(buttonCode(me->buttons()), shift, x, y);
        break;
    default:
        emit DblClick();
        break;
    }
    return true;
}
