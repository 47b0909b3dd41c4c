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

bool PaintOnePage(QPagedPaintDevice& device, const SlipReport& report,
                  const SlipPagePainter& paint) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paint(painter, report);
    return painter.end();
}

// The whole PDF file in memory; nothing when the page could not be made.
std::optional<QByteArray> SlipPdf(const SlipReport& report, const SlipPagePainter& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(PdfResolution);
    writer.setTitle(QStringLiteral("Bollettino"));
    writer.setCreator(QStringLiteral("Quotario"));
    if (!PrepareSlipPage(writer) || !PaintOnePage(writer, report, paint))
        return std::nullopt;
    return buffer.data();
}

} // namespace

SlipPrintResult PrintSlipOnPrinter(const SlipReport& report, const QPrinterInfo& info,
                                   const SlipPagePainter& paint) {
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
    if (!PrepareSlipPage(printer) || !PaintOnePage(printer, report, paint) ||
        printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted ||
        !LastPrintJobWasAccepted())
        return {SlipPrintStatus::NotStarted, queue};
    return {SlipPrintStatus::Printed, queue, newestJob};
}

SlipPrintResult PrintSlipOnSystemPrinter(const SlipReport& report, const QString& printerName,
                                         const SlipPagePainter& paint) {
    // Asking Qt for a printer would wait a minute or two on a server that is stopped.
    if (!PrintServerAnswers())
        return {SlipPrintStatus::ServerNotAnswering, printerName};
    return PrintSlipOnPrinter(report,
                              printerName.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                    : QPrinterInfo::printerInfo(printerName),
                              paint);
}

SlipPrintResult PrintSlipToPdf(const SlipReport& report, const QString& fileName,
                               const SlipPagePainter& paint) {
    const SlipPrintResult notWritten{SlipPrintStatus::NotStarted, fileName};
    // Opening a FIFO would wait for a reader for ever; a directory or device is no PDF file.
    // A link to a file replaces the file it names, not the link.
    const QFileInfo existing(fileName);
    if (existing.exists() && !existing.isFile())
        return notWritten;
    const QString path = existing.exists() ? existing.canonicalFilePath() : fileName;
    const std::optional<QByteArray> pdf = SlipPdf(report, paint);
    if (!pdf || !ReplaceFileContent(path.toStdString(), std::string_view(pdf->data(), pdf->size())))
        return notWritten;
    return {SlipPrintStatus::Printed, fileName};
}
