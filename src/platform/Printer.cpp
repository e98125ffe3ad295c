#include "platform/Printer.h"

#include "engine/AppError.h"
#include "engine/UiLanguage.h"
#include "platform/Twips.h"
#include "engine/WriteCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <utility>

namespace {

QString& outputFileOverride()
{
    static QString path;
    return path;
}

constexpr int kErrPrinter = 482;

} // namespace

Printer::Printer() : m_device(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // The first page is laid out from the start.
    m_pages = 1;
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

bool Printer::pageChosen(int page) const
{
    if (m_device->printRange() != QPrinter::PageRange)
        return true;
    const QPageRanges ranges = m_device->pageRanges();
    return ranges.isEmpty() || ranges.contains(page);
}

QString Printer::chosenPages() const
{
    return m_device->printRange() == QPrinter::PageRange ? m_device->pageRanges().toString() : QString();
}

int Printer::copiesToMake() const
{
    // A printer that makes the copies itself has been given the count.
    return m_device->supportsMultipleCopies() ? 1 : std::max(1, m_device->copyCount());
}

QString Printer::target() const
{
    if (m_device->outputFormat() == QPrinter::PdfFormat)
        return tr2(QStringLiteral("to the file \"%1\""), QStringLiteral("in die Datei \"%1\""))
            .arg(QDir::toNativeSeparators(m_device->outputFileName()));
    return tr2(QStringLiteral("on the printer \"%1\""), QStringLiteral("auf dem Drucker \"%1\"")).arg(m_device->printerName());
}

void Printer::fail() const
{
    QString reason;
    if (m_device->outputFormat() == QPrinter::PdfFormat) {
        const QString file = m_device->outputFileName();
        reason = file.isEmpty()
                     ? tr2(QStringLiteral("no file was chosen"), QStringLiteral("es wurde keine Datei gewählt"))
                     : WriteCheck::whyNotCreatable(file, 0);
        if (reason.isEmpty())
            reason = tr2(QStringLiteral("the file could not be written"),
                         QStringLiteral("die Datei konnte nicht geschrieben werden"));
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(m_device->printerName());
        if (info.isNull())
            reason = tr2(QStringLiteral("the printer is not set up"), QStringLiteral("der Drucker ist nicht eingerichtet"));
        else if (info.state() == QPrinter::Error)
            reason = tr2(QStringLiteral("the printer reports an error"), QStringLiteral("der Drucker meldet einen Fehler"));
        else
            reason = tr2(QStringLiteral("the printing system gave no reason"),
                         QStringLiteral("das Drucksystem nennt keinen Grund"));
    }
    throw AppError(kErrPrinter, tr2(QStringLiteral("Printing %1 failed: %2."),
                                    QStringLiteral("Der Ausdruck %1 ist fehlgeschlagen: %2."))
                                    .arg(target(), reason));
}

bool Printer::buffered() const { return m_device->pageOrder() == QPrinter::LastPageFirst || copiesToMake() > 1; }

// A new sheet of paper; the first one begins the document.
void Printer::newSheet()
{
    if (!m_painter) {
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(m_device.get()))
            fail();
        m_painter = std::move(painter);
    } else if (!m_device->newPage()) {
        fail();
    }
}

void Printer::draw(const Line& line)
{
    m_painter->setFont(line.font);
    m_painter->setPen(Qt::black);
    m_painter->drawText(line.at, line.text);
}

// A page of the chosen range gets its sheet with its first line, or is kept
// for the end of the document when pages are reversed or copied.
void Printer::openPage()
{
    if (m_pageOpen)
        return;
    m_pageOpen = true;
    ++m_printed;
    if (!buffered())
        newSheet();
}

void Printer::closePage()
{
    if (!m_pageOpen)
        return;
    m_pageOpen = false;
    if (buffered())
        m_document.append(std::exchange(m_pageLines, {}));
}

void Printer::Print(const QString& text)
{
    const QFont f = font();
    const QFontMetricsF fm(f, m_device.get());
    if (pageChosen(m_pages)) {
        openPage();
        if (!text.isEmpty()) {
            const Line line{f, QPointF(toPixelsX(CurrentX), toPixelsY(CurrentY) + fm.ascent()), text};
            if (buffered())
                m_pageLines.append(line);
            else
                draw(line);
        }
    }
    CurrentX = 0;
    CurrentY += toTwipsY(fm.lineSpacing());
}

void Printer::NewPage()
{
    closePage();
    ++m_pages;
    CurrentX = 0;
    CurrentY = 0;
}

void Printer::EndDoc()
{
    closePage();
    CurrentX = 0;
    CurrentY = 0;
    if (buffered()) {
        // Collated copies repeat the document, the others each page.
        QList<QList<Line>> pages = std::exchange(m_document, {});
        if (m_device->pageOrder() == QPrinter::LastPageFirst)
            std::reverse(pages.begin(), pages.end());
        const int copies = copiesToMake();
        const bool collate = m_device->collateCopies();
        for (int round = 0; round < (collate ? copies : 1); ++round)
            for (const QList<Line>& page : std::as_const(pages))
                for (int c = 0; c < (collate ? 1 : copies); ++c) {
                    newSheet();
                    for (const Line& line : page)
                        draw(line);
                }
    }
    if (!m_painter)
        return; // no page of the chosen range was laid out
    const bool ok = m_painter->end();
    m_painter.reset();
    if (!ok || m_device->printerState() == QPrinter::Error)
        fail();
}

void Printer::KillDoc()
{
    m_pageOpen = false;
    m_pageLines.clear();
    m_document.clear();
    CurrentX = 0;
    CurrentY = 0;
    if (!m_painter)
        return;
    m_device->abort();
    m_painter->end();
    m_painter.reset();
    // A file of our own holds a partial document now; it is no document.
    if (m_device->outputFormat() == QPrinter::PdfFormat && !m_device->outputFileName().isEmpty())
        QFile::remove(m_device->outputFileName());
}
