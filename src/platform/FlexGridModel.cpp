#include "platform/FlexGridModel.h"

#include "engine/AppError.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <array>
#include <iterator>
#include <numeric>
#include <string>
#include <string_view>

namespace {
const QString kEmpty;

// The sort order of texts made of printable ASCII characters, read from the
// collator: each character's rank, characters equal to the collator (a and A)
// sharing one. Such texts then sort by their rank strings, without a collation
// key each. Empty when the collator does not order these characters one by one
// and by their base letter alone (then every text takes the collator's key).
struct AsciiRanks {
    std::array<unsigned char, 128> rank{}; // 0: not a printable ASCII character

    explicit AsciiRanks(const QCollator& collator)
    {
        std::vector<char16_t> chars;
        for (char16_t c = 0x20; c < 0x7f; ++c)
            chars.push_back(c);
        auto text = [](char16_t c) { return QString(QChar(c)); };
        std::stable_sort(chars.begin(), chars.end(),
                         [&](char16_t a, char16_t b) { return collator.compare(text(a), text(b)) < 0; });
        unsigned char r = 1;
        for (size_t i = 0; i < chars.size(); ++i) {
            if (collator.compare(text(chars[i]), QString()) <= 0)
                return; // ignored by the collator
            if (i > 0 && collator.compare(text(chars[i - 1]), text(chars[i])) != 0) {
                // Apart by the base letter, not only by an accent: the first
                // character decides even against a larger second one.
                if (collator.compare(text(chars[i - 1]) + text(chars.back()), text(chars[i]) + text(chars.front())) >= 0)
                    return;
                ++r;
            }
            rank[chars[i]] = r;
        }
        usable = true;
    }
    bool ranks(QStringView text) const
    {
        return std::all_of(text.begin(), text.end(), [this](QChar c) { return c.unicode() < 128 && rank[c.unicode()]; });
    }
    // The rank string of text into out (text.size() bytes), or false when
    // text has another character.
    bool key(QStringView text, char* out) const
    {
        if (!ranks(text))
            return false;
        for (qsizetype i = 0; i < text.size(); ++i)
            out[i] = char(rank[text[i].unicode()]);
        return true;
    }
    bool usable = false;
};
} // namespace

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent), m_fixedBack(0xE0, 0xE0, 0xE0) {}

int FlexGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_shownRows; }
int FlexGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_cols; }

Qt::Alignment FlexGridModel::toQtAlignment(int code)
{
    static const Qt::Alignment table[] = {
        Qt::AlignLeft | Qt::AlignTop,    Qt::AlignLeft | Qt::AlignVCenter,    Qt::AlignLeft | Qt::AlignBottom,
        Qt::AlignHCenter | Qt::AlignTop, Qt::AlignHCenter | Qt::AlignVCenter, Qt::AlignHCenter | Qt::AlignBottom,
        Qt::AlignRight | Qt::AlignTop,   Qt::AlignRight | Qt::AlignVCenter,   Qt::AlignRight | Qt::AlignBottom,
    };
    if (code >= 0 && code < 9)
        return table[code];
    return Qt::AlignLeft | Qt::AlignVCenter; // 9 general and anything unknown
}

void FlexGridModel::checkCell(int row, int col) const
{
    if (row < 0 || row >= rows())
        throw AppError(30009, QStringLiteral("Ungültiger Row-Wert"));
    if (col < 0 || col >= m_cols)
        throw AppError(30010, QStringLiteral("Ungültiger Col-Wert"));
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows() || index.column() >= m_cols)
        return {};
    const RowData& r = m_rows[size_t(index.row())];
    const CellFormat* f = nullptr;
    if (r.formats) {
        auto it = r.formats->find(index.column());
        if (it != r.formats->end())
            f = &it->second;
    }
    switch (role) {
    case Qt::DisplayRole:
        return r.cells[size_t(index.column())];
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(toQtAlignment(f && f->alignment >= 0 ? f->alignment : colAlignment(index.column())));
    case Qt::BackgroundRole:
        if (f && f->backColor.isValid())
            return f->backColor;
        if (index.row() < m_fixedRows || index.column() < m_fixedCols)
            return m_fixedBack;
        return {};
    case Qt::FontRole:
        if (f && (!f->fontName.isEmpty() || f->fontSize > 0 || f->bold >= 0)) {
            QFont font = m_baseFont;
            if (!f->fontName.isEmpty())
                font.setFamily(f->fontName);
            if (f->fontSize > 0)
                font.setPointSizeF(f->fontSize);
            if (f->bold >= 0)
                font.setBold(f->bold != 0);
            return font;
        }
        return {};
    case Qt::ToolTipRole:
        return m_toolTip.isEmpty() ? QVariant() : QVariant(m_toolTip);
    case PictureRole:
        return f && !f->picture.isNull() ? QVariant(f->picture) : QVariant();
    case PictureAlignmentRole:
        return f ? f->pictureAlignment : 0;
    default:
        return {};
    }
}

