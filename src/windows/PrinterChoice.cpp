#include "windows/PrinterChoice.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// Only the printer is taken from the dialog: the slip is always one copy of one page, and a
// file is what "Salva come PDF…" is for.
QString PrintDialog(QWidget* parent, const QString& proposedPrinter) {
    const QPrinterInfo proposed = QPrinterInfo::printerInfo(proposedPrinter);
    QPrinter printer(proposed.isNull() ? QPrinterInfo::defaultPrinter() : proposed,
                     QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Stampa su un'altra stampante"));
    dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
    if (dialog.exec() != QDialog::Accepted || printer.outputFormat() != QPrinter::NativeFormat)
        return QString();
    return printer.printerName();
}

PrinterChooser& CurrentChooser() {
    static PrinterChooser current = PrintDialog;
    return current;
}

} // namespace

PrinterChooser SetPrinterChooser(PrinterChooser replacement) {
    PrinterChooser previous = std::move(CurrentChooser());
    CurrentChooser() = replacement ? std::move(replacement) : PrinterChooser(PrintDialog);
    return previous;
}

QString ChooseOtherPrinter(QWidget* parent, const QString& proposedPrinter) {
    return CurrentChooser()(parent, proposedPrinter);
}
