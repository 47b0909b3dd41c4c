#include "page/SlipPrinting.h"

#include "page/PrintQueueState.h"
#include "page/SlipPainter.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

constexpr int PdfResolution = 1200; // the same dots per inch as a high-resolution printer

bool PaintOnePage(QPagedPaintDevice& device, const SlipReport& report) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PaintSlipReport(painter, report);
    return painter.end();
}

} // namespace

SlipPrintResult PrintSlipOnDefaultPrinter(const SlipReport& report) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return {SlipPrintStatus::NoPrinter, QString()};
    // Qt would hand the page to a queue that refuses it and call the print done.
    if (!PrintQueueAcceptsJobs(info.printerName()))
        return {SlipPrintStatus::NotStarted, info.printerName()};
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return {SlipPrintStatus::NoPrinter, info.printerName()};
    printer.setDocName(QStringLiteral("Bollettino"));
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFullPage(true);
    if (!PrepareSlipPage(printer) || !PaintOnePage(printer, report) ||
        printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted ||
        !LastPrintJobWasAccepted())
        return {SlipPrintStatus::NotStarted, info.printerName()};
    return {SlipPrintStatus::Printed, info.printerName()};
}

SlipPrintResult PrintSlipToPdf(const SlipReport& report, const QString& fileName) {
    QPdfWriter writer(fileName);
    writer.setResolution(PdfResolution);
    writer.setTitle(QStringLiteral("Bollettino"));
    writer.setCreator(QStringLiteral("Quotario"));
    if (!PrepareSlipPage(writer) || !PaintOnePage(writer, report))
        return {SlipPrintStatus::NotStarted, fileName};
    return {SlipPrintStatus::Printed, fileName};
}
