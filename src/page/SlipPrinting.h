#pragma once
// Printing the slip page at once: on the system's default printer (no dialog, no preview, one
// copy) or into a PDF file. Nothing here talks to the user; the status says what happened, so
// that a window can offer the PDF when there is no printer or the job could not be started.
#include "page/SlipPainter.h"
#include "rules/SlipReport.h"

#include <QString>

#include <functional>

class QPrinterInfo;

enum class SlipPrintStatus {
    Printed,    // the page was handed to the printer (or written to the file)
    NoPrinter,  // the system has no default printer
    NotStarted, // the printer or file refused the page or the job: nothing was printed
};

struct SlipPrintResult {
    SlipPrintStatus status;
    QString target; // the printer's name or the file's path
};

// Draws the page of a report on a device that PrepareSlipPage has set up: the slip itself
// (PaintSlipReport) or the same slip on a test sheet.
using SlipPagePainter = std::function<void(QPainter& painter, const SlipReport& report)>;

// The page goes to the printer at the device's high resolution, A4 landscape, with no margins;
// a null printer is no printer. A queue that does not accept jobs or whose printer is stopped
// gets nothing: the page is not started. A job that the print system accepted and that fails
// later on the printer is the print system's to report.
SlipPrintResult PrintSlipOnPrinter(const SlipReport& report, const QPrinterInfo& printer,
                                   const SlipPagePainter& paint = PaintSlipReport);

// The same, on the system's default printer.
SlipPrintResult PrintSlipOnDefaultPrinter(const SlipReport& report);

// The same page, written as a one-page PDF file (replaced if it exists).
SlipPrintResult PrintSlipToPdf(const SlipReport& report, const QString& fileName,
                               const SlipPagePainter& paint = PaintSlipReport);
