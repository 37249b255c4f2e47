// Font construction and device-independent text measurement.
#include "output/text_metrics.h"

#include "output/report_types.h"

#include <algorithm>
#include <cmath>

namespace qb {
namespace {

// Texts are measured in a font whose em is 200 pixels, whatever the point size asked for.
// Glyph advances of fonts this size are cached by the font engine, which larger sizes are
// not, and without hinting they scale exactly; the rounding of an advance to 1/64 pixel
// stays below a thousandth of an inch for a line of 10-point text.
constexpr int ReferenceEm = 200;
constexpr int MaxCachedWidths = 2048;

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
    QFont f(font.name);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    f.setPixelSize(ReferenceEm);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    metrics_.emplace(f);
    inchesPerUnit_ = font.size / 72.0 / ReferenceEm;
    ascent_ = metrics_->ascent() * inchesPerUnit_;
    descent_ = metrics_->descent() * inchesPerUnit_;
    widths_.clear();
}

double TextMetrics::width(const QString& text) const {
    if (text.isEmpty()) return 0;
    const auto cached = widths_.constFind(text);
    if (cached != widths_.constEnd()) return *cached;
    if (widths_.size() >= MaxCachedWidths) widths_.clear();
    const double w = metrics_->horizontalAdvance(text) * inchesPerUnit_;
    widths_.insert(text, w);
    return w;
}

}  // namespace qb