// The fixed row 0 shows as the horizontal header, the fixed column 0 as the
// vertical one, so both stay in view while the data scrolls.
QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (m_fixedRows < 1 || rows() < 1)
            return {};
        return data(index(0, section), role);
    }
    if (m_fixedCols < 1 || m_cols < 1)
        return {};
    return data(index(section, 0), role);
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.row() < m_fixedRows || index.column() < m_fixedCols)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

FlexGridModel::RowData FlexGridModel::makeRow(const QString& tabbedText) const
{
    RowData r;
    r.cells.resize(size_t(m_cols));
    if (!tabbedText.isEmpty()) {
        int c = 0;
        qsizetype start = 0;
        while (c < m_cols) {
            const qsizetype tab = tabbedText.indexOf(QLatin1Char('\t'), start);
            r.cells[size_t(c++)] = tabbedText.mid(start, tab < 0 ? -1 : tab - start);
            if (tab < 0)
                break;
            start = tab + 1;
        }
    }
    return r;
}

void FlexGridModel::setRows(int n)
{
    if (n < 0)
        throw AppError(30009, QStringLiteral("Ungültiger Row-Wert"));
    reportRows();
    const int old = rows();
    if (n > old) {
        beginInsertRows({}, old, n - 1);
        m_rows.reserve(size_t(n));
        for (int i = old; i < n; ++i)
            m_rows.push_back(makeRow(QString()));
        m_shownRows = rows();
        endInsertRows();
    } else if (n < old) {
        beginRemoveRows({}, n, old - 1);
        m_rows.resize(size_t(n));
        m_shownRows = rows();
        endRemoveRows();
    }
    m_fixedRows = std::min(m_fixedRows, n);
}

void FlexGridModel::setCols(int n)
{
    if (n < 0)
        throw AppError(30010, QStringLiteral("Ungültiger Col-Wert"));
    reportRows();
    const int old = m_cols;
    if (n > old)
        beginInsertColumns({}, old, n - 1);
    else if (n < old)
        beginRemoveColumns({}, n, old - 1);
    else
        return;
    m_cols = n;
    m_colAlignment.resize(size_t(n), 9);
    for (RowData& r : m_rows) {
        r.cells.resize(size_t(n));
        if (r.formats)
            r.formats->erase(r.formats->lower_bound(n), r.formats->end());
    }
    if (n > old)
        endInsertColumns();
    else
        endRemoveColumns();
    m_fixedCols = std::min(m_fixedCols, n);
}

void FlexGridModel::setFixedRows(int n)
{
    if (n < 0 || n > rows())
        throw AppError(30011, QStringLiteral("Ungültiger FixedRows-Wert"));
    reportRows();
    m_fixedRows = n;
    refreshAll();
}

void FlexGridModel::setFixedCols(int n)
{
    if (n < 0 || n > m_cols)
        throw AppError(30012, QStringLiteral("Ungültiger FixedCols-Wert"));
    reportRows();
    m_fixedCols = n;
    refreshAll();
}

const QString& FlexGridModel::text(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
        return kEmpty;
    return m_rows[size_t(row)].cells[size_t(col)];
}

void FlexGridModel::setText(int row, int col, const QString& text)
{
    checkCell(row, col);
    m_rows[size_t(row)].cells[size_t(col)] = text;
    changed(row, col);
}

