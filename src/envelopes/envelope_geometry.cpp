// Feed placement, the envelope-paper test, size limits and the designer's pixel arithmetic.
#include "envelopes/envelope_geometry.h"

#include <algorithm>
#include <cmath>

namespace qb::envelopes {

Feed decodeStoredPosition(int stored) {
    if (stored >= kClockwiseStep) return {stored - kClockwiseStep, true};
    return {stored, false};
}

Feed decodePrintPosition(int stored) {
    Feed f = decodeStoredPosition(stored);
    // A printer that turns landscape output the other way round puts the left edge of the
    // feed where the right one would be.
    if (f.clockwise && f.position == PosLeft) {
        f.position = PosRight;
    } else if (f.clockwise && f.position == PosRight) {
        f.position = PosLeft;
    }
    return f;
}

int encodePosition(const Feed& feed) {
    return feed.position + (feed.clockwise ? kClockwiseStep : 0);
}

Offset feedOffset(int facing, int orient, const Feed& feed, double pw, double ph, double ew,
                  double eh) {
    // The side of the feed that keeps the envelope's top edge against the paper's edge is
    // the near side for one facing and the far side for the other.
    const int far = facing == FaceUp ? PosRight : PosLeft;
    const int near = facing == FaceUp ? PosLeft : PosRight;
    auto along = [&](double room) {
        if (feed.position == far) return room;
        if (feed.position == PosCentre) return room / 2;
        return 0.0;
    };
    Offset o;
    if (facing != FaceUp && facing != FaceDown) return o;
    if (feed.position != far && feed.position != near && feed.position != PosCentre) return o;
    if (orient == Portrait) {
        o.x = along(pw - ew);
    } else if (orient == Landscape) {
        o.x = feed.clockwise ? 0 : pw - ew;
        o.y = along(ph - eh);
    }
    return o;
}

Offset envelopeOffset(int facing, int orient, const Feed& feed, double pw, double ph, double ew,
                      double eh, double unprintableLeft, double unprintableTop) {
    Offset o = feedOffset(facing, orient, feed, pw, ph, ew, eh);
    o.x = std::max(0.0, o.x + unprintableLeft);
    o.y = std::max(0.0, o.y + unprintableTop);
    return o;
}

bool paperIsEnvelope(double pw, double ph, double ew, double eh) {
    auto tenths = [](double inches) { return static_cast<long long>(inches * 10); };
    return tenths(pw) == tenths(ew) && tenths(ph) == tenths(eh);
}

QString envelopeSizeFault(double width, double height) {
    if (!(height >= kMinimumEnvelopeInches))
        return QStringLiteral("Envelope Height must be at least 2 inches (50mm)");
    if (!(width >= kMinimumEnvelopeInches))
        return QStringLiteral("Envelope Width must be at least 2 inches (50mm)");
    return {};
}

QString setupDescriptionFault(const QString& description) {
    if (description.trimmed().isEmpty()) return QString::fromLatin1(kDescriptionRequired);
    if (description.contains(u'=') || description.contains(u'\r') || description.contains(u'\n'))
        return QStringLiteral(
            "A setup description cannot hold \"=\" or a line break: the printer chosen for "
            "the setup is remembered under its description.");
    return {};
}

int inchesToPixels(double inches, int pixelsPerInch) {
    if (!std::isfinite(inches)) return 0;
    // Stored inches have three decimals; a product a hair below a whole pixel is that pixel.
    const double px = inches * pixelsPerInch;
    return static_cast<int>(px + (px >= 0 ? 1e-9 : -1e-9));
}

int zoomed(int pixels, int zoom) {
    return pixels * zoom / 100;
}

int unzoomed(int shown, int remembered, int zoom) {
    if (zoom <= 0) return remembered;
    if (zoomed(remembered, zoom) == shown) return remembered;
    return shown * 100 / zoom;
}

double pixelsToInches(int pixels, double originalInches, int pixelsPerInch) {
    if (inchesToPixels(originalInches, pixelsPerInch) == pixels) return originalInches;
    return double(pixels) / pixelsPerInch;
}

}  // namespace qb::envelopes
