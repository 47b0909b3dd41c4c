#include "page/SlipPrinting.h"

#include "base/FileReplace.h"
#include "page/PrintQueueState.h"
#include "page/SlipPainter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <optional>

namespace {

constexpr int PdfResolution = 1200; // the same dots per inch as a high-resolution printer

bool PaintOnePage(QPagedPaintDevice& device, const SlipReport& report) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PaintSlipReport(painter, report);
    return painter.end();
}

// The whole PDF file in memory; nothing when the page could not be made.
std::optional<QByteArray> SlipPdf(const SlipReport& report) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(PdfResolution);
    writer.setTitle(QStringLiteral("Bollettino"));
    writer.setCreator(QStringLiteral("Quotario"));
    if (!PrepareSlipPage(writer) || !PaintOnePage(writer, report))
        return std::nullopt;
    return buffer.data();
}

} // namespace

SlipPrintResult PrintSlipOnPrinter(const SlipReport& report, const QPrinterInfo& info) {
    if (info.isNull())
        return {SlipPrintStatus::NoPrinter, QString()};
    const QString queue = info.printerName();
    // Qt would hand the page to a queue that refuses it and call the print done.
    if (!PrintQueueAcceptsJobs(queue))
        return {SlipPrintStatus::NotStarted, queue};
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return {SlipPrintStatus::NoPrinter, queue};
    printer.setDocName(QStringLiteral("Bollettino"));
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFullPage(true);
    const int newestJob = NewestPrintJob(queue);
    if (!PrepareSlipPage(printer) || !PaintOnePage(printer, report) ||
        printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted ||
        !LastPrintJobWasAccepted())
        return {SlipPrintStatus::NotStarted, queue};
    if (!PrintJobComesThrough(queue, newestJob))
        return {SlipPrintStatus::NotPrinted, queue};
    return {SlipPrintStatus::Printed, queue};
}

SlipPrintResult PrintSlipOnDefaultPrinter(const SlipReport& report) {
    // Asking Qt for the default printer would wait a minute or two on a server that is stopped.
    if (!PrintServerAnswers())
        return {SlipPrintStatus::ServerNotAnswering, QString()};
    return PrintSlipOnPrinter(report, QPrinterInfo::defaultPrinter());
}

SlipPrintResult PrintSlipToPdf(const SlipReport& report, const QString& fileName) {
    const SlipPrintResult notWritten{SlipPrintStatus::NotStarted, fileName};
    // Opening a FIFO would wait for a reader for ever; a directory or device is no PDF file.
    // A link to a file replaces the file it names, not the link.
    const QFileInfo existing(fileName);
    if (existing.exists() && !existing.isFile())
        return notWritten;
    const QString path = existing.exists() ? existing.canonicalFilePath() : fileName;
    const std::optional<QByteArray> pdf = SlipPdf(report);
    if (!pdf || !ReplaceFileContent(path.toStdString(), std::string_view(pdf->data(), pdf->size())))
        return notWritten;
    return {SlipPrintStatus::Printed, fileName};
}
