#include "windows/PrinterChoice.h"

#include "base/Seam.h"

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

Seam<PrinterChooser>& Chooser() {
    static Seam<PrinterChooser> seam(PrintDialog);
    return seam;
}

} // namespace

PrinterChooser SetPrinterChooser(PrinterChooser replacement) {
    return Chooser().Replace(std::move(replacement));
}

QString ChooseOtherPrinter(QWidget* parent, const QString& proposedPrinter) {
    return Chooser().Current()(parent, proposedPrinter);
}
