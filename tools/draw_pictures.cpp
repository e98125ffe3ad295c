// Draws the program's pictures: the ten flags of the language buttons, the
// list's row marker, the splash and main-window pictures and the icon.
// Usage: draw_pictures <output folder>
#include "ToolOptions.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// Flags share one canvas of 5:3, the shape of the picture boxes that show them.
constexpr int kFlagW = 120;
constexpr int kFlagH = 72;

QImage flagCanvas() { return QImage(kFlagW, kFlagH, QImage::Format_RGB32); }

// Scales painter so that the flag can be drawn in its own units (w x h).
void useUnits(QPainter& p, double w, double h)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kFlagW / w, kFlagH / h);
    p.setPen(Qt::NoPen);
}

void rect(QPainter& p, double x, double y, double w, double h, const QColor& c) { p.fillRect(QRectF(x, y, w, h), c); }

// A Nordic cross in units: width w, height h; the upright's left edge at x,
// the bar's top edge at y, both with thickness t.
void nordicCross(QPainter& p, double w, double h, double x, double y, double t, const QColor& field, const QColor& cross)
{
    rect(p, 0, 0, w, h, field);
    rect(p, x, 0, t, h, cross);
    rect(p, 0, y, w, t, cross);
}

QImage denmark()
{
    QImage img = flagCanvas();
    QPainter p(&img);
    useUnits(p, 37, 28);
    nordicCross(p, 37, 28, 12, 12, 4, QColor(0xC8, 0x10, 0x2E), Qt::white);
    return img;
}

QImage finland()
{
    QImage img = flagCanvas();
    QPainter p(&img);
    useUnits(p, 18, 11);
    nordicCross(p, 18, 11, 5, 4, 3, Qt::white, QColor(0x00, 0x2F, 0x6C));
    return img;
}

QImage iceland()
{
    QImage img = flagCanvas();
    QPainter p(&img);
    useUnits(p, 25, 18);
    nordicCross(p, 25, 18, 7, 7, 4, QColor(0x02, 0x52, 0x9C), Qt::white);
    rect(p, 8, 0, 2, 18, QColor(0xDC, 0x1E, 0x35));
    rect(p, 0, 8, 25, 2, QColor(0xDC, 0x1E, 0x35));
    return img;
}

QImage sweden()
{
    QImage img = flagCanvas();
    QPainter p(&img);
    useUnits(p, 16, 10);
    nordicCross(p, 16, 10, 5, 4, 2, QColor(0x00, 0x6A, 0xA7), QColor(0xFE, 0xCC, 0x02));
    return img;
}

QImage tricolour(const QColor& a, const QColor& b, const QColor& c, bool vertical)
{
    QImage img = flagCanvas();
    QPainter p(&img);
    useUnits(p, 3, 3);
    const QColor colours[] = {a, b, c};
    for (int i = 0; i < 3; ++i)
        vertical ? rect(p, i, 0, 1, 3, colours[i]) : rect(p, 0, i, 3, 1, colours[i]);
    return img;
}

QImage unitedKingdom()
{
    QImage img = flagCanvas();
    QPainter p(&img);
    useUnits(p, 60, 30);
    const QColor blue(0x01, 0x21, 0x69), red(0xC8, 0x10, 0x2E);
    rect(p, 0, 0, 60, 30, blue);
    const QPointF centre(30, 15);
    const QPointF corners[] = {{0, 0}, {60, 0}, {60, 30}, {0, 30}};
    // White saltire, 6 wide.
    p.setPen(QPen(Qt::white, 6));
    p.drawLine(corners[0], corners[2]);
    p.drawLine(corners[1], corners[3]);
    p.setPen(Qt::NoPen);
    // Red saltire, 2 wide, counterchanged: in every arm it lies on the side
    // turned clockwise when looking from the centre outwards.
    for (const QPointF& corner : corners) {
        const QPointF d = corner - centre;
        QPointF n(d.y(), -d.x());
        n /= std::hypot(n.x(), n.y());
        n *= 2;
        p.save();
        p.setClipRect(QRectF(std::min(corner.x(), centre.x()), std::min(corner.y(), centre.y()), 30, 15));
        p.setBrush(red);
        p.drawPolygon(QPolygonF{centre, corner, corner + n, centre + n});
        p.restore();
    }
    // St George's cross: white 10 wide, red 6 wide.
    rect(p, 25, 0, 10, 30, Qt::white);
    rect(p, 0, 10, 60, 10, Qt::white);
    rect(p, 27, 0, 6, 30, red);
    rect(p, 0, 12, 60, 6, red);
    return img;
}

