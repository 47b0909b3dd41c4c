#include "page/TestSheetPainter.h"

#include "page/SlipPainter.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace {

constexpr double MmPerInch = 25.4;
constexpr double LineMm = 0.2;    // outlines and scale ticks: thin, still seen against the light
constexpr double MarginMm = 12.0; // keeps the legend clear of most printers' unprintable border
constexpr double ScaleMm = 6.0;   // how far the scales reach into the sheet, numbers included

// Millimetres on the device.
struct MmScale {
    double x;
    double y;
    explicit MmScale(const QPaintDevice& device)
        : x(device.logicalDpiX() / MmPerInch), y(device.logicalDpiY() / MmPerInch) {}
};

QFont LegendFont(int pointSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    return font;
}

void DrawBoxOutlines(QPainter& painter, const SlipReport& report) {
    for (const SlipLabel& label : report.Labels())
        painter.drawRect(SlipLabelBox(*painter.device(), label));
}

// A tick at every millimetre from the sheet's edges, longer at every 5 and numbered at every 10.
void DrawScales(QPainter& painter, const MmScale& mm) {
    const QPaintDevice& device = *painter.device();
    painter.setFont(LegendFont(6));
    const QFontMetricsF metrics(painter.font(), &device);
    const auto tickLength = [](int at) { return at % 10 == 0 ? 4.0 : at % 5 == 0 ? 2.5 : 1.5; };
    for (int at = 1; at * mm.x < device.width(); ++at) {
        painter.drawLine(QPointF(at * mm.x, 0), QPointF(at * mm.x, tickLength(at) * mm.y));
        if (at % 10 == 0)
            painter.drawText(QPointF((at + 0.5) * mm.x, 4 * mm.y), QString::number(at));
    }
    for (int at = 1; at * mm.y < device.height(); ++at) {
        painter.drawLine(QPointF(0, at * mm.y), QPointF(tickLength(at) * mm.x, at * mm.y));
        if (at % 10 == 0)
            painter.drawText(QPointF(4.5 * mm.x, at * mm.y + metrics.capHeight() / 2),
                             QString::number(at));
    }
}

QString PlacementCaption(PaperPlacement placement) {
    switch (placement) {
    case PaperPlacement::Left:
        return QStringLiteral("Carta a sinistra");
    case PaperPlacement::Centre:
        return QStringLiteral("Carta al centro");
    case PaperPlacement::Right:
        return QStringLiteral("Carta a destra");
    case PaperPlacement::None:
        break;
    }
    return QStringLiteral("Nessuna posizione della carta");
}

// In the right-hand corner, above or below the slip, wherever it leaves more room.
void DrawLegend(QPainter& painter, const SlipReport& report, const TestSheetLegend& legend,
                const MmScale& mm) {
    const QPaintDevice& device = *painter.device();
    const QStringList lines = {
        QStringLiteral("Stampa di prova su carta bianca"),
        PlacementCaption(legend.placement),
        QStringLiteral("Correzione verticale: ") +
            QString::fromStdString(legend.verticalCorrection),
        QStringLiteral("Correzione orizzontale: ") +
            QString::fromStdString(legend.horizontalCorrection),
        QStringLiteral("1 passo = 0,26 mm"),
    };
    painter.setFont(LegendFont(9));
    const QFontMetricsF metrics(painter.font(), &device);
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    const double height = metrics.lineSpacing() * static_cast<double>(lines.size());

    double slipTop = device.height();
    double slipBottom = 0;
    for (const SlipLabel& label : report.Labels()) {
        const QRectF box = SlipLabelBox(device, label);
        slipTop = std::min(slipTop, box.top());
        slipBottom = std::max(slipBottom, box.bottom());
    }
    const bool below = device.height() - slipBottom >= slipTop - ScaleMm * mm.y;
    const double top = below ? device.height() - MarginMm * mm.y - height : MarginMm * mm.y;
    const double left = device.width() - MarginMm * mm.x - width;
    double baseline = top + metrics.ascent();
    for (const QString& line : lines) {
        painter.drawText(QPointF(left, baseline), line);
        baseline += metrics.lineSpacing();
    }
}

} // namespace

void PaintTestSheet(QPainter& painter, const SlipReport& report, const TestSheetLegend& legend) {
    const MmScale mm(*painter.device());
    painter.save();
    painter.setPen(QPen(Qt::black, LineMm * mm.x));
    painter.setBrush(Qt::NoBrush);
    DrawBoxOutlines(painter, report);
    DrawScales(painter, mm);
    DrawLegend(painter, report, legend, mm);
    painter.restore();
    PaintSlipReport(painter, report);
}
