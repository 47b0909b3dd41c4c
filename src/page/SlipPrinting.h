#pragma once
// Printing the slip page at once: on a printer (no dialog, no preview, one copy) or into a PDF
// file. Nothing here talks to the user; the status says what happened, so that a window can
// offer the PDF whenever the page did not reach the paper. What becomes of a job afterwards is
// for a PrintJobFollower.
#include "page/PrintSystem.h"
#include "page/SlipPainter.h"
#include "rules/SlipReport.h"

#include <QString>

#include <functional>
#include <optional>

enum class SlipPrintStatus {
    Printed,            // the page was handed to the printer (or written to the file)
    NoPrinter,          // there is no such printer: the system has no default printer
    NotStarted,         // the printer or file refused the page or the job: nothing was printed
    ServerNotAnswering, // the print server did not answer: nothing was handed over
};

struct SlipPrintResult {
    SlipPrintStatus status;
    QString target; // the printer's name or the file's path
    // Printed on a printer: where the print's own job can be found and followed
    // (PrintJobFollower); nothing when it cannot be.
    std::optional<PrintJobMark> mark = std::nullopt;
};

// Draws the page of a report on a device that PrepareSlipPage has set up: the slip itself
// (PaintSlipReport) or the same slip on a test sheet.
using SlipPagePainter = std::function<void(QPainter& painter, const SlipReport& report)>;

// The page goes to the printer of that name, or to the system's default printer when the name
// is empty, through the print system in use (CurrentPrintSystem), at the device's high
// resolution, A4 landscape, with no margins. A queue that does not accept jobs or whose
// printer is stopped gets nothing: the page is not started. The result comes as soon as the
// page is handed over: the job may still wait, print or fail. Every wait on a print server is
// bounded; the printer's look-up and the hand-over may still take some seconds on a server
// that stops answering, so a window calls this on a thread of its own: nothing here needs the
// window thread.
SlipPrintResult PrintSlipOnSystemPrinter(const SlipReport& report,
                                         const QString& printerName = QString(),
                                         const SlipPagePainter& paint = PaintSlipReport);

// The same page, written as a one-page PDF file. The file is replaced whole or not at all: on
// any failure an earlier file of that name stays as it was. A name that is not a regular file
// (a directory, a FIFO, a device) is refused without being opened.
SlipPrintResult PrintSlipToPdf(const SlipReport& report, const QString& fileName,
                               const SlipPagePainter& paint = PaintSlipReport);
