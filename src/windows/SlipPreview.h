#pragma once
// The slip's page in Qt's print preview, drawn by the same painter as the print: the whole
// page at first, zoomable. "Stampa" in the preview asks for the designed print on the default
// printer, which the caller then runs with its checks and messages.
#include "rules/SlipReport.h"

class QWidget;

// Modal: returns when the preview closes, true when the user asked for the print. The page is
// the default printer's (Qt's own page when the system has no printer).
bool ShowSlipPreview(QWidget* parent, const SlipReport& report);
