#include "trainer/TrainerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace TrainerIcons {

namespace {

QPixmap blank()
{
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    return pm;
}

void monitor(QPainter& p, bool wideBase)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(2, 1, 13, 10);
    p.setBrush(QColor(255, 255, 0));
    p.drawRect(4, 3, 9, 6);
    p.setBrush(QColor(128, 128, 128));
    if (wideBase) {
        p.drawRect(1, 12, 15, 4);
    } else {
        p.drawRect(7, 12, 3, 2);
        p.drawRect(5, 14, 7, 2);
    }
}

void arrowArc(QPainter& p, const QColor& color, int startDeg)
{
    QPen pen(color, 2);
    p.setPen(pen);
    const QRectF r(3, 3, 12, 12);
    p.drawArc(r, startDeg * 16, 100 * 16);
    // A small head at the end of the arc.
    const double end = (startDeg + 100) * M_PI / 180.0;
    const QPointF tip(9 + 6 * std::cos(end), 9 - 6 * std::sin(end));
    p.setBrush(color);
    p.setPen(Qt::NoPen);
    const QPointF dir(-std::sin(end), -std::cos(end)); // tangent, clockwise
    const QPointF normal(std::cos(end), -std::sin(end));
    QPolygonF head;
    head << tip - dir * 3 << tip + normal * 3 << tip - normal * 3;
    p.drawPolygon(head);
}

} // namespace

QIcon toolbar(int index)
{
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (index) {
    case 1: // straight diagonal line: list order
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(2, 15, 15, 2);
        break;
    case 2: { // jagged line: shuffled
        p.setPen(QPen(Qt::black, 2));
        const QPointF pts[] = {{2, 14}, {6, 4}, {9, 12}, {12, 3}, {16, 10}};
        p.drawPolyline(pts, 5);
        break;
    }
    case 3: { // scattered dots: random
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const QPointF pts[] = {{3, 4}, {11, 2}, {7, 8}, {15, 9}, {3, 14}, {12, 15}};
        for (const QPointF& c : pts)
            p.drawEllipse(c, 1.6, 1.6);
        break;
    }
    case 5:
        p.setRenderHint(QPainter::Antialiasing, false);
        monitor(p, true);
        break;
    case 6:
        p.setRenderHint(QPainter::Antialiasing, false);
        monitor(p, false);
        break;
    case 8: // clipboard: self-test
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::black);
        p.setBrush(QColor(160, 110, 50));
        p.drawRect(3, 2, 12, 15);
        p.setBrush(Qt::white);
        p.drawRect(5, 4, 8, 11);
        p.setBrush(QColor(128, 128, 128));
        p.drawRect(7, 1, 4, 2);
        p.drawLine(6, 7, 11, 7);
        p.drawLine(6, 10, 11, 10);
        p.drawLine(6, 13, 9, 13);
        break;
    case 9: // circle of three arrows: loop
        arrowArc(p, QColor(0, 160, 0), 90);
        arrowArc(p, QColor(220, 0, 0), 210);
        arrowArc(p, QColor(0, 0, 220), 330);
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pm);
}

QIcon navigation(Navigation which)
{
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    auto left = [&](double x) { p.drawPolygon(QPolygonF({QPointF(x, 9), QPointF(x + 7, 3), QPointF(x + 7, 15)})); };
    auto right = [&](double x) { p.drawPolygon(QPolygonF({QPointF(x + 7, 9), QPointF(x, 3), QPointF(x, 15)})); };
    switch (which) {
    case ToBeginning:
        p.drawRect(QRectF(4, 3, 2, 12));
        left(7);
        break;
    case OneBack:
        left(5);
        break;
    case OneForward:
        right(6);
        break;
    case ToEnd:
        right(4);
        p.drawRect(QRectF(12, 3, 2, 12));
        break;
    case Step: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 1.2));
        const QPointF pts[] = {{2, 7}, {9, 7}, {9, 3}, {16, 9}, {9, 15}, {9, 11}, {2, 11}};
        p.drawPolygon(pts, 7);
        break;
    }
    }
    p.end();
    return QIcon(pm);
}

} // namespace TrainerIcons
