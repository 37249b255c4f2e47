// The feed placement table, the envelope-paper test, the size limits, the description check
// and the designer's pixels at each zoom.
#include <gtest/gtest.h>

#include "envelopes/envelope_geometry.h"

namespace {

using namespace qb::envelopes;

struct FeedCase {
    int facing, orient, stored;
    double x, y;
};

// Letter paper as oriented (8.5 by 11 portrait, 11 by 8.5 landscape), a 6.5 by 3.625 envelope.
TEST(FeedOffset, EveryFacingOrientationAndPositionFollowsTheTable) {
    const FeedCase cases[] = {
        // face up, portrait: the right feed shifts by the room, centre by half of it
        {FaceUp, Portrait, 0, 0, 0},
        {FaceUp, Portrait, 1, 2, 0},
        {FaceUp, Portrait, 2, 1, 0},
        // face down, portrait: left and right change places
        {FaceDown, Portrait, 0, 2, 0},
        {FaceDown, Portrait, 1, 0, 0},
        {FaceDown, Portrait, 2, 1, 0},
        // landscape: across by the whole room, down by the position
        {FaceUp, Landscape, 0, 4.5, 0},
        {FaceUp, Landscape, 1, 4.5, 4.875},
        {FaceUp, Landscape, 2, 4.5, 2.4375},
        {FaceDown, Landscape, 0, 4.5, 4.875},
        {FaceDown, Landscape, 1, 4.5, 0},
        {FaceDown, Landscape, 2, 4.5, 2.4375},
        // clockwise: no shift across, and left and right swap for printing
        {FaceUp, Landscape, 10, 0, 4.875},
        {FaceUp, Landscape, 11, 0, 0},
        {FaceUp, Landscape, 12, 0, 2.4375},
        {FaceDown, Landscape, 10, 0, 0},
        {FaceDown, Landscape, 11, 0, 4.875},
        {FaceDown, Landscape, 12, 0, 2.4375},
        // clockwise in portrait keeps the swapped side
        {FaceUp, Portrait, 10, 2, 0},
        // values outside the table give no shift
        {2, Portrait, 1, 0, 0},
        {FaceUp, 2, 1, 0, 0},
        {FaceUp, Portrait, 3, 0, 0},
        {FaceDown, Landscape, 13, 0, 0},
    };
    for (const FeedCase& c : cases) {
        const bool landscape = c.orient == Landscape;
        const Offset o = feedOffset(c.facing, c.orient, decodePrintPosition(c.stored),
                                    landscape ? 11 : 8.5, landscape ? 8.5 : 11, 6.5, 3.625);
        EXPECT_DOUBLE_EQ(o.x, c.x) << c.facing << ' ' << c.orient << ' ' << c.stored;
        EXPECT_DOUBLE_EQ(o.y, c.y) << c.facing << ' ' << c.orient << ' ' << c.stored;
    }
}

TEST(FeedOffset, UnprintableEdgesAddAndNegativeShiftsClampToZero) {
    const Feed centre{PosCentre, false};
    const Offset o = envelopeOffset(FaceUp, Portrait, centre, 8.5, 11, 6.5, 3.625, 0.25, 0.2);
    EXPECT_DOUBLE_EQ(o.x, 1.25);
    EXPECT_DOUBLE_EQ(o.y, 0.2);
    // An envelope wider than the paper would start left of it.
    const Offset wide =
        envelopeOffset(FaceUp, Landscape, {PosRight, false}, 8.5, 11, 9.5, 12, 0.1, 0.1);
    EXPECT_DOUBLE_EQ(wide.x, 0);
    EXPECT_DOUBLE_EQ(wide.y, 0);
}

TEST(FeedPosition, StoredAndPrintedDecodingDifferOnlyInTheClockwiseSides) {
    EXPECT_EQ(decodeStoredPosition(10).position, PosLeft);
    EXPECT_TRUE(decodeStoredPosition(10).clockwise);
    EXPECT_EQ(decodePrintPosition(10).position, PosRight);
    EXPECT_EQ(decodePrintPosition(11).position, PosLeft);
    EXPECT_EQ(decodePrintPosition(12).position, PosCentre);
    EXPECT_FALSE(decodePrintPosition(1).clockwise);
    EXPECT_EQ(decodePrintPosition(1).position, PosRight);
    EXPECT_EQ(encodePosition(decodeStoredPosition(11)), 11);
    EXPECT_EQ(encodePosition({PosCentre, true}), 12);
}

TEST(EnvelopePaper, SizesMatchToTheTruncatedTenth) {
    EXPECT_TRUE(paperIsEnvelope(9.5, 4.12, 9.5, 4.125));
    EXPECT_TRUE(paperIsEnvelope(9.59, 4.1, 9.5, 4.199));
    EXPECT_FALSE(paperIsEnvelope(9.5, 4.2, 9.5, 4.125));
    EXPECT_FALSE(paperIsEnvelope(9.49, 4.125, 9.5, 4.125));
    EXPECT_FALSE(paperIsEnvelope(8.5, 11, 9.5, 4.125));
    // A user size of 4.3 inches is a tenth-exact 43.
    EXPECT_TRUE(paperIsEnvelope(9.5, 4.3, 9.5, 4.3));
}

TEST(EnvelopeLimits, TwoInchesIsTheSmallestSizeInEitherUnit) {
    EXPECT_EQ(envelopeSizeFault(2.0, 2.0), QString());
    EXPECT_EQ(envelopeSizeFault(2.0, 1.99),
              QStringLiteral("Envelope Height must be at least 2 inches (50mm)"));
    EXPECT_EQ(envelopeSizeFault(1.99, 2.0),
              QStringLiteral("Envelope Width must be at least 2 inches (50mm)"));
    // Height is checked first.
    EXPECT_EQ(envelopeSizeFault(1, 1),
              QStringLiteral("Envelope Height must be at least 2 inches (50mm)"));
    EXPECT_NE(envelopeSizeFault(50 * kInchesPerMillimetre, 51 * kInchesPerMillimetre), QString());
    EXPECT_EQ(envelopeSizeFault(51 * kInchesPerMillimetre, 51 * kInchesPerMillimetre), QString());
}

TEST(SetupDescription, MustBeUsableAsASettingsKey) {
    EXPECT_EQ(setupDescriptionFault(QStringLiteral("   ")),
              QStringLiteral("Please enter a description for this Envelope Setup record"));
    EXPECT_EQ(setupDescriptionFault(QStringLiteral("Office #10")), QString());
    for (const char* bad : {"a=b", "two\nlines", "cr\rhere"})
        EXPECT_NE(setupDescriptionFault(QString::fromLatin1(bad)), QString()) << bad;
}

TEST(DesignerPixels, ZoomRoundTripsKeepWhatWasNotMoved) {
    EXPECT_EQ(inchesToPixels(4.3, 96), 412);
    EXPECT_EQ(inchesToPixels(0.25, 96), 24);
    EXPECT_EQ(inchesToPixels(3.167, 96), 304);
    EXPECT_EQ(zoomed(412, 75), 309);
    EXPECT_EQ(zoomed(101, 50), 50);
    // A block dragged to 37 pixels at 50 % sits at 74.
    EXPECT_EQ(unzoomed(37, 24, 50), 74);
    // Unmoved blocks keep their full-size pixels at every zoom, odd ones included.
    for (int zoom : kZoomChoices)
        for (int px : {101, 199, 304, 411})
            EXPECT_EQ(unzoomed(zoomed(px, zoom), px, zoom), px) << px << '@' << zoom;
    // Inches survive pixels: 4.3 is 412 pixels, which is 4.2917 inches, not 4.3.
    EXPECT_DOUBLE_EQ(pixelsToInches(412, 4.3, 96), 4.3);
    EXPECT_DOUBLE_EQ(pixelsToInches(3 * 96 + 48, 4.3, 96), 3.5);
    EXPECT_DOUBLE_EQ(pixelsToInches(304, 9.5 / 3, 96), 9.5 / 3);
}

}  // namespace