QImage spain()
{
    QImage img = flagCanvas();
    QPainter p(&img);
    useUnits(p, 60, 40);
    const QColor red(0xAA, 0x15, 0x1B), yellow(0xF1, 0xBF, 0x00);
    rect(p, 0, 0, 60, 10, red);
    rect(p, 0, 10, 60, 20, yellow);
    rect(p, 0, 30, 60, 10, red);
    // Simplified arms: two pillars, a crown and a quartered shield, centred
    // on the yellow band a third of the way from the hoist.
    const double cx = 20, cy = 20;
    const QColor pillar(0xDD, 0xDD, 0xDD), gold(0xC8, 0x9B, 0x1E), darkRed(0x8C, 0x1B, 0x1E);
    for (double px : {cx - 7.0, cx + 5.5}) {
        rect(p, px, cy - 5, 1.5, 10, pillar);
        rect(p, px - 0.5, cy - 6, 2.5, 1, gold);
        rect(p, px - 0.5, cy + 5, 2.5, 1, gold);
    }
    QPainterPath shield;
    shield.moveTo(cx - 4, cy - 5);
    shield.lineTo(cx + 4, cy - 5);
    shield.lineTo(cx + 4, cy + 2);
    shield.quadTo(cx + 4, cy + 6, cx, cy + 6.5);
    shield.quadTo(cx - 4, cy + 6, cx - 4, cy + 2);
    shield.closeSubpath();
    p.save();
    p.setClipPath(shield);
    rect(p, cx - 4, cy - 5, 4, 5.5, darkRed);
    rect(p, cx, cy - 5, 4, 5.5, QColor(0xF5, 0xF5, 0xF0));
    rect(p, cx - 4, cy + 0.5, 4, 6, gold);
    for (int i = 0; i < 4; ++i)
        rect(p, cx - 3.5 + i, cy + 0.5, 0.5, 6, darkRed);
    rect(p, cx, cy + 0.5, 4, 6, darkRed);
    p.restore();
    p.setPen(QPen(gold, 0.4));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shield);
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawPolygon(QPolygonF{{cx - 4, cy - 5.5},
                            {cx - 4, cy - 8},
                            {cx - 2, cy - 6.8},
                            {cx, cy - 8.8},
                            {cx + 2, cy - 6.8},
                            {cx + 4, cy - 8},
                            {cx + 4, cy - 5.5}});
    return img;
}

QImage portugal()
{
    QImage img = flagCanvas();
    QPainter p(&img);
    useUnits(p, 60, 40);
    const QColor green(0x00, 0x66, 0x00), red(0xFF, 0x00, 0x00), yellow(0xFF, 0xFF, 0x00);
    rect(p, 0, 0, 24, 40, green);
    rect(p, 24, 0, 36, 40, red);
    // Simplified armillary sphere: a yellow ring with its bands.
    const QPointF c(24, 20);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(yellow, 1.6));
    p.drawEllipse(c, 10, 10);
    p.setPen(QPen(yellow, 0.9));
    p.drawEllipse(c, 10, 3.5);
    p.drawLine(QPointF(c.x() - 10, c.y()), QPointF(c.x() + 10, c.y()));
    p.save();
    p.translate(c);
    p.rotate(-25);
    p.drawEllipse(QPointF(0, 0), 10, 3);
    p.restore();
    // Shield: white with a red border and five blue escutcheons.
    QPainterPath shield;
    shield.moveTo(c.x() - 5, c.y() - 6);
    shield.lineTo(c.x() + 5, c.y() - 6);
    shield.lineTo(c.x() + 5, c.y() + 1);
    shield.quadTo(c.x() + 5, c.y() + 6, c.x(), c.y() + 6.5);
    shield.quadTo(c.x() - 5, c.y() + 6, c.x() - 5, c.y() + 1);
    shield.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE0, 0x00, 0x00));
    p.drawPath(shield);
    p.setBrush(Qt::white);
    p.save();
    p.translate(c);
    p.scale(0.72, 0.72);
    p.translate(-c);
    p.drawPath(shield);
    p.restore();
    p.setBrush(QColor(0x00, 0x33, 0x99));
    const QPointF marks[] = {{0, -2.6}, {-2.2, 0}, {0, 0}, {2.2, 0}, {0, 2.6}};
    for (const QPointF& m : marks)
        p.drawRect(QRectF(c + m - QPointF(0.8, 1), QSizeF(1.6, 2)));
    // Castles on the border, shown as small yellow dots.
    p.setBrush(yellow);
    for (int i = 0; i < 7; ++i) {
        const double a = M_PI * (-0.15 + i * 0.217);
        const double r = 0.85;
        const QPointF at(c.x() + 4.3 * r * std::cos(a - M_PI / 2) * 1.0, c.y() + 5.6 * r * std::sin(a - M_PI / 2) + 0.2);
        p.drawEllipse(at, 0.55, 0.55);
    }
    return img;
}

QImage marker()
{
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x10, 0x30, 0x70), 1));
    p.setBrush(QColor(0x20, 0x60, 0xC0));
    p.drawPolygon(QPolygonF{{3.5, 2.5}, {13.5, 8}, {3.5, 13.5}});
    return img;
}

