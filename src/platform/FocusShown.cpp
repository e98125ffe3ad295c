#include "platform/FocusShown.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

namespace {

bool focusByKeyboard(const QWidget& w) { return w.hasFocus() && w.window()->testAttribute(Qt::WA_KeyboardFocusChange); }

void drawFocusRect(const QWidget& w, QPainter& painter, const QRect& rect)
{
    QStyleOptionFocusRect option;
    option.initFrom(&w);
    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    option.rect = rect;
    option.backgroundColor = w.palette().color(w.backgroundRole());
    w.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &w);
}

} // namespace

void FocusListBox::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    if (count() > 0 || !focusByKeyboard(*this))
        return;
    // Where the first entry would be.
    QPainter painter(viewport());
    drawFocusRect(*this, painter, QRect(0, 0, viewport()->width(), fontMetrics().height() + 2));
}

// The view repaints its current item only, and an empty list has none.
void FocusListBox::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    viewport()->update();
}

void FocusListBox::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void FocusButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    if (!isDefault() || !focusByKeyboard(*this))
        return;
    QStyleOptionButton option;
    initStyleOption(&option);
    QPainter painter(this);
    drawFocusRect(*this, painter, style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this));
}
