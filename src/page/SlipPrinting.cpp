#include "page/SlipPrinting.h"

#include "base/FileReplace.h"
#include "page/SlipPainter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

#include <optional>

namespace {

constexpr int PdfResolution = 1200; // the same dots per inch as a high-resolution printer
// The print's name in the printer's queue, by which its job is found again.
constexpr const char* SlipDocumentName = "Bollettino";

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
    writer.setTitle(QString::fromUtf8(SlipDocumentName));
    writer.setCreator(QStringLiteral("Quotario"));
    if (!PrepareSlipPage(writer) || !PaintOnePage(writer, report, paint))
        return std::nullopt;
    return buffer.data();
}

} // namespace

SlipPrintResult PrintSlipOnSystemPrinter(const SlipReport& report, const QString& printerName,
                                         const SlipPagePainter& paint) {
    const std::shared_ptr<PrintSystem> system = CurrentPrintSystem();
    // Asking Qt for a printer would wait a minute or two on a server that is stopped.
    if (!system->ServerAnswers())
        return {SlipPrintStatus::ServerNotAnswering, printerName};
    std::optional<PrintJobMark> mark;
    // Qt would hand the page to a queue that refuses it and call the print done: once the
    // print system has found the queue, and before the page begins, the queue is asked.
    const PagePaint paintPage = [&report, &paint, &mark, &system](QPagedPaintDevice& device) {
        return (!mark || system->QueueAcceptsJobs(mark->queue)) &&
               PaintOnePage(device, report, paint);
    };
    const PageHandOverResult handed =
        system->HandOverPage(printerName, QString::fromUtf8(SlipDocumentName), paintPage, mark);
    const QString target = handed.queue.isEmpty() ? printerName : handed.queue;
    switch (handed.outcome) {
    case PageHandOver::HandedOver:
        return {SlipPrintStatus::Printed, target, mark};
    case PageHandOver::NoPrinter:
        return {SlipPrintStatus::NoPrinter, target};
    case PageHandOver::Refused:
        return {SlipPrintStatus::NotStarted, target};
    case PageHandOver::NoAnswer:
        break;
    }
    return {SlipPrintStatus::ServerNotAnswering, target};
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
