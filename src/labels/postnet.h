// POSTNET: which ZIP texts get a barcode, the digits it carries (ZIP, delivery point from the
// street, check digit) and the tall and short bars that encode them.
#pragma once

#include <QString>
#include <vector>

namespace qb::labels {

// A barcode is printed only for a ZIP text longer than four characters that lies between
// "00000" and "99999-9999" in character-code order (so postal codes starting with a letter
// never get one).
bool zipQualifiesForBarcode(const QString& zip);

// The two delivery-point digits read from a street line: the last number group that is not
// an ordinal street name, "99" when there is none or the address is military (APO, FPO).
QString deliveryPointDigits(const QString& street);

// The text the barcode encodes: the ZIP, plus the delivery-point digits when the ZIP has the
// full ten-character ZIP+4 form.
QString barcodeText(const QString& zip, const QString& street);

// The digit values of a text (every other character dropped), followed by the check digit
// that brings their sum to a multiple of ten.
std::vector<int> barcodeDigits(const QString& text);
int checkDigit(const QString& text);

// The bars from left to right, true for tall: a tall frame bar, five bars per digit, a tall
// frame bar. Digits outside 0 to 9 are not encoded.
std::vector<bool> postnetBars(const std::vector<int>& digits);

}  // namespace qb::labels
