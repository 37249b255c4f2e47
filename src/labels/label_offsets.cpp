// The offset buttons' rules.
#include "labels/label_offsets.h"

namespace qb::labels {

int inchesToPixels(double inches, double dpi) {
    return int(dpi * inches);
}

double pixelsToInches(int pixels, double dpi) {
    return pixels / dpi;
}

int minimumY(bool barcode, double dpi) {
    return barcode ? int(0.205 * dpi) : 1;
}

int barcodeY(double dpi) {
    return int(0.205 * dpi);
}

OffsetPixels offsetUp(OffsetPixels o, bool barcode, double dpi) {
    if (o.y - 2 > minimumY(barcode, dpi)) o.y -= 2;
    return o;
}

OffsetPixels offsetDown(OffsetPixels o) {
    o.y += 2;
    return o;
}

OffsetPixels offsetLeft(OffsetPixels o, bool repeating) {
    // The check looks one pixel further than the step, so the text never touches the edge.
    if (o.x - (repeating ? 5 : 2) >= 0) o.x -= repeating ? 4 : 1;
    return o;
}

OffsetPixels offsetRight(OffsetPixels o, bool repeating) {
    o.x += repeating ? 4 : 1;
    return o;
}

OffsetPixels offsetHome(bool barcode, double dpi) {
    return {5, barcode ? barcodeY(dpi) + 2 : 7};
}

OffsetPixels offsetForBarcode(OffsetPixels o, double dpi) {
    if (o.y <= kBarcodePictureHeight) o.y = barcodeY(dpi);
    return o;
}

}  // namespace qb::labels
