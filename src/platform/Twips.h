#pragma once
// The one place that converts twips (1440 to the inch) to pixels and back,
// by the screen's logical DPI.
#include <QFont>
#include <QRect>

class QWidget;

namespace Twips {

double logicalDpiX();
double logicalDpiY();
int toPixelsX(double twips);
int toPixelsY(double twips);
int fromPixelsX(int pixels);
int fromPixelsY(int pixels);
QRect rect(double left, double top, double width, double height); // twips -> pixels
QSize size(double width, double height);
// Computed sizes are stored as whole twips, halves to even.
int roundTw(double v);
// Places a control at a design position given in twips.
void place(QWidget* widget, double left, double top, double width, double height);
// Twips per pixel, as the screen reports them (TwipsPerPixelX/Y).
double twipsPerPixelX();
double twipsPerPixelY();

// Fonts named in the window designs: "MS Sans Serif" is the system sans font,
// "Arial" is Liberation Sans.
QFont designFont(const QString& name, double pointSize, bool bold = false);

} // namespace Twips
