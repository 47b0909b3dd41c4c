#pragma once
// Handing one page to a printer through Qt's own printing, on the calling thread: the part of a
// hand-over that is the same on every platform. Each print system adds what its service can
// tell beyond Qt (Qt hands a job over and forgets the answer).
#include "page/PrintSystem.h"

#include <QPrinterInfo>
#include <QString>

// The page at the printer's high resolution, A4 landscape, no margins, one copy, one-sided,
// under the document name that the print system later finds the job by. NoPrinter when Qt
// cannot open that printer; Refused when the page could not be started or finished.
PageHandOver HandPageToQtPrinter(const QPrinterInfo& printer, const QString& documentName,
                                 const PagePaint& paint);
