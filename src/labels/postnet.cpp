// The POSTNET digits and bars.
#include "labels/postnet.h"

#include <array>

#include "labels/ascii_upper.h"

namespace qb::labels {

namespace {

// Two tall bars of five per digit (T tall, s short).
constexpr std::array<const char*, 10> kDigitBars = {"TTsss", "sssTT", "ssTsT", "ssTTs", "sTssT",
                                                    "sTsTs", "sTTss", "TsssT", "TssTs", "TsTss"};

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isOrdinalSuffix(const QString& s, qsizetype i) {
    if (i + 1 >= s.size()) return false;
    QStringView two = QStringView(s).mid(i, 2);
    return two == u"ST" || two == u"ND" || two == u"RD" || two == u"TH";
}

}  // namespace

bool zipQualifiesForBarcode(const QString& zip) {
    return zip.size() > 4 && zip >= QStringLiteral("00000") && zip <= QStringLiteral("99999-9999");
}

QString deliveryPointDigits(const QString& street) {
    const QString s = asciiUpper(street);
    if (s.contains(u"APO") || s.contains(u"FPO")) return QStringLiteral("99");

    // Read from the end, so the number nearest the end of the line (the apartment, or else the
    // house number) is the one that counts.
    QChar tens = u' ', units = u' ';
    bool haveUnits = false, haveTens = false, afterSlash = false, afterSuffix = false;
    for (qsizetype i = s.size() - 1; i >= 0; --i) {
        const QChar c = s[i];
        if (isDigit(c)) {
            if (afterSlash || afterSuffix || (haveUnits && haveTens)) continue;
            if (!haveUnits) {
                units = c;
                haveUnits = true;
            } else {
                tens = c;
                haveTens = true;
            }
        } else if (c == u' ') {
            if (haveUnits) break;
            afterSlash = afterSuffix = false;
        } else if (c == u'/' && haveUnits) {
            // The digits behind a fraction's slash are the fraction; the house number stands
            // in front of it.
            afterSlash = true;
            haveUnits = haveTens = false;
            tens = units = u' ';
        } else if (haveUnits && !haveTens) {
            // A letter in front of a single digit (A5) ends the number.
            tens = u'0';
            haveTens = true;
        } else if (isOrdinalSuffix(s, i)) {
            // The digits of 42ND or 5TH name the street, not the house.
            afterSuffix = true;
        }
    }
    if (!haveUnits) return QStringLiteral("99");
    if (!haveTens) tens = u'0';
    return QString(tens) + units;
}

QString barcodeText(const QString& zip, const QString& street) {
    if (zip.size() == 10) return zip + deliveryPointDigits(street);
    return zip;
}

int checkDigit(const QString& text) {
    int sum = 0;
    for (QChar c : text)
        if (isDigit(c)) sum += c.unicode() - u'0';
    return (10 - sum % 10) % 10;
}

std::vector<int> barcodeDigits(const QString& text) {
    std::vector<int> digits;
    for (QChar c : text)
        if (isDigit(c)) digits.push_back(c.unicode() - u'0');
    digits.push_back(checkDigit(text));
    return digits;
}

std::vector<bool> postnetBars(const std::vector<int>& digits) {
    std::vector<bool> bars;
    bars.reserve(digits.size() * 5 + 2);
    bars.push_back(true);
    for (int d : digits) {
        if (d < 0 || d > 9) continue;
        for (const char* p = kDigitBars[size_t(d)]; *p; ++p)
            bars.push_back(*p == 'T');
    }
    bars.push_back(true);
    return bars;
}

}  // namespace qb::labels
