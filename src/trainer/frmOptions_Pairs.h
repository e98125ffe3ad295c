#pragma once
// The options window's page of equal-character pairs: the members of
// frmOptions that build and run it are in frmOptions_Pairs.cpp, the rest of
// the window in frmOptions.cpp. Both place their controls with these.
#include "platform/Twips.h"

#include <QLabel>
#include <QString>

namespace OptionsWindow {

inline QLabel* multiLineLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

template <class T>
T* control(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h)
{
    auto* c = new T(text, parent);
    c->setObjectName(name);
    Twips::place(c, l, t, w, h);
    return c;
}

} // namespace OptionsWindow
