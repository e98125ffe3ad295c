#include "platform/Twips.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace Twips {

double logicalDpiX()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}
double logicalDpiY()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}
int toPixelsX(double twips) { return int(std::lround(twips * logicalDpiX() / 1440.0)); }
int toPixelsY(double twips) { return int(std::lround(twips * logicalDpiY() / 1440.0)); }
int fromPixelsX(int pixels) { return int(std::lround(pixels * 1440.0 / logicalDpiX())); }
int fromPixelsY(int pixels) { return int(std::lround(pixels * 1440.0 / logicalDpiY())); }
double twipsPerPixelX() { return 1440.0 / logicalDpiX(); }
double twipsPerPixelY() { return 1440.0 / logicalDpiY(); }

int roundTw(double v) { return int(std::lrint(v)); }

QRect rect(double left, double top, double width, double height)
{
    return QRect(toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height));
}
QSize size(double width, double height) { return QSize(toPixelsX(width), toPixelsY(height)); }

void place(QWidget* widget, double left, double top, double width, double height)
{
    widget->setGeometry(rect(left, top, width, height));
}

QFont designFont(const QString& name, double pointSize, bool bold)
{
    QFont f = name.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0
                  ? QFont(QStringLiteral("Liberation Sans"))
                  : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

} // namespace Twips
