#include "selection/LstFkt.h"

#include "common/TextProcs.h"
#include "mainwindow/Forms.h"
#include "platform/Twips.h"
#include "selection/Form2.h"

#include <QListWidget>
#include <QScrollBar>
#include <QVariant>
#include <cmath>

namespace {

const char* const kExtentProperty = "horizontalExtent";

// The last extent computed (twips, then pixels before it is applied).
long g_extent = 0;

// Whole numbers with halves to even, as the platform rounded.
long roundHalfEven(double v) { return std::lrint(v); }

} // namespace

bool SortedListItem::operator<(const QListWidgetItem& other) const
{
    const int c = QString::compare(text(), other.text(), Qt::CaseInsensitive);
    if (c != 0) {
        const int lc = QString::localeAwareCompare(text().toLower(), other.text().toLower());
        return lc != 0 ? lc < 0 : c < 0;
    }
    return text() < other.text();
}

int ListIndex(const QListWidget* lst)
{
    const QList<QListWidgetItem*> sel = lst->selectedItems();
    return sel.isEmpty() ? -1 : lst->row(sel.first());
}

int AddSortedItem(QListWidget* lst, const QString& text)
{
    auto* item = new SortedListItem(text);
    lst->addItem(item);
    return lst->row(item);
}

void MoveListItem(QListWidget* src, QListWidget* dst)
{
    const int index = ListIndex(src);
    if (index < 0 || index >= src->count())
        return;
    const QString item = src->item(index)->text();
    AddSortedItem(dst, item);
    for (int i = 0; i < dst->count(); ++i) {
        if (dst->item(i)->text() == item) {
            dst->setCurrentRow(i, QItemSelectionModel::ClearAndSelect);
            break;
        }
    }
    delete src->takeItem(index);
    src->clearSelection();
    src->setCurrentItem(nullptr);
    SetHorizontalExtent(src);
    SetHorizontalExtent(dst);
}

void SetHorizontalExtent(QListWidget* lst)
{
    const QWidget* measure = &Forms::form2();
    g_extent = roundHalfEven(Twips::fromPixelsX(lst->width()));
    long widest = g_extent;
    for (int i = 0; i < lst->count(); ++i) {
        const long w = roundHalfEven(TextWidthTwips(lst->item(i)->text() + QStringLiteral("  "), measure));
        if (w > widest)
            widest = w;
    }
    if (g_extent >= widest)
        return;
    g_extent = roundHalfEven(double(widest) / Twips::twipsPerPixelX());
    // The list view scrolls by itself once an item is wider than the viewport;
    // it only needs a scroll bar that may appear and items that report their width.
    lst->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lst->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    lst->setProperty(kExtentProperty, QVariant::fromValue(int(g_extent)));
    lst->doItemsLayout();
}

int HorizontalExtent(const QListWidget* lst)
{
    const QVariant v = lst->property(kExtentProperty);
    return v.isValid() ? v.toInt() : 0;
}
