#pragma once
// The slip's page in Qt's print preview, drawn by the same painter as the print: the whole
// page at first, zoomable. Printing from the preview goes through Qt's print dialog, which
// starts at the printer the preview was opened for.
#include "rules/SlipReport.h"

class QWidget;

// Modal: returns when the preview closes. The page is the default printer's (Qt's own page
// when the system has no printer).
void ShowSlipPreview(QWidget* parent, const SlipReport& report);
