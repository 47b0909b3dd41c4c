#pragma once
// Another printer than the default one for the slip: chosen in Qt's print dialog. Tests put a
// chooser of their own in place of the dialog.
#include <QString>

#include <functional>

class QWidget;

// Asks for a printer, starting from the proposed one (the default printer when it is empty or
// no longer there); returns its name, empty when the user cancels.
using PrinterChooser = std::function<QString(QWidget* parent, const QString& proposedPrinter)>;

// Installs a chooser in place of the print dialog and returns the one it replaces; an empty
// chooser puts the dialog back.
PrinterChooser SetPrinterChooser(PrinterChooser chooser);

QString ChooseOtherPrinter(QWidget* parent, const QString& proposedPrinter);
