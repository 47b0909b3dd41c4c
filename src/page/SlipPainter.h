#pragma once
// Draws the printed slip: only the 31 texts, each at its label's place, on any paged device
// (the default printer, a PDF file). The device must show the whole sheet with no margins, so
// that a position is a distance from the paper's edges: PrepareSlipPage does that.
//
// Faces: "Arial" in bold at the label's size (Liberation Sans where Arial itself is missing);
// the spaced face as a bold monospace face ("Courier New" on Windows) drawn one character per cell,
// each glyph centred in a cell 17 units wide at 10 pt and 16 at 9 pt.
//
// In each box the text's first line starts at the box's top; a carriage return starts a
// further line and line feeds are dropped. A box that fits its text starts it at its left; a
// right-aligned fixed box ends it at left + width. A fixed box never prints outside itself:
// a spaced text with more characters than the box has cells is drawn with narrower cells so
// that every character stays on paper (a cut amount would be a wrong amount), and whatever
// still reaches beyond the box is clipped at its edges.
#include "rules/SlipReport.h"

#include <QFont>
#include <QRectF>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// A4 landscape, zero margins, set one by one (a whole layout can be refused by a queue with
// minimum margins). False when the device did not take the landscape A4 page.
bool PrepareSlipPage(QPagedPaintDevice& device);

// The face a label is printed in, before the device's resolution is applied.
QFont SlipLabelFont(const SlipLabelDesign& design);

// The box a label prints in, in device units from the sheet's corner: at the label's place, one
// label high; a fixed box at its designed width, a box that fits its text at the text's width
// (a spaced text's cells and the one unit after them), or at its designed width while it has
// no text.
QRectF SlipLabelBox(const QPaintDevice& device, const SlipLabel& label);

// Draws every label of the report; the painter's origin is the sheet's top-left corner and
// device units are layout units x the device's resolution / 96.
void PaintSlipReport(QPainter& painter, const SlipReport& report);