void FlexGridModel::changed(int row, int col)
{
    // A list build writes every cell of up to 100,000 rows inside one event;
    // the views are told once, when the event loop runs next, about the
    // rectangle of cells that changed.
    if (!m_changePending) {
        m_changePending = true;
        m_changeTop = m_changeBottom = row;
        m_changeLeft = m_changeRight = col;
        QMetaObject::invokeMethod(this, &FlexGridModel::flushChanges, Qt::QueuedConnection);
    } else {
        m_changeTop = std::min(m_changeTop, row);
        m_changeBottom = std::max(m_changeBottom, row);
        m_changeLeft = std::min(m_changeLeft, col);
        m_changeRight = std::max(m_changeRight, col);
    }
    if (row == 0 && m_fixedRows > 0)
        emit headerDataChanged(Qt::Horizontal, col, col);
    if (col == 0 && m_fixedCols > 0 && row < m_shownRows)
        emit headerDataChanged(Qt::Vertical, row, row);
}

void FlexGridModel::flushChanges()
{
    if (!m_changePending)
        return;
    m_changePending = false;
    reportRows();
    // Rows or columns may have gone since the cells were written.
    const int bottom = std::min(m_changeBottom, rows() - 1);
    const int right = std::min(m_changeRight, m_cols - 1);
    if (m_changeTop <= bottom && m_changeLeft <= right)
        emit dataChanged(index(m_changeTop, m_changeLeft), index(bottom, right));
}

void FlexGridModel::appendRow(const QString& tabbedText) { insertRow(rows(), tabbedText); }

void FlexGridModel::insertRow(int row, const QString& tabbedText)
{
    if (row < 0 || row > rows())
        throw AppError(30009, QStringLiteral("Ungültiger Row-Wert"));
    RowData r = makeRow(tabbedText);
    if (m_appendBatch > 0 && row == rows()) {
        // Telling the views once per row would cost a tenth of a list build.
        m_rows.push_back(std::move(r));
        if (m_shownRows == rows() - 1)
            QMetaObject::invokeMethod(this, &FlexGridModel::reportRows, Qt::QueuedConnection);
        return;
    }
    reportRows();
    beginInsertRows({}, row, row);
    m_rows.insert(m_rows.begin() + row, std::move(r));
    m_shownRows = rows();
    endInsertRows();
}

void FlexGridModel::endAppendBatch()
{
    if (m_appendBatch > 0 && --m_appendBatch == 0)
        reportRows();
}

void FlexGridModel::reportRows()
{
    if (m_shownRows >= rows())
        return;
    beginInsertRows({}, m_shownRows, rows() - 1);
    m_shownRows = rows();
    endInsertRows();
}

void FlexGridModel::removeRow(int row)
{
    if (row < 0 || row >= rows())
        throw AppError(30009, QStringLiteral("Ungültiger Row-Wert"));
    if (row >= m_shownRows) {
        // Not yet known to the views.
        m_rows.erase(m_rows.begin() + row);
        m_fixedRows = std::min(m_fixedRows, rows());
        return;
    }
    reportRows();
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    m_shownRows = rows();
    endRemoveRows();
    m_fixedRows = std::min(m_fixedRows, rows());
}

void FlexGridModel::clearCells()
{
    reportRows();
    for (RowData& r : m_rows) {
        for (QString& s : r.cells)
            s = QString();
        r.formats.reset();
    }
    refreshAll();
}

void FlexGridModel::refreshAll()
{
    reportRows();
    if (rows() > 0 && m_cols > 0) {
        emit dataChanged(index(0, 0), index(rows() - 1, m_cols - 1));
        emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
        emit headerDataChanged(Qt::Vertical, 0, rows() - 1);
    }
}

const FlexGridModel::CellFormat* FlexGridModel::format(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
        return nullptr;
    const auto& formats = m_rows[size_t(row)].formats;
    if (!formats)
        return nullptr;
    auto it = formats->find(col);
    return it == formats->end() ? nullptr : &it->second;
}

FlexGridModel::CellFormat& FlexGridModel::editFormat(int row, int col)
{
    checkCell(row, col);
    auto& formats = m_rows[size_t(row)].formats;
    if (!formats)
        formats = std::make_unique<std::map<int, CellFormat>>();
    return (*formats)[col];
}

