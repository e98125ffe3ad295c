#include "platform/PrinterDialog.h"

#include "platform/AppError.h"
#include "platform/MessageService.h"
#include "platform/Printer.h"

#include <QDialog>
#include <QPrintDialog>

namespace PrinterDialog {

void ShowPrinter(Printer& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer.device(), parent);
    // Only the printer is taken from the dialog; page ranges and the like
    // would not be honoured, so they are not offered.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    const int result = MessageService::instance().execModal(&dialog);
    if (result != QDialog::Accepted)
        throw AppError(kErrCancel, QStringLiteral("Cancel was selected."));
    printer.reapplyOutputFile();
}

} // namespace PrinterDialog
