#include "page/SlipPainter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace {

// Converts layout units (1/96 inch from the band's corner) into the device's own units.
struct DeviceScale {
    double x;
    double y;
    double bandTop;

    explicit DeviceScale(const QPaintDevice& device)
        : x(device.logicalDpiX() / LayoutUnitsPerInch),
          y(device.logicalDpiY() / LayoutUnitsPerInch),
          bandTop(SlipBandTopMm / 25.4 * device.logicalDpiY()) {}

    double Left(double units) const { return units * x; }
    double Top(double units) const { return bandTop + units * y; }
};

// A carriage return starts a new line; line feeds print nothing.
QStringList TextLines(const std::string& text) {
    QString all = QString::fromStdString(text);
    all.remove(QLatin1Char('\n'));
    return all.split(QLatin1Char('\r'));
}

void DrawProportionalLine(QPainter& painter, const QFontMetricsF& metrics, const QString& line,
                          const SlipLabel& label, const DeviceScale& scale, double baseline) {
    double x = scale.Left(label.left);
    if (label.design->alignment == SlipAlignment::Right)
        x = scale.Left(label.left + label.design->width) - metrics.horizontalAdvance(line);
    painter.drawText(QPointF(x, baseline), line);
}

void DrawSpacedLine(QPainter& painter, const QFontMetricsF& metrics, const QString& line,
                    const SlipLabel& label, const DeviceScale& scale, double baseline) {
    const QList<uint> characters = line.toUcs4();
    if (characters.isEmpty())
        return;
    const SlipLabelDesign& design = *label.design;
    const double count = static_cast<double>(characters.size());
    double cell = SpacedCellWidth(design.pointSize);
    if (design.widthRule == SlipWidthRule::Fixed)
        cell = std::min(cell, design.width / count);
    double start = label.left;
    if (design.alignment == SlipAlignment::Right)
        start = label.left + design.width - cell * count;

    for (qsizetype i = 0; i < characters.size(); ++i) {
        const char32_t code = characters[i];
        const QString glyph = QString::fromUcs4(&code, 1);
        const double cellLeft = scale.Left(start + cell * static_cast<double>(i));
        const double advance = metrics.horizontalAdvance(glyph);
        painter.drawText(QPointF(cellLeft + (scale.Left(cell) - advance) / 2, baseline), glyph);
    }
}

void DrawLabel(QPainter& painter, const SlipLabel& label, const DeviceScale& scale) {
    if (label.text.empty())
        return;
    const SlipLabelDesign& design = *label.design;
    painter.save();
    painter.setFont(SlipLabelFont(design));
    const QFontMetricsF metrics(painter.font(), painter.device());
    if (design.widthRule == SlipWidthRule::Fixed)
        painter.setClipRect(SlipLabelBox(*painter.device(), label));

    double baseline = scale.Top(label.top) + metrics.ascent();
    for (const QString& line : TextLines(label.text)) {
        if (design.face == SlipFace::Spaziato)
            DrawSpacedLine(painter, metrics, line, label, scale, baseline);
        else
            DrawProportionalLine(painter, metrics, line, label, scale, baseline);
        baseline += metrics.lineSpacing();
    }
    painter.restore();
}

} // namespace

bool PrepareSlipPage(QPagedPaintDevice& device) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    const QPageLayout layout = device.pageLayout();
    return layout.pageSize().id() == QPageSize::A4 &&
           layout.orientation() == QPageLayout::Landscape && layout.margins().isNull();
}

QRectF SlipLabelBox(const QPaintDevice& device, const SlipLabel& label) {
    const DeviceScale scale(device);
    const SlipLabelDesign& design = *label.design;
    double width = design.width;
    if (design.widthRule == SlipWidthRule::FitsText && !label.text.empty()) {
        const QFontMetricsF metrics(SlipLabelFont(design), &device);
        double widest = 0;
        for (const QString& line : TextLines(label.text))
            widest = std::max(widest, design.face == SlipFace::Spaziato
                                          ? SpacedCellWidth(design.pointSize) *
                                                    static_cast<double>(line.toUcs4().size()) +
                                                1
                                          : metrics.horizontalAdvance(line) / scale.x);
        width = widest;
    }
    return QRectF(QPointF(scale.Left(label.left), scale.Top(label.top)),
                  QPointF(scale.Left(label.left + width), scale.Top(label.top + SlipLabelHeight)));
}

QFont SlipLabelFont(const SlipLabelDesign& design) {
    QFont font;
    if (design.face == SlipFace::Spaziato) {
#ifdef _WIN32
        font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
#else
        font.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
#endif
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    } else {
        font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPointSize(design.pointSize);
    font.setBold(true);
    return font;
}

void PaintSlipReport(QPainter& painter, const SlipReport& report) {
    const DeviceScale scale(*painter.device());
    painter.setPen(Qt::black);
    for (const SlipLabel& label : report.Labels())
        DrawLabel(painter, label, scale);
}
