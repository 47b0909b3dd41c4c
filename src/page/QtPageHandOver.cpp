#include "page/QtPageHandOver.h"

#include "page/SlipPainter.h"

#include <QPrinter>

PageHandOver HandPageToQtPrinter(const QPrinterInfo& info, const QString& documentName,
                                 const PagePaint& paint) {
    if (info.isNull())
        return PageHandOver::NoPrinter;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return PageHandOver::NoPrinter;
    printer.setDocName(documentName);
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFullPage(true);
    if (!PrepareSlipPage(printer) || !paint(printer) || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted)
        return PageHandOver::Refused;
    return PageHandOver::HandedOver;
}
