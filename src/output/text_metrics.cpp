// Font construction and device-independent text measurement.
#include "output/text_metrics.h"

#include "output/report_types.h"

#include <QImage>
#include <algorithm>
#include <cmath>

namespace qb {
namespace {

// Texts are measured on an image of 7200 pixels per inch, 100 pixels to the point.
constexpr int ReferenceDpi = 7200;

const QImage& referenceDevice() {
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = static_cast<int>(std::lround(ReferenceDpi / 0.0254));
        i.setDotsPerMeterX(dotsPerMeter);
        i.setDotsPerMeterY(dotsPerMeter);
        return i;
    }();
    return image;
}

}  // namespace

quint8 FontState::styleBits() const {
    return static_cast<quint8>((bold ? FontBold : 0) | (italic ? FontItalic : 0) |
                               (underline ? FontUnderline : 0) | (strikeOut ? FontStrikeOut : 0));
}

QFont deviceFont(const QString& family, double points, quint8 style, double pixelsPerInch,
                 int deviceDpi) {
    QFont f(family);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    // Qt turns points into pixels with the device's own resolution; asking for the scaled point
    // size keeps fractional pixel sizes, which a whole pixel size would lose at low zoom.
    const double scaled = points * pixelsPerInch / std::max(1, deviceDpi);
    f.setPointSizeF(std::max(0.01, scaled));
    f.setBold(style & FontBold);
    f.setItalic(style & FontItalic);
    f.setUnderline(style & FontUnderline);
    f.setStrikeOut(style & FontStrikeOut);
    return f;
}

TextMetrics::TextMetrics() {
    setFont(FontState{});
}

void TextMetrics::setFont(const FontState& font) {
    const QImage& device = referenceDevice();
    const QFont f =
        deviceFont(font.name, font.size, font.styleBits(), ReferenceDpi, device.logicalDpiY());
    metrics_.emplace(f, &device);
    ascent_ = metrics_->ascent() / ReferenceDpi;
    descent_ = metrics_->descent() / ReferenceDpi;
}

double TextMetrics::width(const QString& text) const {
    if (text.isEmpty()) return 0;
    return metrics_->horizontalAdvance(text) / ReferenceDpi;
}

}  // namespace qb
