#pragma once
// Helpers for the two area lists of the selection window: moving the selected
// item from one list to the other, and the horizontal scroll range of a list
// whose widest item does not fit.
#include <QListWidgetItem>

class QListWidget;

// A list item that sorts the way the area lists want it: by the locale's
// text order, case ignored.
class SortedListItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override;
};

// The index of the selected item of lst, -1 when none is selected.
int ListIndex(const QListWidget* lst);

// Adds text at its sorted place in a sorted list and returns its row.
int AddSortedItem(QListWidget* lst, const QString& text);

// Moves the selected item of src to its sorted place in dst and selects it
// there; src is left without a selection. Nothing happens without a selection.
void MoveListItem(QListWidget* src, QListWidget* dst);

// Widens the horizontal scroll range of lst when an item (measured with the
// selection window's font, plus two blanks) is wider than the list. When all
// items fit, nothing is changed, so an earlier range stays.
void SetHorizontalExtent(QListWidget* lst);

// The extent in pixels last applied to lst, 0 when none was applied.
int HorizontalExtent(const QListWidget* lst);