// An open book with a speech bubble above it, in a box of size s at origin o.
void bookAndBubble(QPainter& p, const QPointF& o, double s)
{
    p.save();
    p.translate(o);
    p.scale(s / 100.0, s / 100.0);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor cover(0x1F, 0x4E, 0x8C), page(0xFF, 0xFD, 0xF4), line(0x9A, 0xA8, 0xBC);
    // Book: two pages on a cover.
    p.setPen(Qt::NoPen);
    p.setBrush(cover);
    QPainterPath back;
    back.moveTo(6, 58);
    back.quadTo(28, 50, 50, 60);
    back.quadTo(72, 50, 94, 58);
    back.lineTo(94, 96);
    back.quadTo(72, 88, 50, 98);
    back.quadTo(28, 88, 6, 96);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(page);
    for (int side : {-1, 1}) {
        QPainterPath leaf;
        leaf.moveTo(50, 58);
        leaf.quadTo(50 + side * 22, 47, 50 + side * 40, 54);
        leaf.lineTo(50 + side * 40, 90);
        leaf.quadTo(50 + side * 22, 83, 50, 93);
        leaf.closeSubpath();
        p.drawPath(leaf);
        p.setPen(QPen(line, 2));
        for (int i = 0; i < 4; ++i) {
            const double y = 63 + i * 7;
            p.drawLine(QPointF(50 + side * 8, y), QPointF(50 + side * 33, y - 3));
        }
        p.setPen(Qt::NoPen);
    }
    // Speech bubble with two letters.
    p.setBrush(QColor(0xF2, 0x8C, 0x28));
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(38, 4, 56, 36), 12, 12);
    QPainterPath tail;
    tail.moveTo(52, 38);
    tail.lineTo(46, 52);
    tail.lineTo(64, 38);
    tail.closeSubpath();
    p.drawPath(bubble.united(tail));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(24);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(38, 4, 56, 36), Qt::AlignCenter, QStringLiteral("Aa"));
    p.restore();
}

QImage splash()
{
    QImage img(280, 60, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    bookAndBubble(p, QPointF(6, 2), 56);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(40);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x1F, 0x4E, 0x8C));
    p.drawText(QRectF(70, 0, 206, 60), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Lexuvant"));
    return img;
}

QImage background()
{
    QImage img(340, 284, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 284);
    g.setColorAt(0, QColor(0xF4, 0xF7, 0xFC));
    g.setColorAt(1, QColor(0xDD, 0xE7, 0xF3));
    p.fillRect(img.rect(), g);
    // A quiet pattern of fine diagonal lines.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    for (int x = -284; x < 340; x += 14)
        p.drawLine(QPointF(x, 284), QPointF(x + 284, 0));
    return img;
}

QImage icon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    QLinearGradient g(0, 0, 0, 256);
    g.setColorAt(0, QColor(0xE8, 0xF0, 0xFB));
    g.setColorAt(1, QColor(0xB9, 0xCE, 0xEA));
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x8C), 6));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
    bookAndBubble(p, QPointF(28, 30), 200);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const char* usage = "usage: draw_pictures <output folder>\n";
    if (const int code = handleOptions("draw_pictures", app.arguments().mid(1), usage); code >= 0)
        return code;
    if (argc != 2) {
        std::fprintf(stderr, "%s", usage);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    struct Picture {
        const char* name;
        std::function<QImage()> draw;
        const char* format;
    };
    const Picture pictures[] = {
        {"Dänemark.bmp", denmark, "BMP"},
        {"GB.bmp", unitedKingdom, "BMP"},
        {"Finnland.bmp", finland, "BMP"},
        {"Französisch.bmp",
         [] { return tricolour(QColor(0x00, 0x55, 0xA4), Qt::white, QColor(0xEF, 0x41, 0x35), true); }, "BMP"},
        {"Island.bmp", iceland, "BMP"},
        {"Italien.bmp", [] { return tricolour(QColor(0x00, 0x92, 0x46), Qt::white, QColor(0xCE, 0x2B, 0x37), true); }, "BMP"},
        {"Portugal.bmp", portugal, "BMP"},
        {"Schweden.bmp", sweden, "BMP"},
        {"Spanien.bmp", spain, "BMP"},
        {"Ungarn.bmp", [] { return tricolour(QColor(0xCE, 0x29, 0x39), Qt::white, QColor(0x47, 0x70, 0x50), false); }, "BMP"},
        {"marke.png", marker, "PNG"},
        {"splash.png", splash, "PNG"},
        {"background.png", background, "PNG"},
        {"lexuvant.png", [] { return icon(256); }, "PNG"},
        {"lexuvant-48.png", [] { return icon(48); }, "PNG"},
    };
    int failures = 0;
    for (const Picture& picture : pictures) {
        const QString path = out.filePath(QString::fromUtf8(picture.name));
        if (!picture.draw().save(path, picture.format)) {
            std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
