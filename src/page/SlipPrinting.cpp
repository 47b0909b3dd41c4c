#include "page/SlipPrinting.h"

#include "page/PrintQueueState.h"
#include "page/SlipPainter.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

constexpr int PdfResolution = 1200; // the same dots per inch as a high-resolution printer

bool PaintOnePage(QPagedPaintDevice& device, const SlipReport& report,
                  const SlipPagePainter& paint) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paint(painter, report);
    return painter.end();
}

} // namespace

SlipPrintResult PrintSlipOnPrinter(const SlipReport& report, const QPrinterInfo& info,
                                   const SlipPagePainter& paint) {
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
    if (!PrepareSlipPage(printer) || !PaintOnePage(printer, report, paint) ||
        printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted ||
        !LastPrintJobWasAccepted())
        return {SlipPrintStatus::NotStarted, info.printerName()};
    return {SlipPrintStatus::Printed, info.printerName()};
}

SlipPrintResult PrintSlipOnDefaultPrinter(const SlipReport& report) {
    return PrintSlipOnPrinter(report, QPrinterInfo::defaultPrinter());
}

SlipPrintResult PrintSlipToPdf(const SlipReport& report, const QString& fileName,
                               const SlipPagePainter& paint) {
    QPdfWriter writer(fileName);
    writer.setResolution(PdfResolution);
    writer.setTitle(QStringLiteral("Bollettino"));
    writer.setCreator(QStringLiteral("Quotario"));
    if (!PrepareSlipPage(writer) || !PaintOnePage(writer, report, paint))
        return {SlipPrintStatus::NotStarted, fileName};
    return {SlipPrintStatus::Printed, fileName};
}
