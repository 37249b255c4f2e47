// Laying out barcode bars as lines.
#include "labels/bar_figure.h"

#include "labels/postnet.h"

namespace qb::labels {

namespace {

// 62 bars at a 4-pixel pitch fill the designer's 248-pixel picture exactly.
constexpr BarGeometry kDesignerBars = {12, 6, 4, 2};
// Any twelve-digit code serves; this one shows the pattern of every digit.
constexpr const char* kDesignerSample = "12345-678900";

}  // namespace

BarFigure layOutBars(const std::vector<bool>& tall, const BarGeometry& g, double x, double y) {
    BarFigure f;
    f.penWidth = g.penWidth;
    f.bars.reserve(tall.size());
    const double bottom = y + g.tallHeight;
    for (size_t i = 0; i < tall.size(); ++i) {
        // Positions from the index rather than by adding pitches, so 62 bars do not drift.
        double bx = x + double(i) * g.pitch;
        f.bars.push_back({bx, tall[i] ? y : bottom - g.shortHeight, bottom});
    }
    f.width = double(tall.size()) * g.pitch;
    f.height = g.tallHeight;
    return f;
}

BarFigure postnetFigure(const QString& zip, const QString& street) {
    if (!zipQualifiesForBarcode(zip)) return BarFigure{kPrintedBars.penWidth, {}, 0, 0};
    return layOutBars(postnetBars(barcodeDigits(barcodeText(zip, street))), kPrintedBars);
}

BarFigure designerBarcodePicture() {
    // Centred in each 4-pixel cell so the 2-pixel pens stay inside the picture.
    return layOutBars(postnetBars(barcodeDigits(QString::fromLatin1(kDesignerSample))),
                      kDesignerBars, kDesignerBars.pitch / 2, 0);
}

}  // namespace qb::labels