int FlexGridModel::colAlignment(int col) const
{
    return col >= 0 && col < int(m_colAlignment.size()) ? m_colAlignment[size_t(col)] : 9;
}

void FlexGridModel::setColAlignment(int col, int alignment)
{
    if (col < 0 || col >= m_cols)
        throw AppError(30010, QStringLiteral("Ungültiger Col-Wert"));
    reportRows();
    m_colAlignment[size_t(col)] = alignment;
    if (rows() > 0)
        emit dataChanged(index(0, col), index(rows() - 1, col), {Qt::TextAlignmentRole});
}

void FlexGridModel::sortByColumn(int col)
{
    if (col < 0 || col >= m_cols)
        throw AppError(30010, QStringLiteral("Ungültiger Col-Wert"));
    reportRows();
    const int first = m_fixedRows;
    const int n = rows() - first;
    if (n < 2)
        return;

    // Letters with accents sort with their base letter ("Äpfel" before "Birne"),
    // case aside; the keys are computed once per row instead of once per comparison.
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    static const AsciiRanks ascii(collator);

    // The column's texts side by side in one block: the rows and their cells
    // lie all over the heap, and every comparison below would otherwise wait
    // for three of them to be read from memory.
    std::vector<qsizetype> start(size_t(n) + 1, 0);
    for (int i = 0; i < n; ++i)
        start[size_t(i) + 1] = start[size_t(i)] + m_rows[size_t(first + i)].cells[size_t(col)].size();
    std::vector<char16_t> chars(static_cast<size_t>(start.back()));
    for (int i = 0; i < n; ++i) {
        const QString& text = m_rows[size_t(first + i)].cells[size_t(col)];
        std::copy(text.utf16(), text.utf16() + text.size(), chars.begin() + start[size_t(i)]);
    }
    auto cell = [&](int i) {
        return QStringView(chars.data() + start[size_t(i)], start[size_t(i) + 1] - start[size_t(i)]);
    };

    // Texts of printable ASCII sort by their rank strings, the others by
    // collation keys; the two sorted runs are then merged by the collator,
    // ties in the rows' old order.
    std::vector<int> plain, other;
    std::string rankKeys(ascii.usable ? chars.size() : 0, '\0');
    auto rankKey = [&](int i) {
        return std::string_view(rankKeys.data() + start[size_t(i)], size_t(start[size_t(i) + 1] - start[size_t(i)]));
    };
    for (int i = 0; i < n; ++i)
        (ascii.usable && ascii.key(cell(i), rankKeys.data() + start[size_t(i)]) ? plain : other).push_back(i);
    std::stable_sort(plain.begin(), plain.end(), [&](int a, int b) { return rankKey(a) < rankKey(b); });
    rankKeys = {};
    {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(other.size());
        for (int i : other) {
            const QStringView text = cell(i);
            keys.push_back(collator.sortKey(QString::fromRawData(reinterpret_cast<const QChar*>(text.utf16()),
                                                                 text.size())));
        }
        std::vector<int> byKey(other.size());
        std::iota(byKey.begin(), byKey.end(), 0);
        std::stable_sort(byKey.begin(), byKey.end(),
                         [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
        for (int& i : byKey)
            i = other[size_t(i)];
        other = std::move(byKey);
    }
    std::vector<int> order;
    order.reserve(size_t(n));
    std::merge(plain.begin(), plain.end(), other.begin(), other.end(), std::back_inserter(order), [&](int a, int b) {
        const int c = collator.compare(cell(a), cell(b));
        return c < 0 || (c == 0 && a < b);
    });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<RowData> sorted;
    sorted.reserve(size_t(n));
    std::vector<int> newPos(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        sorted.push_back(std::move(m_rows[size_t(first + order[size_t(i)])]));
        newPos[size_t(order[size_t(i)])] = first + i;
    }
    std::move(sorted.begin(), sorted.end(), m_rows.begin() + first);

    // Views keep their per-row state (hidden rows, heights) with the moved rows.
    const QModelIndexList persistent = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (const QModelIndex& i : persistent)
        moved.append(i.row() >= first ? index(newPos[size_t(i.row() - first)], i.column()) : i);
    changePersistentIndexList(persistent, moved);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
