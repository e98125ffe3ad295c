#pragma once
// The printer dialog of the main window: the user picks the printer that the
// Printer prints to, the pages and the number of copies. Cancel is reported
// as an error (like a dialog with CancelError on), so the caller decides
// whether that ends its work.
class Printer;
class QWidget;

namespace PrinterDialog {

// Number and text of the error a cancelled dialog raises.
constexpr int kErrCancel = 32755;

// Shows the dialog modal through the MessageService; throws AppError
// kErrCancel when the user cancels it.
void ShowPrinter(Printer& printer, QWidget* parent = nullptr);

} // namespace PrinterDialog
