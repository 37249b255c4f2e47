// The arithmetic of envelopes, free of windows and printers: where the feed method puts the
// envelope on the printer's paper, when the paper is the envelope itself, the size limits of
// a definition, and the designer's pixels at each zoom.
#pragma once

#include <QString>

namespace qb::envelopes {

enum Facing : int { FaceUp = 0, FaceDown = 1 };
enum Orient : int { Portrait = 0, Landscape = 1 };
enum Position : int { PosLeft = 0, PosRight = 1, PosCentre = 2 };
// Added to the stored position when the printer turns landscape output the other way round.
inline constexpr int kClockwiseStep = 10;

// A stored POSITION split into the side the envelope is fed at and the clockwise flag. For
// printing, a clockwise left or right feed lands on the other side, so they swap there.
struct Feed {
    int position = PosCentre;
    bool clockwise = false;
};
Feed decodeStoredPosition(int stored);
Feed decodePrintPosition(int stored);
int encodePosition(const Feed& feed);

struct Offset {
    double x = 0;
    double y = 0;
};

// Where the envelope's top-left corner lies on paper of pageWidth by pageHeight inches, as
// the feed table has it (before the device's unprintable edges). Combinations outside the
// table give no shift.
Offset feedOffset(int facing, int orient, const Feed& printFeed, double pageWidth,
                  double pageHeight, double envWidth, double envHeight);

// The same, moved by the device's unprintable edges and never negative: the shift every block
// of the envelope is printed with.
Offset envelopeOffset(int facing, int orient, const Feed& printFeed, double pageWidth,
                      double pageHeight, double envWidth, double envHeight, double unprintableLeft,
                      double unprintableTop);

// Paper that matches the envelope to a tenth of an inch (both truncated) is the envelope: the
// driver's paper list rounds envelope sizes.
bool paperIsEnvelope(double pageWidth, double pageHeight, double envWidth, double envHeight);

// ---- Definitions -----------------------------------------------------------------------
inline constexpr double kMinimumEnvelopeInches = 2.0;
inline constexpr double kInchesPerMillimetre = 0.0393700787401575;

// The first limit a size in inches breaks, as the message the user reads; empty when none.
QString envelopeSizeFault(double widthInches, double heightInches);

// ---- Setups ----------------------------------------------------------------------------
inline constexpr const char* kDescriptionRequired =
    "Please enter a description for this Envelope Setup record";
// Why a description cannot name a setup: empty (trimmed), or holding a character that cannot
// stand in a settings key, which would lose the setup's printer choice. Empty when it can.
QString setupDescriptionFault(const QString& description);

// ---- The designer's pixels -------------------------------------------------------------
inline constexpr int kZoomChoices[] = {100, 75, 50};

// Inches as whole screen pixels at full size (truncated).
int inchesToPixels(double inches, int pixelsPerInch);
// A full-size pixel value as shown at a zoom (truncated).
int zoomed(int pixels, int zoom);
// The full-size position of a block shown at `shown` pixels. A block the user did not move
// keeps the full-size value it had, so switching zoom and saving never moves it.
int unzoomed(int shown, int remembered, int zoom);
// Pixels back to inches. Where the pixels are still those the original inches gave, the
// original is kept, so a setup opened and saved unchanged keeps its values exactly.
double pixelsToInches(int pixels, double originalInches, int pixelsPerInch);

}  // namespace qb::envelopes
