#include "platform/PrinterDialog.h"

#include "engine/AppError.h"
#include "platform/MessageService.h"
#include "platform/Printer.h"

#include <QDialog>
#include <QPrintDialog>

namespace PrinterDialog {

void ShowPrinter(Printer& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer.device(), parent);
    // The Printer honours a page range and copies (collated or not); a
    // selection or a "current page" has no meaning for the list.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    const int result = MessageService::instance().execModal(&dialog);
    if (result != QDialog::Accepted)
        throw AppError(kErrCancel, QStringLiteral("Cancel was selected."));
    printer.reapplyOutputFile();
}

} // namespace PrinterDialog
