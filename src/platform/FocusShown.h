#pragma once
// Controls that show they have the keyboard focus where the style alone
// shows nothing: a list box without entries (the focus is drawn on an item),
// and the default push button (the style draws a default button as it draws
// a focused one). Both draw the style's focus rectangle, as its items do,
// while the focus came by the keyboard.
#include <QListWidget>
#include <QPushButton>

class FocusListBox : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

class FocusButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
