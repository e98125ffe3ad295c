#include "platform/PrinterDialog.h"

#include "engine/AppError.h"
#include "platform/MessageService.h"
#include "platform/Printer.h"
#include "engine/UiLanguage.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

namespace PrinterDialog {
namespace {

// The printer or the output file the learner chose last: the next print job
// starts with it, for as long as the program runs.
struct Choice {
    bool made = false;
    QPrinter::OutputFormat format = QPrinter::NativeFormat;
    QString printerName;
    QString outputFile;
};
Choice& lastChoice()
{
    static Choice choice;
    return choice;
}

// Qt checks the output file when OK is pressed and calls a file in a folder
// that does not exist write-protected; the learner is told first that the
// folder is missing, and the dialog stays open as after Qt's own check.
class PrintDialog : public QPrintDialog {
public:
    PrintDialog(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent)
    {
        auto* buttons = findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
        if (!buttons)
            return;
        disconnect(buttons, &QDialogButtonBox::accepted, this, nullptr);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            if (folderMissing())
                return;
            // Qt's own checks of the fields, then accept.
            if (!QMetaObject::invokeMethod(this, "_q_checkFields"))
                accept();
        });
    }

private:
    bool folderMissing()
    {
        const auto* file = findChild<QLineEdit*>(QStringLiteral("filename"));
        if (!file || !file->isEnabled() || file->text().isEmpty())
            return false;
        const QFileInfo folder(QFileInfo(file->text()).absolutePath());
        if (folder.isDir())
            return false;
        MsgBox(tr2(QStringLiteral("The folder \"%1\" does not exist.\nPlease choose another folder for the file."),
                   QStringLiteral("Den Ordner \"%1\" gibt es nicht.\nBitte wählen Sie einen anderen Ordner für die "
                                  "Datei."))
                   .arg(QDir::toNativeSeparators(folder.filePath())),
               MsgStyle::Exclamation, windowTitle());
        return true;
    }
};

} // namespace

void ShowPrinter(Printer& printer, QWidget* parent)
{
    QPrinter& device = printer.device();
    if (const Choice& last = lastChoice(); last.made) {
        device.setOutputFormat(last.format);
        if (last.format == QPrinter::PdfFormat)
            device.setOutputFileName(last.outputFile);
        else
            device.setPrinterName(last.printerName);
    }
    PrintDialog dialog(&device, parent);
    // The Printer honours a page range and copies (collated or not); a
    // selection or a "current page" has no meaning for the list.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    const int result = MessageService::instance().execModal(&dialog);
    if (result != QDialog::Accepted)
        throw AppError(kErrCancel, QStringLiteral("Cancel was selected."));
    lastChoice() = {true, device.outputFormat(), device.printerName(), device.outputFileName()};
    printer.reapplyOutputFile();
}

} // namespace PrinterDialog
