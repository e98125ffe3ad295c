#pragma once
// The printer as the windows use it: a font (name, size, bold), a current
// position (CurrentX, CurrentY), the printable area (ScaleWidth,
// ScaleHeight), text measures, printing one line, NewPage and EndDoc, all in
// twips (1440 to the inch) measured from the top left of the printable area.
//
// The document starts with the first output and ends with EndDoc (or
// KillDoc). A failure of the printer throws AppError 482 whose text names the
// printer or the output file and the reason.
//
// What the printer dialog chose is honoured: only the pages of the chosen
// range are printed (the layout runs over all of them, so page numbers stay
// those of the whole list), in reverse order when asked, and as many copies
// as asked for, collated or not; a printer that makes copies itself gets the
// document once with the count. Reversed or copied pages are kept until
// EndDoc, which prints them all.
#include <QFont>
#include <QList>
#include <QPointF>
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
    // Puts the output file above into effect again (after a printer dialog
    // chose a printer); does nothing without one or once the document runs.
    void reapplyOutputFile();

    // Font, applied to the next measures and output.
    void setFontName(const QString& name);
    void setFontSize(double points);
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

    // Pages laid out so far (the current one included), printed or not.
    int pagesStarted() const { return m_pages; }
    // Pages of the chosen range that went to the printer (one copy counted).
    int pagesPrinted() const { return m_printed; }
    // The chosen page range as the dialog shows it ("2-3"); empty for all pages.
    QString chosenPages() const;

    // Where the output goes, for messages: "the file ..." or "the printer ...".
    QString target() const;

private:
    // One line of text as printed, kept to print it later or again.
    struct Line {
        QFont font;
        QPointF at;
        QString text;
    };

    QFont font() const;
    double toTwipsX(double pixels) const;
    double toTwipsY(double pixels) const;
    double toPixelsX(double twips) const;
    double toPixelsY(double twips) const;
    bool pageChosen(int page) const;
    int copiesToMake() const;
    bool buffered() const;
    void openPage();
    void closePage();
    void newSheet();
    void draw(const Line& line);
    [[noreturn]] void fail() const;

    std::unique_ptr<QPrinter> m_device;
    std::unique_ptr<QPainter> m_painter;
    QString m_fontName = QStringLiteral("Arial");
    double m_fontSize = 8.25;
    bool m_fontBold = false;
    int m_pages = 0;
    int m_printed = 0;
    bool m_pageOpen = false;       // the current page is a chosen one and has begun
    QList<Line> m_pageLines;       // the current page, when pages are kept
    QList<QList<Line>> m_document; // the kept pages
};
