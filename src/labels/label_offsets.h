// How the designer moves the text block: offsets kept in whole screen pixels, the steps of
// the five offset buttons and their limits.
#pragma once

namespace qb::labels {

struct OffsetPixels {
    int x = 0;
    int y = 0;

    bool operator==(const OffsetPixels&) const = default;
};

// Loading keeps whole pixels only; saving turns them back into inches.
int inchesToPixels(double inches, double dpi);
double pixelsToInches(int pixels, double dpi);

// The lowest y the text may take: with the barcode the bars need 0.205 inch above the text.
int minimumY(bool barcode, double dpi);
// The y the barcode check box moves the text to when the text sits too high for the bars.
int barcodeY(double dpi);
// The height of the designer's barcode picture: text this high or higher leaves no room.
inline constexpr int kBarcodePictureHeight = 12;

// Each button's effect; `repeating` is true from the first repeat of a held button on.
OffsetPixels offsetUp(OffsetPixels o, bool barcode, double dpi);
OffsetPixels offsetDown(OffsetPixels o);
OffsetPixels offsetLeft(OffsetPixels o, bool repeating);
OffsetPixels offsetRight(OffsetPixels o, bool repeating);
OffsetPixels offsetHome(bool barcode, double dpi);
// Checking the barcode box: a text block at the picture's height or higher moves down.
OffsetPixels offsetForBarcode(OffsetPixels o, double dpi);

// The timing of the held buttons, in milliseconds: the first repeat, then every.
struct RepeatTiming {
    int first;
    int every;
};
inline constexpr RepeatTiming kUpDownTiming = {50, 25};
inline constexpr RepeatTiming kLeftRightTiming = {100, 5};
inline constexpr RepeatTiming kFontSizeTiming = {500, 50};

// Font size buttons step by one point within these limits.
inline constexpr int kSmallestFontSize = 6;
inline constexpr int kLargestFontSize = 36;

}  // namespace qb::labels
