// The Intelligent Mail barcode: validating the tracking and routing codes, and the 65 bars of
// four states that carry them.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace qb::labels {

// The parts of the tracking code a mailer chooses; the serial number fills it to twenty digits.
struct ImbTracking {
    QString barcodeId;    // two digits, the second 0 to 4
    QString serviceType;  // three digits
    QString mailerId;     // six digits, or nine starting with 9
    QString serial;       // nine digits after a six-digit mailer identifier, else six

    QString code() const { return barcodeId + serviceType + mailerId + serial; }
};

// How many digits the serial number has beside a mailer identifier of that length.
int imbSerialDigits(const QString& mailerId);

// Why these codes cannot be encoded; empty when they can. The routing code is empty or has
// 5, 9 or 11 digits (ZIP, ZIP+4, ZIP+4 and delivery point).
QString imbRefusal(const ImbTracking& tracking, const QString& routing);

// The frame check sequence of a 20-digit tracking code and a valid routing code: the 11-bit
// cyclic check over the 102-bit value the two make.
unsigned imbFrameCheck(const QString& tracking, const QString& routing);

// The bars from left to right, one letter each: F full, A ascender, D descender, T tracker.
// Empty when the codes are refused.
QString imbBars(const QString& tracking, const QString& routing);

// The routing code of a contact, as its POSTNET barcode would carry it: the five ZIP digits,
// the ZIP+4, and the delivery point from the street when the ZIP is complete; empty when the
// ZIP does not qualify for a barcode.
QString imbRoutingCode(const QString& zip, const QString& street);

}  // namespace qb::labels
