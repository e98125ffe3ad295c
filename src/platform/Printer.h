#pragma once
// The printer as the windows use it: a font (name, size, bold), a current
// position (CurrentX, CurrentY), the printable area (ScaleWidth,
// ScaleHeight), text measures, printing one line, NewPage and EndDoc, all in
// twips (1440 to the inch) measured from the top left of the printable area.
//
// The document starts with the first output and ends with EndDoc (or
// KillDoc). A failure of the printer throws AppError 482.
#include <QFont>
#include <QString>

#include <memory>

class QPrinter;
class QPainter;

class Printer {
public:
    Printer();
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The device the printer dialog configures.
    QPrinter& device();

    // Every printer created while this is set prints into this PDF file
    // instead of the chosen printer (tests, and the print-to-file case).
    // An empty path restores printing to the chosen printer.
    static void setOutputFile(const QString& pdfPath);
    static QString outputFile();
    // Puts the output file above into effect again (after a printer dialog
    // chose a printer); does nothing without one or once the document runs.
    void reapplyOutputFile();

    // Font, applied to the next measures and output.
    QString FontName() const { return m_fontName; }
    void setFontName(const QString& name);
    double FontSize() const { return m_fontSize; }
    void setFontSize(double points);
    bool FontBold() const { return m_fontBold; }
    void setFontBold(bool bold);

    double CurrentX = 0;
    double CurrentY = 0;

    // Printable width and height of the page.
    double ScaleWidth() const;
    double ScaleHeight() const;
    // Width and height of a text in the current font (height = one line).
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;

    // Prints text with its top at CurrentY and its start at CurrentX, then
    // moves to the start of the next line (CurrentX 0, CurrentY one line lower).
    void Print(const QString& text);
    void NewPage();
    void EndDoc();
    // Ends an unfinished document without completing it.
    void KillDoc();

    bool documentStarted() const { return m_painter != nullptr; }
    int pagesStarted() const { return m_pages; }

private:
    QFont font() const;
    double toTwipsX(double pixels) const;
    double toTwipsY(double pixels) const;
    double toPixelsX(double twips) const;
    double toPixelsY(double twips) const;
    void ensureDocument();

    std::unique_ptr<QPrinter> m_device;
    std::unique_ptr<QPainter> m_painter;
    QString m_fontName = QStringLiteral("Arial");
    double m_fontSize = 8.25;
    bool m_fontBold = false;
    int m_pages = 0;
};
