// Barcodes as drawing primitives: one vertical line per bar with the pen to draw it, in the
// units of whoever asked (inches for printing, pixels for the designer's picture). A renderer
// replays them with a pen and line drawing, nothing more.
#pragma once

#include <QString>
#include <vector>

namespace qb::labels {

// One bar: a vertical line at x from top down to bottom.
struct Bar {
    double x = 0;
    double top = 0;
    double bottom = 0;

    bool operator==(const Bar&) const = default;
};

struct BarFigure {
    double penWidth = 0;
    std::vector<Bar> bars;
    // The room the figure takes from its origin: the bars' pitch times their number across,
    // the tall bar's height down.
    double width = 0;
    double height = 0;
};

struct BarGeometry {
    double tallHeight;
    double shortHeight;  // short bars end on the tall bars' bottom line
    double pitch;
    double penWidth;
};

// The nominal POSTNET bar width is 0.018 inch; pens are set in whole hundredths of an inch and
// the width is truncated to them, so the bars print one hundredth wide.
inline constexpr double kNominalBarWidth = 0.018;
inline constexpr int kPenHundredths = static_cast<int>(kNominalBarWidth * 100);

// Printed bars, in inches.
inline constexpr BarGeometry kPrintedBars = {0.125, 0.0625, 0.045, kPenHundredths / 100.0};

// The printed barcode stands this far above the top of the address text, in inches.
inline constexpr double kBarcodeRise = 0.165;

// Lays out bars (true = tall) from an origin at the figure's top-left corner.
BarFigure layOutBars(const std::vector<bool>& tall, const BarGeometry& geometry, double x = 0,
                     double y = 0);

// The printed POSTNET barcode of a contact, in inches from its top-left corner; no bars when
// the ZIP does not qualify.
BarFigure postnetFigure(const QString& zip, const QString& street);

// The fixed picture the label designer shows where the barcode will print, in screen pixels
// from its top-left corner: 248 by 12, a real POSTNET code of a full ZIP+4 with delivery point.
BarFigure designerBarcodePicture();

}  // namespace qb::labels
