#include "platform/Printer.h"

#include "platform/AppError.h"
#include "platform/Twips.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

namespace {

QString& outputFileOverride()
{
    static QString path;
    return path;
}

constexpr int kErrPrinter = 482;

[[noreturn]] void printerError()
{
    throw AppError(kErrPrinter, QStringLiteral("Printer error"));
}

} // namespace

Printer::Printer() : m_device(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    reapplyOutputFile();
}

Printer::~Printer()
{
    // A document left open by a failure is thrown away, never half printed.
    if (m_painter)
        KillDoc();
}

QPrinter& Printer::device() { return *m_device; }

void Printer::setOutputFile(const QString& pdfPath) { outputFileOverride() = pdfPath; }
QString Printer::outputFile() { return outputFileOverride(); }

void Printer::reapplyOutputFile()
{
    if (outputFileOverride().isEmpty() || m_painter)
        return;
    m_device->setOutputFormat(QPrinter::PdfFormat);
    m_device->setOutputFileName(outputFileOverride());
}

void Printer::setFontName(const QString& name) { m_fontName = name; }
void Printer::setFontSize(double points) { m_fontSize = points; }
void Printer::setFontBold(bool bold) { m_fontBold = bold; }

QFont Printer::font() const { return Twips::designFont(m_fontName, m_fontSize, m_fontBold); }

// Device pixels of the printer <-> twips, by the printer's own resolution.
double Printer::toTwipsX(double pixels) const { return pixels * 1440.0 / m_device->logicalDpiX(); }
double Printer::toTwipsY(double pixels) const { return pixels * 1440.0 / m_device->logicalDpiY(); }
double Printer::toPixelsX(double twips) const { return twips * m_device->logicalDpiX() / 1440.0; }
double Printer::toPixelsY(double twips) const { return twips * m_device->logicalDpiY() / 1440.0; }

double Printer::ScaleWidth() const { return toTwipsX(m_device->pageRect(QPrinter::DevicePixel).width()); }
double Printer::ScaleHeight() const { return toTwipsY(m_device->pageRect(QPrinter::DevicePixel).height()); }

double Printer::TextWidth(const QString& text) const
{
    return toTwipsX(QFontMetricsF(font(), m_device.get()).horizontalAdvance(text));
}

double Printer::TextHeight(const QString& text) const
{
    // Single lines only: the printed texts never hold a line break.
    Q_UNUSED(text);
    return toTwipsY(QFontMetricsF(font(), m_device.get()).lineSpacing());
}

void Printer::ensureDocument()
{
    if (m_painter)
        return;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_device.get()))
        printerError();
    m_painter = std::move(painter);
    m_pages = 1;
}

void Printer::Print(const QString& text)
{
    ensureDocument();
    const QFont f = font();
    m_painter->setFont(f);
    m_painter->setPen(Qt::black);
    const QFontMetricsF fm(f, m_device.get());
    if (!text.isEmpty())
        m_painter->drawText(QPointF(toPixelsX(CurrentX), toPixelsY(CurrentY) + fm.ascent()), text);
    CurrentX = 0;
    CurrentY += toTwipsY(fm.lineSpacing());
}

void Printer::NewPage()
{
    ensureDocument();
    if (!m_device->newPage())
        printerError();
    ++m_pages;
    CurrentX = 0;
    CurrentY = 0;
}

void Printer::EndDoc()
{
    if (!m_painter)
        return;
    const bool ok = m_painter->end();
    m_painter.reset();
    CurrentX = 0;
    CurrentY = 0;
    if (!ok)
        printerError();
}

void Printer::KillDoc()
{
    if (!m_painter)
        return;
    m_device->abort();
    m_painter->end();
    m_painter.reset();
    CurrentX = 0;
    CurrentY = 0;
    // A file of our own holds a partial document now; it is no document.
    if (m_device->outputFormat() == QPrinter::PdfFormat && !m_device->outputFileName().isEmpty())
        QFile::remove(m_device->outputFileName());
}
